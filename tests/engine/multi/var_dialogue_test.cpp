#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/multi/response_results.h"
#include "engine/multi/system_estimate.h"
#include "engine/multi/var_model.h"
#include "engine/road/system_services.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "tests/engine/multi/var_reference.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using dialog_script::page_has;

constexpr int kSingleMethod = 1;

bool transcript_has(const std::string& text) { return dialog_script::transcript_text().find(text) != std::string::npos; }

/// The VAR dialogue on the reference data, reached through the dispatcher.
class VarDialogueTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_var_workspace();
    single::estimation().method = kSingleMethod;
  }
  /// Runs the VAR of `list` (endogenous first) with `split` deterministic variables.
  void run_var(std::vector<int> list, int split, const std::string& script) {
    dialog_script::load(script);
    core::driver_state().equation = std::move(list);
    int choice = multi::kVarChoice;
    int order_word = 0;
    EXPECT_FALSE(multi::SYSTEMESTIMATE(choice, split, order_word, road::system_services()));
    EXPECT_EQ(choice, multi::kVarChoice);
    EXPECT_EQ(single::estimation().method, kSingleMethod);
  }
  static std::vector<std::string> last_page() {
    const auto pages = dialog_script::pages();
    return pages.empty() ? std::vector<std::string>{} : pages.back();
  }
};

// V1: DLC DLI & INPT, order 1.
TEST_F(VarDialogueTest, CovarianceMatrixPage) {
  run_var({4, 5, 1}, 1,
          "integer \"Order of the VAR model\" -> 1\n"
          "menu 1044 -> 2 once\nmenu 1044 -> 0\nresults -> close\n");
  EXPECT_EQ(core::slot(slots::kVarOrderChosen), 1);
  const auto page = last_page();
  EXPECT_TRUE(page_has(page, "Estimated System Covariance Matrix of Errors"));
  // Σ̃ = E'E/(n − k): 7.0206, 6.2277, 246.3356.
  EXPECT_TRUE(page_has(page, "7.0206"));
  EXPECT_TRUE(page_has(page, "6.2277"));
  EXPECT_TRUE(page_has(page, "246.3356"));
}

// Option 1 estimates one equation through the single-equation road: its fitted values
// are the VAR's in-sample predictions.
TEST_F(VarDialogueTest, SingleEquationResultsAgreeWithTheSystemPredictions) {
  run_var({4, 5, 1}, 1,
          "integer \"Order of the VAR model\" -> 1\n"
          "menu 1044 -> 1 once\nmenu 1044 -> 0\n"
          "menu \"inspect its single\" -> \"DLI\" once\nmenu \"inspect its single\" -> \"Quit\"\n"
          "menu 1002 -> 0\nresults -> close\n");
  const auto page = dialog_script::pages().at(0);
  EXPECT_TRUE(page_has(page, "OLS estimation of a single equation in the Unrestricted VAR"));
  EXPECT_TRUE(page_has(page, "   System Log-likelihood          -1281.6"));
  multi::VarFit fit;
  ASSERT_EQ(multi::fit_var(var_reference_data().view(), var_reference_layout("V1"), fit), multi::FitStatus::kOk);
  std::vector<double> predictions;
  multi::ForecastGap gap;
  ASSERT_TRUE(multi::var_forecasts(var_reference_data().view(), fit, 0, predictions, gap));
  const auto& s = single::estimation();
  ASSERT_EQ(s.nused, 196);
  for (int t = 0; t < 196; ++t)
    EXPECT_NEAR(s.result[static_cast<std::size_t>(15000 + t)], predictions[static_cast<std::size_t>(196 + t)], 1e-9) << t;
  // The lagged variables of the equation are gone again.
  EXPECT_EQ(core::globals().nvars, 5);
}

