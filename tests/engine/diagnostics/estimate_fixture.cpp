#include "tests/engine/diagnostics/estimate_fixture.h"

#include <filesystem>
#include <fstream>

#include "engine/core/channels.h"
#include "engine/core/driver_state.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"

namespace qorv::testing {

std::vector<double> workspace_column(int v) {
  std::vector<double> out;
  for (int t = 1; t <= core::globals().nobs; ++t) out.push_back(core::data_at(t, v));
  return out;
}

void EstimateTest::estimate_ols(const std::vector<int>& equation, int first, int last, int kept_back) {
  auto& g = core::globals();
  g.sample_start = first;
  g.sample_end = last;
  core::driver_state().predictive_failure = kept_back;
  single::take_equation(equation);
  single::begin_estimate(single::method::kOls);
  ASSERT_TRUE(single::load_sample());
  double mean_square = 0.0, loglik = 0.0;
  single::RESIDUALSUMMARY(mean_square, loglik, false);
}

std::vector<std::string> EstimateTest::page(const std::function<void()>& write) {
  // One file per test: ctest runs the tests of this folder side by side.
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto path = std::filesystem::temp_directory_path() /
                    (std::string("zv_") + info->test_suite_name() + "_" + info->name() + ".txt");
  EXPECT_TRUE(core::open_channel(core::channel::kResultsPage, path, core::OpenMode::kReplace));
  core::report_writer().copy_flag = true;
  write();
  core::report_writer().copy_flag = false;
  core::close_channel(core::channel::kResultsPage, core::CloseMode::kKeep);
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  in.close();
  std::filesystem::remove(path);
  return lines;
}

}  // namespace qorv::testing
