#include "tests/engine/diagnostics/post_regression_fixture.h"

#include <fstream>

#include "engine/core/workspace.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "shared/exchange_slots.h"
#include "shared/temp_files.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

void PostRegressionTest::SetUp() {
  EngineTest::SetUp();
  folder_.emplace("zv-postreg");
  core::set_char_setting(charset::kTempFolder, folder_->string() + "/");
  // The data: Y = 1 + 2X + a small disturbance, and an instrument Z.
  std::vector<double> c(small::kObs, 1.0), x, y, z;
  const double noise[small::kObs] = {0.3, -0.2, 0.5, -0.4, 0.1, 0.6, -0.7, 0.2, -0.1, 0.4, -0.5, -0.3};
  for (int t = 1; t <= small::kObs; ++t) {
    x.push_back(t);
    y.push_back(1.0 + 2.0 * t + noise[t - 1]);
    z.push_back(t * t % 7 + 0.5 * t);
  }
  install({c, x, y, z}, {"C", "X", "Y", "Z"});
}

void PostRegressionTest::install(const std::vector<std::vector<double>>& columns,
                                 const std::vector<std::string>& names) {
  auto& g = core::globals();
  g.nobs = static_cast<int>(columns.front().size());
  g.nvars = static_cast<int>(columns.size());
  g.frequency = 4;
  g.periods_per_year = 4;
  g.start_year = 90;
  g.start_period = 1;
  g.century_base = 1900;
  g.max_vars = limits::max_vars_for(g.nobs);
  for (int v = 1; v <= g.nvars; ++v) {
    core::set_variable(v, names[static_cast<std::size_t>(v - 1)], "");
    for (int t = 1; t <= g.nobs; ++t)
      core::data_at(t, v) = columns[static_cast<std::size_t>(v - 1)][static_cast<std::size_t>(t - 1)];
  }
  g.sample_start = 1;
  g.sample_end = g.nobs;
}

void PostRegressionTest::estimate(const std::vector<int>& equation, int first, int last, bool iv) {
  auto& g = core::globals();
  g.sample_start = first;
  g.sample_end = last;
  single::take_equation(equation);
  auto& s = single::estimation();
  if (iv) {
    s.instrlist = {small::kC, small::kX, small::kZ};
    s.instrnames = {"C", "X", "Z"};
    s.ninstr = 3;
  }
  single::begin_estimate(iv ? single::method::kIv : single::method::kOls);
  ASSERT_TRUE(single::load_sample());
  if (iv) {
    single::LSQCORE(false);
  } else {
    double mean_square = 0.0, loglik = 0.0;
    single::RESIDUALSUMMARY(mean_square, loglik, false);
  }
  ASSERT_EQ(s.status, single::status::kEstimated);
}

std::vector<std::vector<std::string>> PostRegressionTest::pages() { return dialog_script::pages(); }

std::vector<plot_file::Plot> PostRegressionTest::plots() const {
  std::vector<plot_file::Plot> out;
  for (unsigned number = 1;; ++number) {
    const auto plot = plot_file::read(*folder_ / temp_files::plot_file_name(number));
    if (!plot) break;
    out.push_back(*plot);
  }
  return out;
}

std::string PostRegressionTest::message_line(int line) {
  std::ifstream in(program_folder() / "ERROR4.ZQT");
  std::string text;
  for (int k = 1; k <= line && std::getline(in, text); ++k) {
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace qorv::testing
