// Probit and logit models from the data matrix to their page: the Newton iteration from zero, the
// stored estimate, the report statistics and the page lines, written to a results page
// file. 3000 observations (the longest estimation sample) of an intercept and nine
// pseudo-random regressors, the 0/1 dependent variable drawn from the model itself.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/binary_estimate.h"
#include "engine/single/estimation_state.h"
#include "engine/single/logit_probit_report.h"
#include "engine/single/result_report.h"

namespace {

using namespace qorv;

/// Installs a 0/1 y drawn from a probit model on an intercept and k − 1 pseudo-random
/// regressors over n observations.
void install(int n, int k) {
  bench::install_workspace(n, k + 1);
  bench::Uniform uniform;
  for (int t = 1; t <= n; ++t) {
    double index = 0.2;
    for (int v = 2; v <= k + 1; ++v) {
      const double x = v == 2 ? 1.0 : 2.0 * uniform();
      core::data_at(t, v) = x;
      if (v > 2) index += (v % 2 == 0 ? 0.5 : -0.4) * x;
    }
    const double noise = uniform() + uniform() + uniform() + uniform();  // variance 1/3
    core::data_at(t, 1) = index + 1.7 * noise > 0.0 ? 1.0 : 0.0;
  }
}

void binary_page(benchmark::State& state, single::BinaryModel model) {
  const int n = static_cast<int>(state.range(0));
  const int k = static_cast<int>(state.range(1));
  install(n, k);
  const auto page = std::filesystem::temp_directory_path() / "binary_choice_benchmark_page.txt";
  bool converged = true;
  single::BinaryData data;  // kept from request to request, as the estimator keeps it
  for (auto _ : state) {
    single::begin_estimate(single::binary_method_code(model));
    single::load_sample();
    single::binary_equation_data(1, n, data);
    single::BinaryEstimate estimate = single::binary_start(data);
    converged = single::binary_newton(model, data, estimate, 40) == single::BinaryMlStatus::kConverged && converged;
    single::store_binary_estimate(model, estimate, true);
    const single::BinaryStatistics statistics = single::binary_statistics(model, data, estimate);
    core::open_channel(core::channel::kResultsPage, page, core::OpenMode::kReplace);
    core::report_writer().copy_flag = true;
    single::REGRESSIONTABLE(single::estimation().method, core::channel::kResultsPage);
    single::write_binary_statistics(statistics, "X1", core::channel::kResultsPage);
    core::report_writer().copy_flag = false;
    core::close_channel(core::channel::kResultsPage, core::CloseMode::kDelete);
    benchmark::DoNotOptimize(single::estimation().loglik);
  }
  if (!converged) state.SkipWithError("the estimate did not converge");
}

void probit_page(benchmark::State& state) { binary_page(state, single::BinaryModel::kProbit); }
void logit_page(benchmark::State& state) { binary_page(state, single::BinaryModel::kLogit); }

BENCHMARK(probit_page)->Args({3000, 10})->Unit(benchmark::kMillisecond);
BENCHMARK(logit_page)->Args({3000, 10})->Unit(benchmark::kMillisecond);

}  // namespace
