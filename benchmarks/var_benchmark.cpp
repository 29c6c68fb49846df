// The VAR order-selection table: 5 variables with an intercept over 500 observations, the
// VARs of orders 8 down to 0 on the same sample (nine least-squares systems of up to 41
// regressors per equation).
#include <benchmark/benchmark.h>

#include <vector>

#include "benchmarks/benchmark_workspace.h"
#include "engine/multi/var_hypotheses.h"
#include "engine/multi/var_model.h"

namespace {

using namespace qorv;

void order_table(benchmark::State& state) {
  constexpr int m = 5, p = 8, n = 500, nobs = n + p;
  bench::Uniform uniform;
  // Variables 1..5 a stable VAR(1) with pseudo-random shocks, variable 6 the intercept.
  std::vector<double> values(static_cast<std::size_t>(nobs) * (m + 1), 0.0);
  for (int t = 1; t < nobs; ++t)
    for (int i = 0; i < m; ++i) {
      double y = uniform();
      for (int j = 0; j < m; ++j) y += (i == j ? 0.5 : 0.05) * values[static_cast<std::size_t>(j * nobs + t - 1)];
      values[static_cast<std::size_t>(i * nobs + t)] = y;
    }
  for (int t = 0; t < nobs; ++t) values[static_cast<std::size_t>(m * nobs + t)] = 1.0;
  const multi::DataView data{values, nobs};
  multi::VarFit fit;
  multi::fit_var(data, multi::VarLayout{{1, 2, 3, 4, 5}, {6}, p, p + 1, n}, fit);
  std::vector<multi::OrderRow> rows;
  for (auto _ : state) {
    multi::order_selection(data, fit, rows);
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(order_table)->Unit(benchmark::kMillisecond);

}  // namespace
