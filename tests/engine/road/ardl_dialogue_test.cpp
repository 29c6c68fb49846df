// The ARDL dialogue driven by scripted answers: the reference case ARDL_LC walked through
// both menus, its pages and the state each page leaves, the workspace afterwards, and the
// dialogue's refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/road/estimation_options.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;

namespace {

class ArdlDialogue : public qorv::testing::MacroTest {
 protected:
  void SetUp() override {
    MacroTest::SetUp();
    core::driver_state().equation = {macro::kLc, macro::kLy, macro::kR, macro::kIntercept};
  }

  /// Runs the ARDL options with `script` (the last `trailing` entries deterministic).
  static std::string run(const std::string& script, int trailing = 1) {
    dialog_script::reset();
    dialog_script::load(script);
    int next_step = 0, window = 0;
    bool show_backtracking = false, repeat = false;
    road::SINGLEEQOPTIONS(next_step, core::kArdl, window, trailing, show_backtracking, repeat);
    return dialog_script::transcript_text();
  }

  /// Names, descriptions and data of every variable.
  struct Snapshot {
    int nvars = 0;
    std::vector<std::string> names, descriptions;
    std::vector<double> data;
    bool operator==(const Snapshot&) const = default;
  };
  static Snapshot snapshot() {
    Snapshot s;
    s.nvars = core::globals().nvars;
    for (int v = 1; v <= s.nvars; ++v) {
      s.names.push_back(core::variable_name(v));
      s.descriptions.push_back(core::variable_desc(v));
      for (int t = 1; t <= core::globals().nobs; ++t) s.data.push_back(core::data_at(t, v));
    }
    return s;
  }

  static bool page_holds(const std::vector<std::string>& page, const std::string& text) {
    for (const auto& line : page)
      if (line.find(text) != std::string::npos) return true;
    return false;
  }
};

TEST_F(ArdlDialogue, SchwarzChoiceThroughEveryPage) {
  const auto ex = qorv::testing::single_extra_expected("ARDL_LC");
  const Snapshot before = snapshot();
  const std::string transcript = run(
      "strict\n"
      "integer \"Maximum lag\" -> 4\n"
      "menu 1006 -> 4\n"
      "menu 1028 -> 1\nresults -> close\nmenu 1002 -> 0\n"
      "menu 1028 -> 2\nresults -> close\nmenu 1002 -> 0\n"
      "menu 1028 -> 3\nresults -> close\nmenu 1002 -> 0\n"
      "menu 1028 -> 0\nmenu 1006 -> 0\n");
  EXPECT_EQ(transcript.find("yesno"), std::string::npos) << "125 models ask nothing";
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 3u) << transcript;
  // The ARDL(3,2,1) estimates: title lines, LL and SBC of the reference model.
  EXPECT_TRUE(page_holds(pages[0], "Autoregressive Distributed Lag Estimates"));
  EXPECT_TRUE(page_holds(pages[0], "ARDL(3,2,1) selected based on Schwarz Bayesian Criterion"));
  EXPECT_TRUE(page_holds(pages[0], "742.6874")) << "LL";
  EXPECT_TRUE(page_holds(pages[0], "192 observations used for estimation from 1961Q1 to 2008Q4"));
  // The long-run page: θ and its standard error at the printed precision.
  EXPECT_TRUE(page_holds(pages[1], "Estimated Long Run Coefficients using the ARDL Approach"));
  EXPECT_TRUE(page_holds(pages[1], "1.0275")) << "theta LY";
  EXPECT_TRUE(page_holds(pages[1], ".0059768")) << "theta_se LY";
  // The error-correction page: the same LL, and ecm(-1) with its standard error.
  EXPECT_TRUE(page_holds(pages[2], "Error Correction Representation for the Selected ARDL Model"));
  EXPECT_TRUE(page_holds(pages[2], "742.6874"));
  EXPECT_TRUE(page_holds(pages[2], "-.15016")) << "ecm(-1)";
  EXPECT_TRUE(page_holds(pages[2], ".027524"));
  EXPECT_TRUE(page_holds(pages[2], "R-Squared and R-Bar-Squared measures refer to the dependent variable dLC"));
  // The error-correction estimate stays in the state, unrounded.
  const auto& s = estimation();
  const std::vector<std::string> names = {"dLY", "dR", "dLC1", "dLC2", "dLY1"};
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_PRED2(qorv::testing::agrees, coefficient(static_cast<int>(i) + 1), ex.at("ECM_SBC:COEF:" + names[i]));
    EXPECT_PRED2(qorv::testing::agrees, std::sqrt(coefficient_variance(static_cast<int>(i) + 1, static_cast<int>(i) + 1)),
                 ex.at("ECM_SBC:SE:" + names[i]));
  }
  EXPECT_PRED2(qorv::testing::agrees, coefficient(7), ex.at("ECM_SBC:COEF:ecm(-1)"));
  EXPECT_PRED2(qorv::testing::agrees, s.loglik, ex.at("LL:3-2-1"));
  // Everything the dialogue made is gone, and the sample is back.
  EXPECT_TRUE(snapshot() == before);
  EXPECT_EQ(core::globals().sample_start, 1);
  EXPECT_EQ(core::slot(slots::kSingleEqOptionOut), 4);
}

