// SURE to convergence with its final pass: 5 equations of 4 regressors each (an intercept
// shared by all and 3 regressors of their own, 16 predetermined variables), errors
// correlated across equations, over 500 and 3000 observations; unrestricted, and with two
// restrictions across equations (A2 = B2, B3 = C3).
#include <benchmark/benchmark.h>

#include <vector>

#include "benchmarks/benchmark_workspace.h"
#include "engine/multi/restriction_setup.h"
#include "engine/multi/sure_model.h"

namespace {

using namespace qorv;

constexpr int kEquations = 5;
constexpr int kOwn = 3;
// Variables: 1..5 the dependent variables, 6 the intercept, then 3 regressors per equation.
constexpr int kVariables = kEquations + 1 + kEquations * kOwn;

struct System {
  std::vector<double> values;
  multi::SureLayout layout;
};

System make_system(int n) {
  bench::Uniform uniform;
  System s;
  s.values.assign(static_cast<std::size_t>(n) * kVariables, 0.0);
  const auto at = [&](int v, int t) -> double& { return s.values[static_cast<std::size_t>((v - 1) * n + t)]; };
  for (int t = 0; t < n; ++t) {
    at(kEquations + 1, t) = 1.0;
    for (int v = kEquations + 2; v <= kVariables; ++v) at(v, t) = 10.0 * uniform();
    const double common = uniform();
    for (int i = 0; i < kEquations; ++i) {
      double y = 1.0 + i + (1.0 + i) * common + 0.3 * uniform();
      for (int j = 0; j < kOwn; ++j) y += (0.2 + 0.1 * j) * at(kEquations + 2 + i * kOwn + j, t);
      at(i + 1, t) = y;
    }
  }
  for (int i = 0; i < kEquations; ++i) {
    std::vector<int> eq = {i + 1, kEquations + 1};
    for (int j = 0; j < kOwn; ++j) eq.push_back(kEquations + 2 + i * kOwn + j);
    s.layout.equations.push_back(eq);
  }
  s.layout.first = 1;
  s.layout.n = n;
  return s;
}

void sure(benchmark::State& state) {
  const System s = make_system(static_cast<int>(state.range(0)));
  const multi::DataView data{s.values, s.layout.n};
  multi::SureFit fit;
  for (auto _ : state) {
    multi::fit_sure(data, s.layout, {}, nullptr, fit);
    benchmark::DoNotOptimize(fit.b.data());
  }
  state.counters["iterations"] = fit.iterations;
}
BENCHMARK(sure)->Arg(500)->Arg(3000)->Unit(benchmark::kMillisecond);

multi::SureRestrictions cross_equation_restrictions() {
  constexpr int p = kEquations * (kOwn + 1);
  multi::SureRestrictions r;
  r.q = 2;
  r.R.assign(2 * p, 0.0);
  const auto set = [&](int row, int column, double value) { r.R[static_cast<std::size_t>(row + 2 * column)] = value; };
  set(0, 1, 1.0);  // A2 - B2 = 0
  set(0, (kOwn + 1) + 1, -1.0);
  set(1, (kOwn + 1) + 2, 1.0);  // B3 - C3 = 0
  set(1, 2 * (kOwn + 1) + 2, -1.0);
  r.r = {0.0, 0.0};
  multi::RestrictionPartition partition;
  multi::restriction_partition(r.R, r.r, r.q, p, partition);
  r.N = partition.null_space;
  return r;
}

void restricted_sure(benchmark::State& state) {
  const System s = make_system(static_cast<int>(state.range(0)));
  const multi::DataView data{s.values, s.layout.n};
  const multi::SureRestrictions restrictions = cross_equation_restrictions();
  multi::SureFit fit;
  for (auto _ : state) {
    multi::fit_sure(data, s.layout, restrictions, nullptr, fit);
    benchmark::DoNotOptimize(fit.b.data());
  }
  state.counters["iterations"] = fit.iterations;
}
BENCHMARK(restricted_sure)->Arg(500)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
