// Regressions with AR and MA errors from the data matrix to the written page: exact ML
// with AR(2) errors on 3000 observations and 5 regressors (one likelihood evaluation
// filters and regresses all 3000 observations), and exact ML with MA(2) errors on a
// quarterly-sized sample.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/error_models.h"
#include "engine/single/estimation_state.h"
#include "engine/single/result_report.h"

namespace {

using namespace qorv;

/// y = X·b + u over n observations, an intercept and k − 1 pseudo-random regressors, u an
/// AR(2) (φ = 0.5, 0.3) or MA(2) (θ = 0.4, 0.25) process of uniform innovations.
void install(int n, int k, bool ma) {
  bench::install_workspace(n, k + 1);
  bench::Uniform uniform;
  for (int v = 2; v <= k + 1; ++v)
    for (int t = 1; t <= n; ++t) core::data_at(t, v) = v == 2 ? 1.0 : 10.0 * v + uniform();
  double u1 = 0.0, u2 = 0.0, e1 = 0.0, e2 = 0.0;
  for (int t = 1; t <= n; ++t) {
    const double e = uniform();
    const double u = ma ? e + 0.4 * e1 + 0.25 * e2 : 0.5 * u1 + 0.3 * u2 + e;
    e2 = e1;
    e1 = e;
    u2 = u1;
    u1 = u;
    double y = u;
    for (int v = 2; v <= k + 1; ++v) y += 0.1 * v * core::data_at(t, v);
    core::data_at(t, 1) = y;
  }
  single::estimation().arma_lags = {1, 2};
}

void error_model_report(benchmark::State& state, int code) {
  const int n = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  const bool ma = code == single::method::kMa;
  install(n, k, ma);
  const auto page = std::filesystem::temp_directory_path() / "error_models_benchmark_page.txt";
  const single::LimitHandler raise = [](int& limit, bool&, bool&) { limit += 20; };
  bool estimated = true;
  for (auto _ : state) {
    single::begin_estimate(code);
    single::load_sample();
    const auto outcome = ma ? single::ESTIMATEMA(raise) : single::ESTIMATEAREXACT(true, raise);
    estimated = estimated && outcome == single::ErrorModelOutcome::kEstimated;
    bench::write_report_page(page);
    benchmark::DoNotOptimize(single::estimation().loglik);
  }
  if (!estimated) state.SkipWithError("the estimate failed");
}

void exact_ar2_report(benchmark::State& state) { error_model_report(state, single::method::kExactAr2); }
void exact_ma2_report(benchmark::State& state) { error_model_report(state, single::method::kMa); }

BENCHMARK(exact_ar2_report)->Args({3000, 5})->Unit(benchmark::kMillisecond);
BENCHMARK(exact_ma2_report)->Args({196, 2})->Args({3000, 5})->Unit(benchmark::kMillisecond);

}  // namespace
