// The cointegrating VAR's reduced-rank regression: five random walks, VAR(2), 500
// observations, unrestricted intercepts, from the data to the maximal-eigenvalue and trace
// statistics of every rank.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "engine/multi/johansen_core.h"

namespace {

void cointegration_statistics(benchmark::State& state) {
  using namespace qorv::multi;
  const int m = 5, p = 2, n = 500;
  std::vector<double> levels;
  unsigned seed = 12345u;
  for (int v = 0; v < m; ++v) {
    double x = 0.0;
    for (int t = 0; t < n + p; ++t) {
      seed = seed * 1664525u + 1013904223u;
      x += (seed >> 8) * (1.0 / 16777216.0) - 0.5;
      levels.push_back(x);
    }
  }
  JohansenData data;
  data.m = m;
  data.p = p;
  data.n = n;
  data.model_case = 3;
  data.levels = levels;
  JohansenFit fit;
  std::vector<double> trace(m), lmax(m);
  for (auto _ : state) {
    if (johansen_estimate(data, kJohansenTolerance, fit) != JohansenFailure::kNone) state.SkipWithError("failed");
    double sum = 0.0;
    for (int r = m - 1; r >= 0; --r) {
      lmax[static_cast<std::size_t>(r)] = -n * std::log(1.0 - fit.eigenvalues[static_cast<std::size_t>(r)]);
      sum += lmax[static_cast<std::size_t>(r)];
      trace[static_cast<std::size_t>(r)] = sum;
    }
    benchmark::DoNotOptimize(trace.data());
  }
}
BENCHMARK(cointegration_statistics)->Unit(benchmark::kMillisecond);

}  // namespace
