// The single-equation options dialogue driven by scripted answers: method codes, their
// questions and refusals, the limits, the instruments and the estimate that follows.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/road/estimation_options.h"
#include "engine/single/estimation_state.h"
#include "engine/single/garch_estimate.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/page_reading.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
using namespace qorv::road;
namespace macro = qorv::testing::macro;

namespace {

/// What the dialogue handed back to the request driver.
struct Outcome {
  int next_step = 0;
  bool show_backtracking = false;
  bool repeat = false;
  std::string transcript;
};

class Options : public qorv::testing::MacroTest {
 protected:
  void SetUp() override {
    MacroTest::SetUp();
    core::driver_state().equation = {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR};
  }

  /// Runs the dialogue of `kind` with `script`.
  static Outcome run(int kind, const std::string& script, int trailing = 0) {
    dialog_script::reset();
    dialog_script::load(script);
    Outcome out;
    int window = core::driver_state().window;
    road::SINGLEEQOPTIONS(out.next_step, kind, window, trailing, out.show_backtracking, out.repeat);
    core::driver_state().window = window;
    out.transcript = dialog_script::transcript_text();
    return out;
  }

  static int beeps(const std::string& transcript) {
    int n = 0;
    for (size_t at = transcript.find("beep\n"); at != std::string::npos; at = transcript.find("beep\n", at + 1)) ++n;
    return n;
  }

