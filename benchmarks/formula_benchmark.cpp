// Formulas over long samples: one compiled formula of 11 operations, the trend filter and
// the moving average over 100,000 rows on the benchmark's own buffers, and the formula on
// a full 3100 × 40 workspace with the command interpreter's capacity.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/data/formula_evaluator.h"
#include "shared/exchange_slots.h"

namespace {

using namespace qorv::data;

constexpr const char* kFormula = "LOG(X1)*2.5 + SQRT(ABS(X2)) - X1(-1)/X3 + MAX(X2, X3)^2";

/// Variables X1, X2, X3, ... of `rows` pseudo-random values: 1% missing, zeros in X3.
struct Columns {
  std::vector<std::string> names;
  std::vector<double> data;
  int rows;
  Columns(int rows_, int vars) : data(static_cast<std::size_t>(rows_) * vars), rows(rows_) {
    unsigned state = 20261211u;
    const auto uniform = [&state] {
      state = state * 1664525u + 1013904223u;
      return (state >> 8) * (1.0 / 16777216.0);
    };
    for (int v = 0; v < vars; ++v) {
      names.push_back("X" + std::to_string(v + 1));
      for (int t = 0; t < rows; ++t) {
        const double u = uniform();
        double x = 10.0 * uniform() - 2.0;
        if (u < 0.01) x = limits::kMissing;
        else if (v == 2 && u < 0.05) x = 0.0;
        data[static_cast<std::size_t>(v) * rows + t] = x;
      }
    }
  }
  FormulaData view() const {
    return {data, rows, static_cast<int>(names.size()), {}, limits::kMissing};
  }
};

void run(benchmark::State& state, const Columns& c, const std::string& formula, int capacity) {
  const CompileResult compiled = compile_formula(formula, {c.names, {}});
  if (compiled.status != FormulaStatus::kOk) return state.SkipWithError("not compiled");
  std::vector<double> result(static_cast<std::size_t>(c.rows));
  FormulaScratch scratch;
  for (auto _ : state) {
    if (evaluate_formula(compiled.program, c.view(), 1, c.rows, result, scratch, capacity) !=
        FormulaStatus::kOk)
      return state.SkipWithError("not evaluated");
    benchmark::DoNotOptimize(result.data());
  }
  state.SetItemsProcessed(state.iterations() * c.rows);
}

void Formula100k(benchmark::State& state) {
  static const Columns c(100000, 3);
  run(state, c, kFormula, 20);
}
BENCHMARK(Formula100k)->Unit(benchmark::kMillisecond);

void TrendFilter100k(benchmark::State& state) {
  static const Columns c = [] {
    Columns k(100000, 1);
    for (double& x : k.data) if (x == limits::kMissing) x = 1.0;
    return k;
  }();
  run(state, c, "HPF(X1, 1600)", 20);
}
BENCHMARK(TrendFilter100k)->Unit(benchmark::kMillisecond);

void MovingAverage100k(benchmark::State& state) {
  static const Columns c(100000, 1);
  run(state, c, "MAV(X1, 12)", 20);
}
BENCHMARK(MovingAverage100k)->Unit(benchmark::kMillisecond);

void FormulaFullWorkspace(benchmark::State& state) {
  static const Columns c(limits::kMaxObs, 40);
  run(state, c, kFormula, formula_stack_capacity(FormulaCaller::kCommands, limits::kMaxObs, 40));
}
BENCHMARK(FormulaFullWorkspace)->Unit(benchmark::kMicrosecond);

}  // namespace
