// Whole requests as the estimation window makes them, each from the presets to the
// engine's return with every dialogue answered by the scripted stand-in, so that what a
// request costs beyond its arithmetic shows:
// - least squares of Y on an intercept and three regressors, 200 observations, to the
//   results page and back to the window;
// - the cointegration rank tests of a VAR(2) of five random walks, 500 observations,
//   unrestricted intercepts;
// - iterated SURE of five equations of four regressors each, 500 observations;
// - a VAR(2) of four variables with an intercept, 500 observations, and the
//   orthogonalised impulse responses to a shock in the first equation to horizon 20;
// - a batch file of formulas of 100, 1000 and 12,000 lines over 3100 observations, read
//   through the command editor: a line should cost the same whatever the file's length.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "benchmarks/benchmark_workspace.h"
#include "benchmarks/request_road.h"

namespace {

using namespace qorv;

constexpr int kAction = slots::kActionPreset;

/// Variables named `prefix`1.. whose values `next(v, t)` gives, and an intercept INPT.
template <typename Next>
bench::RoadData make_data(const std::string& prefix, int vars, int nobs, Next next) {
  bench::RoadData d;
  d.nobs = nobs;
  for (int v = 1; v <= vars; ++v) {
    d.names.push_back(prefix + std::to_string(v));
    for (int t = 0; t < nobs; ++t) d.values.push_back(next(v, t));
  }
  d.names.push_back("INPT");
  d.values.insert(d.values.end(), static_cast<std::size_t>(nobs), 1.0);
  return d;
}

void run(benchmark::State& state, const bench::RoadData& d, const bench::RoadRequest& r) {
  if (!bench::load_road_data(d)) return state.SkipWithError("the data set was refused");
  bench::run_road_request(state, r);
}

void ols_request(benchmark::State& state) {
  bench::Uniform uniform;
  bench::RoadData d = make_data("X", 4, 200, [&](int v, int) { return 10.0 * v + uniform(); });
  d.names[0] = "Y";
  run(state, d,
      {{{kAction, 2}, {slots::kSingleEqPreset, 1}, {slots::kMethodPreset, 1}},
       "1 200",
       "Y INPT X2 X3 X4",
       "strict\n"
       "results -> close\n"
       "menu 1002 -> 0\n"
       "menu 1004 -> 1\n"});
}
BENCHMARK(ols_request)->Unit(benchmark::kMicrosecond);

void johansen_request(benchmark::State& state) {
  bench::Uniform uniform;
  std::vector<double> level(6, 0.0);
  const bench::RoadData d = make_data("X", 5, 500, [&](int v, int t) {
    if (t == 0) level[static_cast<std::size_t>(v)] = 0.0;
    return level[static_cast<std::size_t>(v)] += uniform();
  });
  run(state, d,
      {{{kAction, 3}, {slots::kSystemPreset, 2}},
       "1 500",
       "X1 X2 X3 X4 X5",
       "strict\n"
       "menu 1025 -> 3\n"
       "integer \"Order of the VAR\" -> 2\n"
       "results -> close\n"
       "menu 1026 -> 0\n"
       "menu 1004 -> 1\n"});
}
BENCHMARK(johansen_request)->Unit(benchmark::kMicrosecond);

void sure_request(benchmark::State& state) {
  constexpr int kEquations = 5, kOwn = 3, n = 500;
  // Y1..Y5 and X1..X15, each equation on the intercept and three regressors of its own,
  // errors correlated across equations.
  bench::Uniform uniform;
  std::vector<double> x(static_cast<std::size_t>(kEquations * kOwn * n));
  for (double& v : x) v = 10.0 * uniform();
  std::vector<double> y(static_cast<std::size_t>(kEquations * n));
  for (int t = 0; t < n; ++t) {
    const double common = uniform();
    for (int i = 0; i < kEquations; ++i) {
      double value = 1.0 + i + (1.0 + i) * common + 0.3 * uniform();
      for (int j = 0; j < kOwn; ++j) value += (0.2 + 0.1 * j) * x[static_cast<std::size_t>((i * kOwn + j) * n + t)];
      y[static_cast<std::size_t>(i * n + t)] = value;
    }
  }
  bench::RoadData d = make_data("Y", kEquations, n, [&](int v, int t) { return y[static_cast<std::size_t>((v - 1) * n + t)]; });
  std::string system;
  for (int i = 0; i < kEquations; ++i) {
    if (i > 0) system += "; ";
    system += "Y" + std::to_string(i + 1) + " INPT";
    for (int j = 0; j < kOwn; ++j) {
      const int k = i * kOwn + j + 1;
      system += " X" + std::to_string(k);
      d.names.push_back("X" + std::to_string(k));
    }
  }
  d.values.insert(d.values.end(), x.begin(), x.end());
  run(state, d,
      {{{kAction, 3}, {slots::kSystemPreset, 3}},
       "1 500",
       system,
       "strict\n"
       "menu 1043 -> 3\n"
       "results -> close\n"
       "menu 1043 -> 0\n"
       "menu 1032 -> 0\n"});
}
BENCHMARK(sure_request)->Unit(benchmark::kMicrosecond);

void var_responses_request(benchmark::State& state) {
  constexpr int m = 4, n = 500;
  // A stable VAR(1) with pseudo-random shocks.
  bench::Uniform uniform;
  std::vector<double> y(static_cast<std::size_t>(m * n), 0.0);
  for (int t = 1; t < n; ++t)
    for (int i = 0; i < m; ++i) {
      double value = uniform();
      for (int j = 0; j < m; ++j) value += (i == j ? 0.5 : 0.05) * y[static_cast<std::size_t>(j * n + t - 1)];
      y[static_cast<std::size_t>(i * n + t)] = value;
    }
  const bench::RoadData d = make_data("X", m, n, [&](int v, int t) { return y[static_cast<std::size_t>((v - 1) * n + t)]; });
  run(state, d,
      {{{kAction, 3}, {slots::kSystemPreset, 1}, {slots::kVarOrderPreset, 2}},
       "1 500",
       "X1 X2 X3 X4 & INPT",
       "strict\n"
       "menu 1044 -> 3\n"
       "menu 1021 -> 1\n"
       "menu \"equation to be shocked\" -> \"X1\"\n"
       "integer \"Horizon\" -> 20\n"
       "results -> close\n"
       "menu 1024 -> 0\n"
       "menu 1021 -> 0\n"
       "menu 1044 -> 0\n"
       "menu 1004 -> 1\n"});
}
BENCHMARK(var_responses_request)->Unit(benchmark::kMicrosecond);

void formula_batch(benchmark::State& state) {
  const auto lines = static_cast<int>(state.range(0));
  constexpr int n = limits::kMaxObs;
  bench::Uniform uniform;
  const bench::RoadData d = make_data("X", 3, n, [&](int, int) { return 10.0 * uniform() + 5.0; });
  if (!bench::load_road_data(d)) return state.SkipWithError("the data set was refused");
  const auto file = std::filesystem::temp_directory_path() /
                    ("zv-formula-batch-" + std::to_string(::getpid()) + "-" + std::to_string(lines) + ".bat");
  {
    std::ofstream out(file);
    for (int i = 0; i < lines; ++i)
      out << "Z" << i % 10 + 1 << " = LOG(X1)*2.5 + SQRT(ABS(X2)) - X1(-1)/X3 + MAX(X2, X3)^2\n";
  }
  bench::run_road_request(state, {{{kAction, 1}, {slots::kDataProcessingPreset, 2}},
                                  "1 " + std::to_string(n),
                                  "BATCH " + file.string(),
                                  "results -> close\n"});
  std::filesystem::remove(file);
  state.counters["per_line"] =
      benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(formula_batch)->Arg(100)->Arg(1000)->Arg(12000)->Unit(benchmark::kMillisecond);

}  // namespace