  static bool holds(const std::string& transcript, const std::string& text) {
    return transcript.find(text) != std::string::npos;
  }
};

TEST_F(Options, LinearMenuChoicesGiveTheirCodesListsAndRefusals) {
  struct Row {
    const char* script;
    int code;                ///< METHODCODE afterwards (0: the dialogue left before setting one)
    std::vector<int> lags;   ///< ARMALAGS afterwards
    int beeps;
    const char* seen;        ///< a text of the transcript
    bool page = false;       ///< an estimate reached the results page
  };
  const Row rows[] = {
      {"menu 1014 -> 5\nstring -> \"1 2 3\"\nmenu 1023 -> 0\n", 6, {1, 2, 3}, 0,
       "Initial AR/MA parameter estimates -> 0"},
      {"menu 1014 -> 5\nstring -> \"1 3\"\nmenu 1023 -> 0\n", 7, {1, 3}, 0, "Initial AR/MA parameter estimates -> 0"},
      {"menu 1014 -> 7\nstring -> \"1 13\" once\nstring -> \"\"\n", 0, {}, 1,
       "string 0 Type the non-zero lags in the MA process in ascending order separated by space(s), at most 12 "
       "numbers (e. g. 3 5 9):"},
      {"menu 1014 -> 5\nstring -> \"4 51\" once\nstring -> \"4 50\"\nmenu 1023 -> 0\n", 7, {4, 50}, 1, "AR process"},
      {"menu 1014 -> 7\nstring -> \"0 1\" once\nstring -> \"3 1\" once\nstring -> \"1 2\"\nmenu 1023 -> 0\n", 10, {1, 2}, 2,
       "Initial AR/MA parameter estimates -> 0"},
      {"menu 1014 -> 3\ninteger -> 3 once\ninteger -> 2\nmenu 1023 -> 0\n", 4, {1, 2}, 1,
       "integer 0 Order of the autoregressive process (1-2)? -> 2"},
      {"menu 1014 -> 3\ninteger -> 1\n", 3, {1}, 0, "--- page", true},
      {"menu 1014 -> 4\ninteger -> 13 once\ninteger -> 12\nmenu 1023 -> 0\n", 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 1,
       "Initial AR/MA parameter estimates -> 0"},
      {"menu 1014 -> 8\nstring -> \"1 4\"\ntext -> \"INPT LY INFL R LC(-1)\"\nmenu 1023 -> 0\n", 13, {1, 4}, 0,
       "Initial AR/MA parameter estimates -> 0"},
      {"menu 1014 -> 9\nmenu 1017 -> 0\n", 70, {}, 0, "GARCH Estimation Menu -> 0"},
      {"menu 1014 -> 0\n", 0, {}, 0, "Estimation Menu (Linear Regression) -> 0"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.script);
    estimation().method = 0;
    estimation().arma_lags.clear();
    const Outcome out = run(core::kLinearRegression, r.script);
    EXPECT_EQ(estimation().method, r.code);
    EXPECT_EQ(estimation().arma_lags, r.lags);
    EXPECT_EQ(beeps(out.transcript), r.beeps) << out.transcript;
    EXPECT_TRUE(holds(out.transcript, r.seen)) << out.transcript;
    EXPECT_TRUE(out.show_backtracking);
    EXPECT_FALSE(out.repeat);
    EXPECT_EQ(holds(out.transcript, "--- page"), r.page) << out.transcript;
  }
}

TEST_F(Options, ParameterLimitCountsLagsAndRegressors) {
  // 100 regressors and 3 AR lags exceed 102; 99 and 3 do not, and go on to the estimator.
  for (const int k : {100, 99}) {
    SCOPED_TRACE(k);
    std::vector<int> equation(static_cast<size_t>(k) + 1, macro::kIntercept);
    equation[0] = macro::kLc;
    core::driver_state().equation = equation;
    const Outcome out = run(core::kLinearRegression, "menu 1014 -> 5\nstring -> \"1 2 3\"\nmenu 1023 -> 0\n");
    EXPECT_EQ(holds(out.transcript, "message error 0 Total number of parameters too large (>   102)"), k == 100)
        << out.transcript;
    EXPECT_EQ(holds(out.transcript, "Initial AR/MA parameter estimates"), k == 99);
  }
}

TEST_F(Options, SpaceAndObservationChecks) {
  // 3000 observations, 60 regressors and 12 AR lags: 150000 / 72 + 12 = 2095 < 3000.
  auto& g = core::globals();
  g.nobs = 3000;
  g.nvars = 2;
  g.frequency = 1;
  g.periods_per_year = 1;
  g.start_year = 1;
  g.century_base = 0;
  g.max_vars = limits::max_vars_for(g.nobs);
  for (int t = 1; t <= g.nobs; ++t) {
    core::data_at(t, 1) = t % 7;
    core::data_at(t, 2) = 1.0;
  }
  g.sample_start = 1;
  g.sample_end = 3000;
  std::vector<int> equation(61, 2);
  equation[0] = 1;
  core::driver_state().equation = equation;
  Outcome out = run(core::kLinearRegression, "menu 1014 -> 4\ninteger -> 12\n");
  EXPECT_TRUE(holds(out.transcript, "message error 0 Too many observations/variables (>  2095)")) << out.transcript;
  // OLS needs no room after the data; 60 observations for 60 regressors are too few.
  g.sample_end = 60;
  out = run(core::kLinearRegression, "menu 1014 -> 1\n");
  EXPECT_TRUE(holds(out.transcript, "Too few observations in the sample for the number of regressors.")) << out.transcript;
  EXPECT_FALSE(holds(out.transcript, "--- page"));
}

TEST_F(Options, OlsAndIvThroughTheMenuEstimateAndShowThePage) {
  const auto ex = qorv::testing::macro_expected("S");
  const char* names[] = {"INPT", "LY", "INFL", "R"};
  // IV with the regressors as their own instruments gives the OLS estimates.
  for (const char* script : {"menu 1014 -> 1\nresults -> close\nmenu 1002 -> 0\n",
                             "menu 1014 -> 2\ntext -> \"INPT LY INFL R\"\nresults -> close\nmenu 1002 -> 0\n"}) {
    SCOPED_TRACE(script);
    const Outcome out = run(core::kLinearRegression, script);
    const auto& s = estimation();
    ASSERT_EQ(s.status, status::kEstimated) << out.transcript;
    EXPECT_TRUE(out.show_backtracking);
    for (int j = 1; j <= 4; ++j) {
      SCOPED_TRACE(names[j - 1]);
      EXPECT_PRED2(qorv::testing::agrees, coefficient(j), ex.at(std::string("coef:") + names[j - 1]));
      EXPECT_PRED2(qorv::testing::agrees, std::sqrt(coefficient_variance(j, j)), ex.at(std::string("se:") + names[j - 1]));
    }
    EXPECT_PRED2(qorv::testing::agrees, s.rss, ex.at("RSS"));
    const auto page = qorv::testing::last_page();
    const bool iv = s.method == method::kIv;
    EXPECT_LT(qorv::testing::find_line(page, iv ? "Instrumental Variable Estimation" : "Ordinary Least Squares Estimation"),
              page.size());
    EXPECT_EQ(qorv::testing::find_line(page, " List of instruments:") < page.size(), iv);
  }
  EXPECT_EQ(estimation().instrnames, (std::vector<std::string>{"INPT", "LY", "INFL", "R"}));
  // The menu offers the last choice first, and slot 15 answers it once without the menu.
  core::set_slot(slots::kMethodPreset, 1);
  const Outcome out = run(core::kLinearRegression, "results -> close\nmenu 1002 -> 0\n");
  EXPECT_FALSE(holds(out.transcript, "Estimation Menu (Linear Regression)"));
  EXPECT_EQ(estimation().method, method::kOls);
  EXPECT_EQ(core::slot(slots::kMethodPreset), slots::kUnset);
}

TEST_F(Options, InstrumentsNeedRoomSampleAndEnoughOfThem) {
  // A full workspace refuses before the instruments are asked.
  auto& g = core::globals();
  g.max_vars = g.nvars;
  Outcome out = run(core::kLinearRegression, "menu 1014 -> 2\n");
  EXPECT_TRUE(holds(out.transcript, "The workspace is full: delete at least one variable")) << out.transcript;
  EXPECT_FALSE(holds(out.transcript, "text "));
  g.max_vars = limits::max_vars_for(g.nobs);
  // Too few instruments are refused on the screen; a cancel leaves.
  out = run(core::kLinearRegression, "menu 1014 -> 2\ntext -> \"INPT LY\" once\ntext -> cancel\n");
  EXPECT_TRUE(holds(out.transcript, "text 3002 List the instrument(s) (separated by spaces) -> \"INPT LY\""))
      << out.transcript;
  EXPECT_TRUE(holds(out.transcript, "List at least 4 instrument(s)!")) << out.transcript;
  EXPECT_FALSE(holds(out.transcript, "--- page"));
  // A lagged instrument drops the first observation, for this estimate only.
  out = run(core::kLinearRegression,
            "menu 1014 -> 2\ntext -> \"INPT LY INFL R LC(-1)\"\nresults -> close\nmenu 1002 -> 0\n");
  EXPECT_EQ(estimation().status, status::kEstimated) << out.transcript;
  EXPECT_EQ(estimation().nused, 195);
  EXPECT_EQ(estimation().ninstr, 5);
  EXPECT_EQ(g.sample_start, 1);
  EXPECT_TRUE(holds(out.transcript, "195 observations used for estimation from 1960Q2 to 2008Q4"));
}

TEST_F(Options, RollingWindowLengthAndItsSlots) {
  // 10 regressors over 100 observations: the window lies in 11..99.
  core::globals().sample_end = 100;
  std::vector<int> equation(11, macro::kIntercept);
  equation[0] = macro::kLc;
  core::driver_state().equation = equation;
  const std::string prompt = "integer 0 Window length( Minimum 11, Maximum 99, zero to quit) ?";
  Outcome out = run(core::kRolling,
                    "menu 1047 -> 1 once\ninteger -> 10 once\ninteger -> 100 once\ninteger -> 11\nmenu 1047 -> 0\n");
  EXPECT_TRUE(holds(out.transcript, prompt + " -> 11")) << out.transcript;
  EXPECT_EQ(beeps(out.transcript), 2);
  EXPECT_EQ(core::driver_state().window, 11);
  EXPECT_EQ(core::slot(slots::kSingleEqOptionOut), 11);
  // With a window set, rolling least squares is asked no length.
  out = run(core::kRolling, "menu 1047 -> 2\nmenu 1038 -> 0\n");
  EXPECT_FALSE(holds(out.transcript, "Window length")) << out.transcript;
  EXPECT_TRUE(holds(out.transcript, "menu 2038 Rolling Regression Result Menu"));
  EXPECT_EQ(estimation().method, method::kRollingOls);
  // Zero leaves; a preset in slot 24 is taken once instead of the question.
  core::driver_state().window = -999;
  out = run(core::kRolling, "menu 1047 -> 2\ninteger -> 0\n");
  EXPECT_FALSE(holds(out.transcript, "not available")) << out.transcript;
  core::set_slot(slots::kSingleEqOption, 50);
  out = run(core::kRolling, "menu 1047 -> 1 once\nmenu 1047 -> 0\n");
  EXPECT_FALSE(holds(out.transcript, "Window length")) << out.transcript;
  EXPECT_EQ(core::driver_state().window, 50);
  EXPECT_EQ(core::slot(slots::kSingleEqOption), slots::kUnset);
}

TEST_F(Options, FullyModifiedEstimateUsesOrCreatesTheIntercept) {
  auto& g = core::globals();
  const int nvars = g.nvars;
  Outcome out = run(core::kFullyModified, "");
  // The equation's own intercept is refused before any question.
  EXPECT_TRUE(holds(out.transcript, "Please do not include an intercept term among your regressors!")) << out.transcript;
  EXPECT_FALSE(holds(out.transcript, "menu 2011")) << out.transcript;
  ASSERT_EQ(g.nvars, nvars + 1);
  EXPECT_EQ(core::variable_name(nvars + 1), "INTERCEPT");
  for (int t = 1; t <= g.nobs; ++t) ASSERT_EQ(core::data_at(t, nvars + 1), 1.0);
  EXPECT_EQ(estimation().eqvarlist, core::driver_state().equation);  // the list is back as it was
  // A second request finds the variable (whatever its case) and creates none.
  core::set_variable(nvars + 1, "Intercept", "");
  run(core::kFullyModified, "");
  EXPECT_EQ(g.nvars, nvars + 1);
  // No room for it: message-file line 3.
  g.nvars = nvars;
  g.max_vars = nvars;
  out = run(core::kFullyModified, "");
  EXPECT_TRUE(holds(out.transcript, "The workspace is full")) << out.transcript;
  EXPECT_EQ(g.nvars, nvars);
}

TEST_F(Options, OtherKindsAskTheirOptionsAndRefuse) {
  struct Row {
    int kind;
    const char* script;
    int trailing;
    const char* seen;
    int next_step;
    bool repeat;
  };
  const Row rows[] = {
      {core::kRecursive, "menu 1035 -> 1\nmenu 1036 -> 0\n", 0, "menu 2036 Recursive OLS Regression Results Menu", 0,
       false},
      {core::kRecursive, "menu 1035 -> 2\ntext -> \"INPT LY INFL R\"\nmenu 1036 -> 0\n", 0,
       "menu 2036 Recursive  IV Regression Results Menu", 0, false},
      {core::kNonLinear, "menu 1034 -> 1\n", 0, "menu 2034", 9, true},
      {core::kArdl, "integer -> 0\n", 0, "Maximum lag to be used in model selection (At most", 0, false},
      {core::kLogitProbit, "", 0, "Dependent variable contains number(s) other than zeroes or ones!", 0, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.script);
    const Outcome out = run(r.kind, r.script, r.trailing);
    EXPECT_TRUE(holds(out.transcript, r.seen)) << out.transcript;
    EXPECT_EQ(out.next_step, r.next_step);
    EXPECT_EQ(out.repeat, r.repeat);
  }
  // ARDL refuses a lagged variable before "&", and takes one after it.
  core::driver_state().equation = {macro::kLc, macro::kIntercept, macro::kLcLag};
  Outcome out = run(core::kArdl, "");
  EXPECT_TRUE(holds(out.transcript, "message error 0  Variable LC(-1) is not valid for inclusion in the ARDL!"))
      << out.transcript;
  out = run(core::kArdl, "integer -> 0\n", 1);
  EXPECT_TRUE(holds(out.transcript, "Maximum lag to be used in model selection")) << out.transcript;
}

TEST_F(Options, GarchReSpecificationTakesGarchWithoutTheMenu) {
  options_memory().garch_again = true;
  const Outcome out = run(core::kLinearRegression, "menu 1017 -> 0\n");
  EXPECT_FALSE(holds(out.transcript, "menu 2014")) << out.transcript;
  EXPECT_TRUE(holds(out.transcript, "menu 2017 GARCH Estimation Menu -> 0"));
  EXPECT_EQ(estimation().method, method::kGarch);
  EXPECT_FALSE(options_memory().garch_again);
}

TEST_F(Options, GarchFailureAdviceHasThirteenLines) {
  MLFAILADVICE();
  const auto& lines = dialog_script::transcript();
  ASSERT_EQ(lines.size(), 1u + kMlFailAdviceLines);
  EXPECT_EQ(lines[0], "message long");
  EXPECT_EQ(lines[1], "    The failure of the GARCH estimation procedure may be due to:");
  EXPECT_EQ(lines[13], "       Scale up the observations and re-estimate.");
}

}  // namespace
