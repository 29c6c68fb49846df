// Recursive and rolling least squares over the longest sample: the whole recursive run
// (every step solved afresh, with the coefficient standard errors) and rolling windows,
// each window from its own cross products. Levels-like data: an intercept and regressors
// around 10·j with unit noise, so the cross products are as badly conditioned as a
// user's levels data.
#include <benchmark/benchmark.h>

#include "engine/single/recursive_rolling.h"

namespace {

using namespace qorv;

single::EquationData levels_data(int n, int k) {
  single::EquationData eq;
  eq.n = n;
  eq.k = k;
  unsigned state = 12345u;
  const auto uniform = [&state] {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) * (1.0 / 16777216.0) - 0.5;
  };
  for (int j = 0; j < k; ++j)
    for (int t = 0; t < n; ++t) eq.x.push_back(j == 0 ? 1.0 : 10.0 * j + uniform());
  for (int t = 0; t < n; ++t) eq.y.push_back(5.0 + uniform());
  return eq;
}

void recursive_run(benchmark::State& state) {
  const auto eq = levels_data(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(single::recursive_estimates(eq, true));
}
BENCHMARK(recursive_run)->Args({3000, 10})->Unit(benchmark::kMillisecond);

void rolling_windows(benchmark::State& state) {
  const auto eq = levels_data(3000, 10);
  const int h = static_cast<int>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(single::rolling_estimates(eq, h));
}
BENCHMARK(rolling_windows)->Arg(60)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