// V3: DLY DLC DLI & INPT T, order 3.
TEST_F(VarDialogueTest, OrderSelectionDeletionAndNonCausalityPages) {
  run_var({3, 4, 5, 1, 2}, 2,
          "integer \"Order of the VAR model\" -> 3\n"
          "menu 1044 -> 4 once\n"
          "menu 1045 -> 1 once\nmenu 1045 -> 2 once\nmenu 1045 -> 3 once\nmenu 1045 -> 0\n"
          "text 20464 -> \"T\"\n"
          "text 20465 -> \"DLI\"\n"
          "menu 1044 -> 0\nresults -> close\n");
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 3u);
  const auto& order = pages[0];
  EXPECT_TRUE(page_has(order, "Test Statistics and Choice Criteria for Selecting the Order of the VAR Model"));
  EXPECT_FALSE(page_has(order, "Maximized value of log-likelihood"));
  const auto row = [&](const std::string& start) {
    const auto it = std::find_if(order.begin(), order.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
    return it == order.end() ? std::string() : *it;
  };
  // Order 3: LL -1582.5, AIC -1615.5, SBC -1669.5 and no tests.
  EXPECT_EQ(row("   3"), "   3  -1582.5  -1615.5  -1669.5             ------               ------");
  // Order 0: LR 100.4334 and LR* 94.7968 on 27 d.f.
  EXPECT_EQ(row("   0"), "   0  -1632.7  -1638.7  -1648.5 CHSQ(  27)= 100.4334[.000] CHSQ(  27)=  94.7968[.000]");
  EXPECT_EQ(row("   2"), "   2  -1590.4  -1614.4  -1653.7 CHSQ(   9)=  15.8412[.070] CHSQ(   9)=  14.9522[.092]");
  EXPECT_TRUE(page_has(pages[1], " LR test of restrictions, CHSQ(   3)=   5.5782[.134]"));
  EXPECT_TRUE(page_has(pages[1], " List of variables included in the restricted VAR:"));
  EXPECT_TRUE(page_has(pages[1], " Maximized value of log-likelihood =   -1585.2"));
  // The exact likelihood ratio of non-causality: 8.9524 on 6 d.f., LL_r -1586.9.
  EXPECT_TRUE(page_has(pages[2], " LR test of block non-causality, CHSQ(   6)=   8.9524[.176]"));
  EXPECT_TRUE(page_has(pages[2], " Maximized value of log-likelihood =   -1586.9"));
  EXPECT_TRUE(page_has(pages[2], " are zero. The maximum order of the lag(s) is 3."));
}

TEST_F(VarDialogueTest, TestListsAreCheckedAgainstTheirRoles) {
  run_var({3, 4, 5, 1, 2}, 2,
          "integer \"Order of the VAR model\" -> 3\n"
          "menu 1044 -> 4 once\n"
          "menu 1045 -> 2 once\nmenu 1045 -> 3 once\nmenu 1045 -> 0\n"
          "text 20464 -> \"DLY\" once\ntext 20464 -> cancel\n"
          "text 20465 -> \"INPT\" once\ntext 20465 -> \"DLY DLC DLI\" once\n"
          "text 20465 -> cancel\n"
          "menu 1044 -> 0\n");
  EXPECT_TRUE(transcript_has("You can only delete deterministic/exogenous variables!"));
  EXPECT_TRUE(transcript_has("You cannot include any of the deterministic/exogenous variables!"));
  EXPECT_TRUE(transcript_has("You cannot test for block non-causality of all the variables inthe VAR!"));
  EXPECT_TRUE(dialog_script::pages().empty());
}

TEST_F(VarDialogueTest, ImpulseResponsesShownAndSavedAsAnUndatedDataFile) {
  const std::string folder = std::string(fixed_text::trim(core::char_setting(charset::kTempFolder)));
  run_var({3, 4, 5, 1, 2}, 2,
          "integer \"Order of the VAR model\" -> 3\n"
          "menu 1044 -> 3 once\nmenu 1044 -> 0\n"
          "menu 1021 -> 1 once\nmenu 1021 -> 0\n"
          "menu \"equation to be shocked\" -> \"DLY\"\n"
          "integer \"Horizon for impulse responses\" -> 12\n"
          "menu 1024 -> 3 once\nmenu 1024 -> 0\n"
          "file \"save data\" -> \"" + folder + "oir.zvd\"\n"
          "results -> close\n");
  const auto page = last_page();
  EXPECT_TRUE(page_has(page, "Orthogonalised Impulse Responses to one SE shock in the equation for DLY"));
  // Horizon 0: the first column of the Cholesky factor, 3.0223 0 0.
  EXPECT_TRUE(page_has(page, "   0     3.0223"));
  EXPECT_TRUE(page_has(page, "  12  "));
  EXPECT_TRUE(transcript_has("writefit"));
  EXPECT_TRUE(std::filesystem::exists(folder + "oir.zvd"));
}

