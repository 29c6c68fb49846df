#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/driver_state.h"
#include "engine/core/results_page.h"
#include "engine/core/system_headers.h"
#include "engine/core/workspace.h"
#include "engine/multi/dynamic_forecast.h"
#include "engine/multi/system_estimate.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

constexpr int kSingleMethod = 5;

class DispatcherTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    auto& g = core::globals();
    g.nobs = 20;
    g.max_vars = limits::max_vars_for(g.nobs);
    g.nvars = 0;
    for (const char* name : {"Y1", "X(-1)", "INPT", "Y2"}) {
      core::set_variable(++g.nvars, name, "");
      for (int t = 1; t <= g.nobs; ++t) core::data_at(t, g.nvars) = t * g.nvars + (t * t) % 7;
    }
    g.sample_start = 1;
    g.sample_end = g.nobs;
    single::estimation().method = kSingleMethod;
  }
  bool dispatch(int& choice, std::vector<int> list, int split) {
    core::driver_state().equation = std::move(list);
    int order_word = 0;
    const bool again = multi::SYSTEMESTIMATE(choice, split, order_word, {});
    EXPECT_EQ(single::estimation().method, kSingleMethod);
    return again;
  }
};

TEST_F(DispatcherTest, LaggedEndogenousVariableIsRefusedWithoutTouchingThePresetText) {
  core::set_char_setting(charset::kSpecification, "Y1 INPT");
  const std::string preset(core::char_setting(charset::kSpecification));
  int choice = multi::kVarChoice;
  // Y1 X(-1) & INPT
  EXPECT_FALSE(dispatch(choice, {1, 2, 3}, 1));
  EXPECT_EQ(dialog_script::transcript_text(),
            "message information 0 Variable X(-1) is not valid for inclusion in the VAR!\n");
  EXPECT_EQ(core::char_setting(charset::kSpecification), preset);
  EXPECT_EQ(choice, multi::kVarChoice);
}

TEST_F(DispatcherTest, EveryRoadRestoresTheMethodCode) {
  // A lagged I(0) variable of a cointegrating VAR (after the first k) is not refused here.
  int choice = multi::kCointegratingChoice;
  dialog_script::load("menu 1025 -> 0\n");
  dispatch(choice, {1, 4, 2}, 1000);
  EXPECT_EQ(dialog_script::transcript_text().find("not valid"), std::string::npos);
  EXPECT_NE(dialog_script::transcript_text().find("Choice of VAR Model in Cointegration Analysis"), std::string::npos);
  // SURE whose system text the user cancels.
  dialog_script::load("text -> cancel\n");
  for (const int kind : {multi::kSureChoice, multi::kRestrictedSureChoice}) {
    choice = kind;
    EXPECT_FALSE(dispatch(choice, {1, 4}, 0));
    EXPECT_EQ(choice, 0);
  }
  // A VAR the user leaves at the order question, and one whose estimate fails.
  dialog_script::load("integer -> 0\n");
  choice = multi::kVarChoice;
  dispatch(choice, {1, 4, 3}, 1);
  dialog_script::load("integer -> 1\n");
  core::set_variable(4, "Y2", "");
  for (int t = 1; t <= 20; ++t) core::data_at(t, 4) = 2.0 * core::data_at(t, 1);  // collinear lags
  dispatch(choice, {1, 4, 3}, 1);
  EXPECT_NE(dialog_script::transcript_text().find("Two or more regressors are collinear!"), std::string::npos);
  // Anything else does nothing.
  choice = 7;
  dispatch(choice, {1, 4}, 0);
  EXPECT_EQ(choice, 7);
}

TEST(CointegrationSplit, ThousandsAreI0VariablesAndUnitsExogenousI1) {
  EXPECT_EQ(multi::split_cointegration_count(2003).d, 2);
  EXPECT_EQ(multi::split_cointegration_count(2003).e, 3);
  EXPECT_EQ(multi::split_cointegration_count(5).d, 0);
  EXPECT_EQ(multi::split_cointegration_count(5).e, 5);
}

constexpr double kMissing = limits::kMissing;

TEST(ForecastSeries, ChangesStartFromTheLastActualLevel) {
  // Estimation period of three observations, then three forecasts.
  const std::vector<double> actual = {10, 12, 11, 15, 14, kMissing};
  const std::vector<double> predicted = {9, 11, 12, 13, 16, 17};
  const auto levels = multi::forecast_series(actual, predicted, 3, false);
  EXPECT_EQ(levels.error, (std::vector<double>{1, 1, -1, 2, -2, kMissing}));
  const auto changes = multi::forecast_series(actual, predicted, 3, true);
  // First observation: the levels. In the sample ŷ_t − y_{t−1}; first forecast
  // 13 − 11 (the last actual level); then 16 − 13 and 17 − 16.
  EXPECT_EQ(changes.actual, (std::vector<double>{10, 2, -1, 4, -1, kMissing}));
  EXPECT_EQ(changes.predicted, (std::vector<double>{9, 1, 0, 2, 3, 1}));
  EXPECT_EQ(changes.error, (std::vector<double>{1, 1, -1, 2, -4, kMissing}));
}

TEST(ForecastSeries, SummaryStatisticsLeaveOutMissingErrors) {
  const std::vector<double> in = {1, kMissing, -3};
  const auto s = multi::summary_statistics(in);
  EXPECT_DOUBLE_EQ(s.mean, -1.0);
  EXPECT_DOUBLE_EQ(s.mean_absolute, 2.0);
  EXPECT_DOUBLE_EQ(s.mean_squares, 5.0);
  EXPECT_DOUBLE_EQ(s.root_mean_squares, std::sqrt(5.0));
  const std::vector<double> out = {kMissing, 2};
  EXPECT_DOUBLE_EQ(multi::summary_statistics(out).mean_squares, 4.0);
  EXPECT_EQ(multi::summary_statistics(std::vector<double>{kMissing}).mean, kMissing);
}

TEST_F(DispatcherTest, SystemHeaderKinds) {
  const std::vector<std::string> names = {"Y1", "Y2"};
  const std::vector<std::string> second = {"INPT"};
  dialog_script::load("results -> close\n");
  core::SHOWRESULTS(core::kOpenPage);
  core::SYSTEMHEADER({core::kSureHeader, names, second, 2, 10, 2, limits::kMissing}, core::channel::kResultsPage);
  core::SYSTEMHEADER({core::kNonCausalHeader, names, {}, 2, 10, 2, -12.25}, core::channel::kResultsPage);
  core::SHOWRESULTS(core::kShowPage);
  const auto page = dialog_script::pages().at(0);
  const std::string text = dialog_script::transcript_text();
  // SURE: the sample without the order, no lists, no log-likelihood when it is undefined.
  EXPECT_NE(text.find(" Based on 10 observations from    3 to   12.\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" Based on 10 observations from    3 to   12. Order of VAR = 2\n"
                      " List of variable(s) assumed to be \"non-causal\" under the null hypothesis:\n"
                      " Y1              Y2\n"
                      " Maximized value of log-likelihood =  -12.2500\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(std::count(page.begin(), page.end(), " Maximized value of log-likelihood =  -12.2500"), 1);
}

}  // namespace
}  // namespace qorv::testing
