// A GARCH(1,1) fit from the data matrix to the written page: the reference series YN on
// an intercept (1000 observations and one before them), normal errors, from the default
// start at damping 1.0. The dialogue is answered by the scripted stand-in.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/garch_estimate.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;

/// YN (variable 1) and INPT (variable 2) of the reference data, 1001 rows; the sample
/// rows 2..1001.
void install() {
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
  const int n = static_cast<int>(yn.size());
  bench::install_workspace(n, 2);
  for (int t = 1; t <= n; ++t) {
    core::data_at(t, 1) = yn[static_cast<size_t>(t - 1)];
    core::data_at(t, 2) = 1.0;
  }
  core::globals().sample_start = 2;
}

void garch11_report(benchmark::State& state) {
  install();
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
}

BENCHMARK(garch11_report)->Unit(benchmark::kMillisecond);

}  // namespace
