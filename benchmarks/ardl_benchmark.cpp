// The ARDL order search at its largest realistic size: a dependent variable and four
// regressors (K = 5), an intercept, maximum lag 4 and 3000 observations, so 5^5 = 3125
// least-squares fits on one common sample. The series are random walks, like the levels
// data an ARDL search is run on.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/single/ardl_search.h"

namespace {

using namespace qorv;

void ardl_search(benchmark::State& state) {
  constexpr int kP = 4, kK = 5;
  const int n = static_cast<int>(state.range(0));
  unsigned seed = 12345u;
  const auto uniform = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) * (1.0 / 16777216.0) - 0.5;
  };
  std::vector<std::vector<double>> columns(kK, std::vector<double>(static_cast<size_t>(n + kP)));
  for (int v = 1; v < kK; ++v) {
    double level = 10.0 * v;
    for (double& x : columns[static_cast<size_t>(v)]) x = level += uniform();
  }
  for (size_t t = 0; t < columns[0].size(); ++t) {
    double y = 1.0 + 0.1 * uniform();
    for (int v = 1; v < kK; ++v) y += 0.2 * v * columns[static_cast<size_t>(v)][t];
    columns[0][t] = y;
  }
  const std::vector<double> one(static_cast<size_t>(n), 1.0);
  single::ArdlData data;
  data.n = n;
  data.p = kP;
  for (const auto& c : columns) data.variables.emplace_back(c);
  data.deterministic.emplace_back(one);
  for (auto _ : state) {
    const single::ArdlSelection sel = single::select_ardl_orders(data, false);
    if (sel.stop != single::ArdlStop::kCompleted || sel.models != 3125u) state.SkipWithError("search stopped");
    benchmark::DoNotOptimize(sel);
  }
}
BENCHMARK(ardl_search)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
