// Non-linear least squares from the typed equation to the report: NIST's MGH10 model
// y = b1·exp(b2/(x + b3)) from NIST's second start, 17 Gauss-Newton steps of 7 formula
// evaluations each, then the estimate's page.
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/nonlinear_estimate.h"
#include "engine/single/result_report.h"

namespace {

using namespace qorv;

constexpr std::array<double, 16> kY = {34780, 28610, 23650, 19630, 16370, 13720, 11540, 9744,
                                       8261,  7030,  6005,  5147,  4427,  3820,  3307,  2872};

void mgh10_report(benchmark::State& state) {
  bench::install_workspace(16, 2);
  core::set_variable(1, "Y", "");
  core::set_variable(2, "X", "");
  for (int t = 1; t <= 16; ++t) {
    core::data_at(t, 1) = kY[static_cast<std::size_t>(t - 1)];
    core::data_at(t, 2) = 45.0 + 5.0 * t;
  }
  const std::string text = "Y = B1*EXP(B2/(X+B3))";
  single::NonLinearFormula formula;
  single::read_nonlinear_formula(text, core::variable_names(), formula);
  single::set_nonlinear_equation(text, formula);
  const auto page = std::filesystem::temp_directory_path() / "nonlinear_benchmark_page.txt";
  for (auto _ : state) {
    single::nonlinear_equation().values = {0.02, 4000, 250};
    auto& s = single::estimation();
    s.eqvarlist = {1};
    single::begin_estimate(single::method::kNls);
    single::load_sample();
    single::estimate_nonlinear(false);
    core::open_channel(core::channel::kResultsPage, page, core::OpenMode::kReplace);
    core::report_writer().copy_flag = true;
    single::write_estimate_report(core::channel::kResultsPage);
    core::report_writer().copy_flag = false;
    core::close_channel(core::channel::kResultsPage, core::CloseMode::kDelete);
    benchmark::DoNotOptimize(s.rss);
  }
  const auto& s = single::estimation();
  if (s.status != single::status::kEstimated || s.iterations != 17) state.SkipWithError("not the 17-step estimate");
}

BENCHMARK(mgh10_report)->Unit(benchmark::kMillisecond);

}  // namespace