TEST_F(VarDialogueTest, PresetOrderIsUsedOnceAndZeroLeaves) {
  core::set_slot(slots::kVarOrderPreset, 2);
  run_var({4, 5, 1}, 1, "menu 1044 -> 0\n");
  EXPECT_EQ(core::slot(slots::kVarOrderPreset), slots::kUnset);
  EXPECT_EQ(core::slot(slots::kVarOrderChosen), 2);
  EXPECT_FALSE(transcript_has("integer"));
  dialog_script::reset();
  run_var({4}, 0, "integer \"Order of the AR model (At most 24, zero to quit) ?\" -> 0\n");
  EXPECT_FALSE(transcript_has("menu 2044"));
}

TEST_F(VarDialogueTest, CapacityAndSampleRefusals) {
  // 13 endogenous variables are refused before the order is asked; 12 are accepted.
  const auto add_copies = [](int count) {
    auto& g = core::globals();
    for (int j = 0; j < count; ++j) {
      const int v = ++g.nvars;
      core::set_variable(v, "C" + std::to_string(j), "");
      for (int t = 1; t <= g.nobs; ++t) core::data_at(t, v) = core::data_at(t, 3) * (j + 2) + t % (j + 3);
    }
  };
  add_copies(19);
  std::vector<int> thirteen;
  for (int v = 6; v < 19; ++v) thirteen.push_back(v);
  run_var(thirteen, 0, "");
  EXPECT_TRUE(transcript_has("A maximum of 12 variables allowed in the VAR!"));
  dialog_script::reset();
  thirteen.pop_back();
  run_var(thirteen, 0, "integer \"(At most 8,\" -> 0\n");
  EXPECT_FALSE(transcript_has("A maximum of"));
  // 19 deterministic variables are refused, 18 accepted: pmax = min(24, (102 − 18) div 1).
  std::vector<int> list = {3};
  for (int v = 6; v < 25; ++v) list.push_back(v);
  dialog_script::reset();
  run_var(list, 19, "");
  EXPECT_TRUE(transcript_has("A maximum of 18 deterministic variables allowed in the VAR!"));
  list.pop_back();
  dialog_script::reset();
  run_var(list, 18, "integer \"(At most 24,\" -> 0\n");
  EXPECT_FALSE(transcript_has("A maximum of"));
}

TEST_F(VarDialogueTest, TooShortSampleShowsMessageLineFive) {
  install_numbered_message_file(std::filesystem::path(std::string(fixed_text::trim(core::char_setting(charset::kTempFolder)))), 10);
  // Order 2 of two variables with an intercept needs n > (p + 1)·m + d = 7.
  core::globals().sample_end = 4 + 6;
  run_var({4, 5, 1}, 1, "integer -> 2\n");
  EXPECT_TRUE(transcript_has("Line 5"));
  dialog_script::reset();
  core::globals().sample_end = 4 + 7;
  run_var({4, 5, 1}, 1, "integer -> 2\nmenu 1044 -> 0\n");
  EXPECT_FALSE(transcript_has("Line 5"));
}

TEST_F(EngineTest, AtMost3000Observations) {
  // One variable over 3002 undated observations, order 1: observations 2..3001 are 3000.
  auto& g = core::globals();
  g.nobs = 3002;
  g.frequency = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  g.nvars = 1;
  core::set_variable(1, "Y", "");
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, 1) = (t * 7919) % 101 - 50.0;
  core::driver_state().equation = {1};
  for (const int end : {3002, 3001}) {
    dialog_script::reset();
    dialog_script::load("integer -> 1\nmenu 1044 -> 0\n");
    g.sample_start = 1;
    g.sample_end = end;
    int choice = multi::kVarChoice;
    int order_word = 0;
    multi::SYSTEMESTIMATE(choice, 0, order_word, {});
    const bool refused = transcript_has(
        "message error 0  You have included too many observations. A maximum of 3000 observations can be included.  Try "
        "another option in the next menu.");
    EXPECT_EQ(refused, end == 3002) << dialog_script::transcript_text();
    EXPECT_EQ(transcript_has("menu 2044"), end == 3001);
  }
}

