// GARCH(1,1) fits from the data matrix to the written page, normal errors, from the
// default start at damping 1.0, the dialogue answered by the scripted stand-in: the
// reference series YN on an intercept (1000 observations and one before them), and a
// simulated series of 2000 observations (and one before them) on an intercept.
#include <benchmark/benchmark.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/garch_estimate.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;

/// The series as variable 1 and an intercept as variable 2; the sample from row 2 on.
void install(const std::vector<double>& y) {
  const int n = static_cast<int>(y.size());
  bench::install_workspace(n, 2);
  for (int t = 1; t <= n; ++t) {
    core::data_at(t, 1) = y[static_cast<size_t>(t - 1)];
    core::data_at(t, 2) = 1.0;
  }
  core::globals().sample_start = 2;
}

/// YN of the reference data, 1001 rows.
std::vector<double> reference_series() {
  std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/garch/data.csv");
  std::string line;
  std::getline(in, line);
  std::vector<double> yn;
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    std::string f;
    for (int column = 0; std::getline(fields, f, ','); ++column)
      if (column == 3) yn.push_back(std::stod(f));
  }
  return yn;
}

/// y = 0.1 + u over `rows` rows, u GARCH(1,1) with c = 0.1, a = 0.1, g = 0.8 and normal
/// innovations (Box-Muller from the benchmarks' uniform sequence), after 500 draws of
/// burn-in.
std::vector<double> simulated_series(int rows) {
  bench::Uniform uniform;
  std::vector<double> y;
  double h = 0.5, u = 0.0;
  for (int t = -500; t < rows; ++t) {
    const double radius = std::sqrt(-2.0 * std::log(0.5 - uniform()));
    const double z = radius * std::cos(2.0 * std::numbers::pi * (0.5 - uniform()));
    h = 0.1 + 0.1 * u * u + 0.8 * h;
    u = std::sqrt(h) * z;
    if (t >= 0) y.push_back(0.1 + u);
  }
  return y;
}

void garch11_report(benchmark::State& state, const std::vector<double>& y) {
  install(y);
  dialog_script::load(
      "menu 1017 -> 1\nmenu 1016 -> 1\ntext \"lags\" -> \"1 ; 1\"\ntext -> \"\"\nvalues -> keep\nreal -> 1.0\n"
      "menu -> 0\n");
  const auto page = std::filesystem::temp_directory_path() / "garch_benchmark_page.txt";
  bool estimated = true;
  for (auto _ : state) {
    core::globals().sample_start = 2;
    single::begin_estimate(single::method::kGarch);
    single::load_sample();
    single::GARCHESTIMATE(true);
    estimated = estimated && single::estimation().status == single::status::kEstimated;
    bench::write_report_page(page);
    benchmark::DoNotOptimize(single::estimation().loglik);
  }
  if (!estimated) state.SkipWithError("the estimate failed");
  state.counters["iterations"] = single::estimation().iterations;
}

void garch11_reference(benchmark::State& state) { garch11_report(state, reference_series()); }
void garch11_simulated(benchmark::State& state) {
  garch11_report(state, simulated_series(static_cast<int>(state.range(0)) + 1));
}

BENCHMARK(garch11_reference)->Unit(benchmark::kMillisecond);
BENCHMARK(garch11_simulated)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