TEST_F(ArdlDialogue, LongRunUnrounded) {
  const auto ex = qorv::testing::single_extra_expected("ARDL_LC");
  run("strict\ninteger -> 4\nmenu 1006 -> 3\nmenu 1028 -> 2\nresults -> close\nmenu 1002 -> 0\n"
      "menu 1028 -> 0\nmenu 1006 -> 0\n");
  const std::vector<std::string> names = {"LY", "R", "INPT"};
  for (size_t i = 0; i < names.size(); ++i) {
    const int j = static_cast<int>(i) + 1;
    EXPECT_PRED2(qorv::testing::agrees, coefficient(j), ex.at("LR_AIC:THETA:" + names[i]));
    EXPECT_PRED2(qorv::testing::agrees, std::sqrt(coefficient_variance(j, j)), ex.at("LR_AIC:THETA_SE:" + names[i]));
  }
}

TEST_F(ArdlDialogue, ASeriesSavedInsideTheEstimatesStaysAndTheTemporariesGo) {
  const Snapshot before = snapshot();
  run("strict\ninteger -> 4\nmenu 1006 -> 4\nmenu 1028 -> 1\nresults -> close\n"
      "menu 1002 -> 3\nmenu 1037 -> 6\nstring -> \"RES1 residuals of the ARDL model\"\nmenu 1037 -> 0\nmenu 1002 -> 0\n"
      "menu 1028 -> 0\nmenu 1006 -> 0\n");
  const Snapshot after = snapshot();
  ASSERT_EQ(after.nvars, before.nvars + 1);
  EXPECT_EQ(after.names.back(), "RES1");
  EXPECT_FALSE(core::is_temporary(after.nvars));
  for (int v = 0; v < before.nvars; ++v) EXPECT_EQ(after.names[static_cast<size_t>(v)], before.names[static_cast<size_t>(v)]);
  // Residuals of the ARDL(3,2,1) fit over 1961Q1-2008Q4, missing before.
  const int res = core::find_variable("RES1");
  EXPECT_EQ(core::data_at(4, res), limits::kMissing);
  EXPECT_NE(core::data_at(5, res), limits::kMissing);
  EXPECT_TRUE(std::equal(before.data.begin(), before.data.end(), after.data.begin()));
}

TEST_F(ArdlDialogue, EdgeCases) {
  struct Case {
    const char* what;
    std::vector<int> equation;
    int trailing;
    std::string script;
    std::vector<std::string> seen;
  };
  std::vector<int> eleven(12, macro::kLy);
  eleven[0] = macro::kLc;
  std::vector<int> nineteen = {macro::kLc, macro::kLy};
  nineteen.insert(nineteen.end(), 19, macro::kIntercept);
  const std::vector<Case> cases = {
      {"K = 3, p = 5 asks; No asks the lag again", {macro::kLc, macro::kLy, macro::kR, macro::kIntercept}, 1,
       "strict\ninteger -> 5\nyesno -> no\ninteger -> 0\n",
       {"involves more than 125 regressions", "At most 24, zero to quit"}},
      {"a preset above the bound is used once", {macro::kLc, macro::kLy, macro::kR, macro::kIntercept}, 1,
       "strict\ninteger -> 0\n", {"beep"}},
      {"K = 11 refused", eleven, 1, "", {" A maximum of 10 variables allowed in the ARDL model!"}},
      {"s = 19 refused", nineteen, 19, "", {" A maximum of 18 strictly exogenous variables allowed!"}},
      {"a lone variable refused", {macro::kLc}, 0, "", {"It is not possible to carry out analysis for a single variable only!"}},
      {"orders typed: a wrong count and an order above p beep",
       {macro::kLc, macro::kLy, macro::kR, macro::kIntercept}, 1,
       "strict\ninteger -> 4\nmenu 1006 -> 6\nstring -> \"2 0\"\nstring -> \"2 0 5\"\n"
       "string -> \"2 0 1\"\nmenu 1028 -> 1\nresults -> close\nmenu 1002 -> 0\nmenu 1028 -> 0\nmenu 1006 -> 0\n",
       {"ARDL(2,0,1) selected", "Order of the ARDL Model chosen by you"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::driver_state().equation = c.equation;
    if (std::string(c.what).find("preset") != std::string::npos) core::set_slot(slots::kSingleEqOption, 30);
    const Snapshot before = snapshot();
    const std::string transcript = run(c.script, c.trailing);
    for (const auto& text : c.seen) EXPECT_NE(transcript.find(text), std::string::npos) << text << "\n" << transcript;
    EXPECT_TRUE(snapshot() == before);
  }
}

}  // namespace
