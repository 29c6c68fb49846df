// Ordinary least squares from the data matrix to the report: the estimate and the three
// report pieces, written to a results page file. A user's data set holds at most 124000
// values (1200 observations of 101 variables); the 3000 × 101 case fills the work array
// past the data matrix, which the least-squares path never uses as scratch, to measure the
// estimator at the longest sample with 100 regressors.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "benchmarks/regression_data.h"
#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "engine/single/result_report.h"

namespace {

using namespace qorv;

void ols_report(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  bench::install_regression(n, k);
  const auto page = std::filesystem::temp_directory_path() / "single_benchmark_page.txt";
  for (auto _ : state) {
    single::begin_estimate(single::method::kOls);
    single::load_sample();
    double ms = 0, ll = 0;
    single::RESIDUALSUMMARY(ms, ll, false);
    core::open_channel(core::channel::kResultsPage, page, core::OpenMode::kReplace);
    core::report_writer().copy_flag = true;
    single::write_estimate_report(core::channel::kResultsPage);
    core::report_writer().copy_flag = false;
    core::close_channel(core::channel::kResultsPage, core::CloseMode::kDelete);
    benchmark::DoNotOptimize(single::estimation().rss);
  }
  if (single::estimation().status != single::status::kEstimated) state.SkipWithError("the estimate failed");
}

BENCHMARK(ols_report)->Args({3000, 100})->Args({3000, 10})->Args({1200, 100})->Unit(benchmark::kMillisecond);

}  // namespace