TEST_F(VarDialogueTest, MissingExogenousValueStopsTheForecastWithItsNameAndDate) {
  core::globals().sample_end = 195;  // 2007Q4
  core::data_at(197, 1) = limits::kMissing;  // INPT at 2008Q2
  run_var({4, 5, 1}, 1,
          "integer \"Order of the VAR model\" -> 1\n"
          "menu 1044 -> 5 once\nmenu 1044 -> 0\n"
          "string \"Final observation\" -> \"2008Q4\"\n");
  EXPECT_TRUE(transcript_has("INPT is not defined at observation 2008Q2"));
  EXPECT_FALSE(transcript_has("Choose the variable you wish to forecast"));
}

TEST_F(VarDialogueTest, ForecastTableOfLevels) {
  core::globals().sample_end = 195;  // 2007Q4
  run_var({4, 5, 1}, 1,
          "integer \"Order of the VAR model\" -> 1\n"
          "menu 1044 -> 5 once\nmenu 1044 -> 0\n"
          "string \"Final observation\" -> \"2008Q4\"\n"
          "menu \"you wish to forecast\" -> \"DLC\" once\nmenu \"you wish to forecast\" -> \"None\"\n"
          "menu \"levels or changes\" -> \"Level of DLC\"\n"
          "menu 1046 -> 1 once\nmenu 1046 -> 3 once\nmenu 1046 -> 0\nresults -> close\n"
          "string \"Name and optional description\" -> \"DLCF fitted and forecast DLC\"\n");
  const auto page = last_page();
  // The saved series runs from the first observation of the estimation period to 2008Q4.
  ASSERT_EQ(core::globals().nvars, 6);
  EXPECT_EQ(core::data_at(3, 6), limits::kMissing);
  EXPECT_NE(core::data_at(4, 6), limits::kMissing);
  EXPECT_NE(core::data_at(199, 6), limits::kMissing);
  EXPECT_TRUE(page_has(page, "Multivariate dynamic forecasts for the level of DLC"));
  EXPECT_TRUE(page_has(page, "Summary Statistics for Residuals and Forecast Errors"));
  EXPECT_TRUE(page_has(page, "2008Q4"));
  EXPECT_TRUE(page_has(page, " Root Mean Sum Squares"));
}

TEST_F(EngineTest, HorizonQuestionRefusesOutOfRangeAnswers) {
  dialog_script::load("integer -> 151 once\ninteger -> -1 once\ninteger -> 150\n");
  EXPECT_EQ(multi::ask_horizon(multi::kOrthogonalResponses), 150);
  EXPECT_EQ(std::count(dialog_script::transcript().begin(), dialog_script::transcript().end(), "beep"), 2);
  EXPECT_TRUE(transcript_has("Horizon for impulse responses (Maximum  150 zero to quit)?"));
  dialog_script::load("integer -> 0\n");
  EXPECT_EQ(multi::ask_horizon(multi::kGeneralisedDecomposition), 0);
  EXPECT_TRUE(transcript_has("Horizon for variance decomposition analysis (Maximum"));
}

TEST_F(EngineTest, SevenColumnsMakeTwoBlocks) {
  multi::ResponseReport report;
  report.labels = {"A", "B", "C", "D", "E", "F", "G"};
  report.horizon = 2;
  report.table.assign(21, 0.5);
  report.title = "Seven";
  dialog_script::load("results -> close\n");
  multi::write_response_page(report);
  const auto page = dialog_script::pages().at(0);
  EXPECT_EQ(std::count_if(page.begin(), page.end(), [](const std::string& l) { return l.rfind(" Horizon", 0) == 0; }), 2);
  EXPECT_TRUE(page_has(page, " Horizon  A          B          C          D          E          F"));
  EXPECT_TRUE(page_has(page, " Horizon  G"));
}

}  // namespace
}  // namespace qorv::testing
