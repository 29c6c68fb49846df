// Non-linear least squares from the typed equation to the estimate's page: NIST's MGH10
// model y = b1·exp(b2/(x + b3)) from NIST's second start (17 Gauss-Newton steps of 7
// formula evaluations each), and a Cobb-Douglas production function Y = A·K^B·L^G on 500
// pseudo-random observations.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/nonlinear_estimate.h"
#include "engine/single/result_report.h"

namespace {

using namespace qorv;

/// Makes `text` the equation of the installed workspace.
void set_equation(const std::string& text) {
  single::NonLinearFormula formula;
  single::read_nonlinear_formula(text, core::variable_names(), formula);
  single::set_nonlinear_equation(text, formula);
}

/// Estimates the equation from `start` and writes its page to `page` (deleted again).
void estimate_and_report(const std::vector<double>& start, const std::filesystem::path& page) {
  single::nonlinear_equation().values = start;
  auto& s = single::estimation();
  s.eqvarlist = {1};
  single::begin_estimate(single::method::kNls);
  single::load_sample();
  single::estimate_nonlinear(false);
  bench::write_report_page(page);
  benchmark::DoNotOptimize(s.rss);
}

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
  set_equation("Y = B1*EXP(B2/(X+B3))");
  const auto page = std::filesystem::temp_directory_path() / "nonlinear_benchmark_page.txt";
  for (auto _ : state) estimate_and_report({0.02, 4000, 250}, page);
  const auto& s = single::estimation();
  if (s.status != single::status::kEstimated || s.iterations != 17) state.SkipWithError("not the 17-step estimate");
}

/// Y = 2·K^0.3·L^0.6·exp(u) over n observations, K and L uniform on [1, 11), u with
/// standard deviation 0.1; estimated from A = 1, B = G = 0.5.
void cobb_douglas_report(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  bench::install_workspace(n, 3);
  core::set_variable(1, "Y", "");
  core::set_variable(2, "K", "");
  core::set_variable(3, "L", "");
  bench::Uniform uniform;
  for (int t = 1; t <= n; ++t) {
    const double k = 6.0 + 10.0 * uniform(), l = 6.0 + 10.0 * uniform();
    const double u = 0.1 * std::sqrt(3.0) * (uniform() + uniform() + uniform() + uniform());
    core::data_at(t, 1) = 2.0 * std::pow(k, 0.3) * std::pow(l, 0.6) * std::exp(u);
    core::data_at(t, 2) = k;
    core::data_at(t, 3) = l;
  }
  set_equation("Y = A*K^B*L^G");
  const auto page = std::filesystem::temp_directory_path() / "nonlinear_benchmark_page.txt";
  for (auto _ : state) estimate_and_report({1.0, 0.5, 0.5}, page);
  if (single::estimation().status != single::status::kEstimated) state.SkipWithError("the estimate failed");
}

BENCHMARK(mgh10_report)->Unit(benchmark::kMillisecond);
BENCHMARK(cobb_douglas_report)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
