// The fully modified estimate reached from the options dialogue with scripted answers: its
// page against the hand transcriptions of the definition, and its refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/road/estimation_options.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/page_reading.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;
using qorv::testing::parse_number;
using qorv::testing::shows;
using qorv::testing::words;

namespace {

class PhillipsHansen : public qorv::testing::MacroTest {
 protected:
  /// The options dialogue's fully modified choice for `equation` over first..last.
  static std::string run(const std::vector<int>& equation, int first, int last, const std::string& script) {
    auto& g = core::globals();
    g.sample_start = first;
    g.sample_end = last;
    core::driver_state().equation = equation;
    dialog_script::reset();
    dialog_script::load(script);
    int next_step = 0, window = 0;
    bool back = false, repeat = false;
    road::SINGLEEQOPTIONS(next_step, core::kFullyModified, window, 0, back, repeat);
    return dialog_script::transcript_text();
  }

  static bool holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
};

TEST_F(PhillipsHansen, PageShowsTheFullyModifiedEstimates) {
  struct Case {
    std::vector<int> regressors;
    const char* case_name;
    const char* variant;
    const char* answers;
    const char* based_on;
    std::vector<std::string> labels;
  };
  const Case cases[] = {
      {{macro::kLy}, "FMOLS_LY", "BARTLETT_M4_NODRIFT", "menu 1011 -> 1\nmenu 1018 -> 2\ninteger -> 4\n",
       "Based on Newey-West adjusted S.E.'s Bartlett weights, truncation lag=4, Non-trended Case", {"LY"}},
      {{macro::kLy, macro::kR}, "FMOLS_LY_R", "PARZEN_M8_NODRIFT", "menu 1011 -> 1\nmenu 1018 -> 4\ninteger -> 8\n",
       "Based on Newey-West adjusted S.E.'s Parzen weights, truncation lag=8, Non-trended Case", {"LY", "R"}},
      {{macro::kLy, macro::kR}, "FMOLS_LY_R", "BARTLETT_M4_DRIFT", "menu 1011 -> 2\nmenu 1018 -> 2\ninteger -> 4\n",
       "Based on Newey-West adjusted S.E.'s Bartlett weights, truncation lag=4, Trended Case", {"LY", "R"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.variant);
    std::vector<int> equation = {macro::kLc};
    equation.insert(equation.end(), c.regressors.begin(), c.regressors.end());
    const std::string text =
        run(equation, 1, 196, std::string("strict\n") + c.answers + "results -> close\nmenu 1002 -> 0\n");
    ASSERT_EQ(estimation().status, status::kEstimated) << text;
    EXPECT_EQ(core::globals().sample_start, 1);  // the chosen sample is back
    EXPECT_EQ(core::slot(slots::kSingleEqOptionOut), c.variant[0] == 'P' ? 8 : 4);
    const auto rows = qorv::testing::reference_expected("single-extra", c.case_name);
    const std::string p = std::string(c.variant) + ":";
    const auto page = qorv::testing::last_page();
    EXPECT_LT(qorv::testing::find_line(page, "Fully Modified Phillips-Hansen Estimates"), page.size());
    EXPECT_LT(qorv::testing::find_line(page, c.based_on), page.size()) << text;
    EXPECT_LT(qorv::testing::find_line(page, "195 observations used for estimation from 1960Q2 to 2008Q4"),
              page.size());
    std::vector<std::string> labels = {"INTERCEPT"};
    labels.insert(labels.end(), c.labels.begin(), c.labels.end());
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const std::string key = i == 0 ? "INPT" : labels[i];
      std::vector<std::string> w;
      for (const auto& line : page)
        if (const auto cells = words(line); cells.size() == 4 && cells[0] == labels[i]) w = cells;
      ASSERT_EQ(w.size(), 4u) << labels[i];
      EXPECT_TRUE(shows(parse_number(w[1]), rows.at(p + "COEF:" + key))) << key;
      EXPECT_TRUE(shows(parse_number(w[2]), rows.at(p + "SE:" + key))) << key;
      // Unrounded, from the state.
      const int j = static_cast<int>(i) + 1;
      EXPECT_TRUE(qorv::testing::agrees(coefficient(j), rows.at(p + "COEF:" + key)));
      EXPECT_TRUE(qorv::testing::agrees(std::sqrt(coefficient_variance(j, j)), rows.at(p + "SE:" + key)));
    }
    const auto& s = estimation();
    EXPECT_TRUE(qorv::testing::agrees(s.sigma, rows.at(p + "SE_REG")));
    EXPECT_TRUE(qorv::testing::agrees(s.rss, rows.at(p + "RSS")));
    EXPECT_TRUE(qorv::testing::agrees(s.loglik, rows.at(p + "LL")));
  }
}

TEST_F(PhillipsHansen, RefusalsLeaveWorkspaceSampleAndSlotsAlone) {
  struct Case {
    const char* what;
    std::vector<int> equation;
    int first;
    int last;
    int preset;          ///< slot 24 before the run
    const char* script;  ///< answers
    const char* seen;    ///< in the transcript
    int status;
  };
  const Case cases[] = {
      {"an intercept among the regressors", {macro::kLc, macro::kIntercept, macro::kLy}, 1, 196, slots::kUnset,
       "", "Please do not include an intercept term among your regressors!", 1},
      {"n <= k + 1 once the first observation goes", {macro::kLc, macro::kLy, macro::kR}, 1, 3, slots::kUnset,
       "menu 1011 -> 1\nmenu 1018 -> 2\ninteger -> 0\n", "message", 1},
      {"a preset length out of range, then asked", {macro::kLc, macro::kLy}, 1, 196, 500,
       "menu 1011 -> 1\nmenu 1018 -> 2\ninteger -> 4\nresults -> close\nmenu 1002 -> 0\n",
       "beep\ninteger 0 Length of lag window? -> 4", 0},
      {"a preset 0 is a length", {macro::kLc, macro::kLy}, 1, 196, 0,
       "menu 1011 -> 1\nmenu 1018 -> 2\nresults -> close\nmenu 1002 -> 0\n", "truncation lag=0", 0},
      {"length n refused, n - 1 taken", {macro::kLc, macro::kLy}, 1, 196, slots::kUnset,
       "menu 1011 -> 1\nmenu 1018 -> 2\ninteger -> 195 once\ninteger -> 194\nresults -> close\nmenu 1002 -> 0\n",
       "-> 195\nbeep\n", 0},
      {"back from the drift menu", {macro::kLc, macro::kLy}, 1, 196, slots::kUnset, "menu 1011 -> 0\n",
       "Drift in Regressors", 1},
      {"back from the lag-window menu", {macro::kLc, macro::kLy}, 1, 196, slots::kUnset,
       "menu 1011 -> 1\nmenu 1018 -> 0\n", "Choose type of lag window", 1},
      {"cancel at the length", {macro::kLc, macro::kLy}, 1, 196, slots::kUnset,
       "menu 1011 -> 1\nmenu 1018 -> 2\ninteger -> cancel\n", "Length of lag window? -> cancel", 1},
      {"adjusted variances refused after the estimate", {macro::kLc, macro::kLy}, 1, 196, slots::kUnset,
       "menu 1011 -> 1\nmenu 1018 -> 2\ninteger -> 4\nresults -> close\nmenu 1002 -> 4 once\n"
       "menu 1003 -> 2 once\nmenu 1003 -> 0\nmenu 1002 -> 0\n",
       "This option or test is not available for the estimation method used.", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    core::set_slot(slots::kSingleEqOption, c.preset);
    const int nvars = core::globals().nvars;
    const double cell = core::data_at(1, macro::kLy);
    const std::string text = run(c.equation, c.first, c.last, c.script);
    EXPECT_TRUE(holds(text, c.seen)) << text;
    EXPECT_EQ(estimation().status, c.status) << text;
    EXPECT_EQ(core::globals().sample_start, c.first);
    EXPECT_EQ(core::globals().sample_end, c.last);
    EXPECT_EQ(core::slot(slots::kSingleEqOption), slots::kUnset);
    EXPECT_LE(core::globals().nvars, nvars + 1);  // at most the intercept variable
    EXPECT_EQ(core::data_at(1, macro::kLy), cell);
    core::set_slot(slots::kSingleEqOption, slots::kUnset);
  }
}

/// The longest samples: 3000 observations are estimated, 3001 refused, on a data set of
/// 3002 observations of a random walk x and y = x + noise.
class PhillipsHansenLimit : public qorv::testing::EngineTest {};

TEST_F(PhillipsHansenLimit, ThreeThousandObservationsAndNoMore) {
  auto& g = core::globals();
  g.nobs = 3002;
  g.nvars = 2;
  g.frequency = 1;
  g.periods_per_year = 1;
  g.start_year = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  core::set_variable(1, "Y", "");
  core::set_variable(2, "X", "");
  unsigned state = 99u;
  const auto uniform = [&state] {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) * (1.0 / 16777216.0) - 0.5;
  };
  double x = 0.0;
  for (int t = 1; t <= g.nobs; ++t) {
    x += uniform();
    core::data_at(t, 2) = x;
    core::data_at(t, 1) = 1.0 + x + 0.1 * uniform();
  }
  for (const int last : {3001, 3002}) {
    SCOPED_TRACE(last);
    g.sample_start = 2;
    g.sample_end = last;
    core::driver_state().equation = {1, 2};
    dialog_script::reset();
    dialog_script::load("menu 1011 -> 1\nmenu 1018 -> 2\ninteger -> 4\nresults -> close\nmenu 1002 -> 0\n");
    int next_step = 0, window = 0;
    bool back = false, repeat = false;
    road::SINGLEEQOPTIONS(next_step, core::kFullyModified, window, 0, back, repeat);
    const std::string text = dialog_script::transcript_text();
    EXPECT_EQ(estimation().status, last == 3001 ? status::kEstimated : status::kFailed) << text;
    if (last == 3001) EXPECT_NE(text.find("3000 observations used for estimation"), std::string::npos);
    else EXPECT_NE(text.find("Too many observations"), std::string::npos) << text;
    EXPECT_EQ(g.sample_start, 2);
    EXPECT_EQ(g.sample_end, last);
  }
}

}  // namespace
