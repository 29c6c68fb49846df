// Ordinary least squares from the data matrix to the report: the estimate and the three
// report pieces, written to a results page file, alone and followed by the table of
// diagnostic tests (the serial-correlation and functional-form regressions among them). A user's data set holds at most 124000
// values (1200 observations of 101 variables); the 3000 × 101 case fills the work array
// past the data matrix, which the least-squares path never uses as scratch, to measure the
// estimator at the longest sample with 100 regressors.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "engine/single/result_report.h"
#include "engine/diagnostics/diagnostic_tests.h"

namespace {

using namespace qorv;

/// Installs y and an intercept plus k − 1 pseudo-random regressors over n observations.
void install(int n, int k) {
  bench::install_workspace(n, k + 1);
  bench::Uniform uniform;
  for (int v = 1; v <= k + 1; ++v)
    for (int t = 1; t <= n; ++t) core::data_at(t, v) = v == 2 ? 1.0 : 10.0 * v + uniform();
}

void run_report(benchmark::State& state, bool with_tests) {
  const int n = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  install(n, k);
  const auto page = std::filesystem::temp_directory_path() / "single_benchmark_page.txt";
  for (auto _ : state) {
    single::begin_estimate(single::method::kOls);
    single::load_sample();
    double ms = 0, ll = 0;
    single::RESIDUALSUMMARY(ms, ll, false);
    core::open_channel(core::channel::kResultsPage, page, core::OpenMode::kReplace);
    core::report_writer().copy_flag = true;
    single::write_estimate_report(core::channel::kResultsPage);
    if (with_tests) diagnostics::DIAGNOSTICTESTS(core::channel::kResultsPage);
    core::report_writer().copy_flag = false;
    core::close_channel(core::channel::kResultsPage, core::CloseMode::kDelete);
    benchmark::DoNotOptimize(single::estimation().rss);
  }
  if (single::estimation().status != single::status::kEstimated) state.SkipWithError("the estimate failed");
}

/// The estimate and its page.
void ols_report(benchmark::State& state) { run_report(state, false); }

/// The estimate, its page and the diagnostic table: what one OLS request costs.
void ols_report_and_tests(benchmark::State& state) { run_report(state, true); }

BENCHMARK(ols_report)->Args({3000, 100})->Args({3000, 10})->Args({1200, 100})->Unit(benchmark::kMillisecond);
BENCHMARK(ols_report_and_tests)->Args({1200, 100})->Args({3000, 40})->Unit(benchmark::kMillisecond);

}  // namespace
