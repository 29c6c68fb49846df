// The White and Newey-West sandwich and the fully modified estimate at the longest sample
// (3000 observations), for truncation points from 0 (White) to 1000 (a third of the sample,
// the largest the prompt recommends): the lag sums grow with n·m·p².
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/single/fully_modified.h"
#include "engine/single/lag_windows.h"

namespace {

using namespace qorv::single;

/// n × k pseudo-random columns (the first all ones when `intercept`).
std::vector<double> columns(int n, int k, bool intercept, unsigned seed) {
  unsigned state = seed;
  std::vector<double> out;
  for (int j = 0; j < k; ++j)
    for (int t = 0; t < n; ++t) {
      state = state * 1664525u + 1013904223u;
      out.push_back(intercept && j == 0 ? 1.0 : (state >> 8) * (1.0 / 16777216.0) - 0.5 + 0.01 * t);
    }
  return out;
}

void sandwich(benchmark::State& state) {
  const int n = 3000, k = static_cast<int>(state.range(0)), m = static_cast<int>(state.range(1));
  const std::vector<double> x = columns(n, k, true, 7u), e = columns(n, 1, false, 11u);
  std::vector<double> v(static_cast<std::size_t>(k) * (k + 1) / 2, 0.0);
  for (int i = 1; i <= k; ++i) v[static_cast<std::size_t>(i * (i + 1) / 2 - 1)] = 1.0;
  SandwichInput in;
  in.columns = x;
  in.residuals = e;
  in.inverse = v;
  in.n = n;
  in.p = k;
  in.k = k;
  for (auto _ : state) benchmark::DoNotOptimize(adjusted_variance(in, m == 0 ? 2 : window::kBartlett + 2, m));
}
BENCHMARK(sandwich)->Args({10, 0})->Args({10, 12})->Args({10, 1000})->Unit(benchmark::kMillisecond);

void fully_modified_estimate(benchmark::State& state) {
  const int n = 3000, k = static_cast<int>(state.range(0)), m = static_cast<int>(state.range(1));
  const std::vector<double> x = columns(n, k, false, 3u), dx = columns(n, k, false, 5u), y = columns(n, 1, false, 9u);
  FullyModifiedInput in;
  in.y = y;
  in.x = x;
  in.dx = dx;
  in.n = n;
  in.k = k;
  in.window = window::kParzen;
  in.m = m;
  for (auto _ : state) benchmark::DoNotOptimize(fully_modified(in));
}
BENCHMARK(fully_modified_estimate)->Args({5, 12})->Args({5, 1000})->Unit(benchmark::kMillisecond);

}  // namespace
