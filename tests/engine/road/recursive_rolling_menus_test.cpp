// The recursive and rolling result menus driven by scripted answers: every series saved
// through them against the reference, and the menus' edge cases.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/obs_label.h"
#include "engine/core/workspace.h"
#include "engine/road/estimation_options.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"
#include "shared/temp_files.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/scratch_folder.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;
using qorv::testing::Expected;

namespace {

class ResultMenus : public qorv::testing::MacroTest {
 protected:
  void SetUp() override {
    MacroTest::SetUp();
    core::driver_state().equation = {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR};
  }

  /// Runs the options dialogue of `kind` with `script`; the transcript.
  static std::string run(int kind, const std::string& script) {
    dialog_script::reset();
    dialog_script::load(script);
    int next_step = 0, window = core::driver_state().window;
    bool show_backtracking = false, repeat = false;
    road::SINGLEEQOPTIONS(next_step, kind, window, 0, show_backtracking, repeat);
    return dialog_script::transcript_text();
  }

  /// Script lines that save a series: the menu choice, the regressor (when asked) and the name.
  static std::string save(int menu, int choice, const std::string& regressor, const std::string& name) {
    std::string s = "menu " + std::to_string(menu) + " -> " + std::to_string(choice) + "\n";
    if (!regressor.empty()) s += "menu \"Choose Regressor\" -> \"" + regressor + "\"\n";
    return s + "string -> \"" + name + "\"\n";
  }

  /// Checks the saved variable `name` against the rows "<quantity>:<label>" over the
  /// observations 1..196 (missing where no row is, and where the row is NA); `square`
  /// compares the squared saved values. Returns the rows seen.
  static int check(const std::map<std::string, Expected>& ex, const std::string& quantity, const std::string& name,
                   bool square = false) {
    const int v = core::find_variable(name);
    EXPECT_NE(v, 0) << name;
    if (v == 0) return 0;
    int seen = 0;
    for (int t = 1; t <= 196; ++t) {
      const std::string label = qorv::testing::trim(core::OBSLABEL(t));
      const auto it = ex.find(quantity + ":" + label);
      double x = core::data_at(t, v);
      if (it == ex.end() || it->second.value == limits::kMissing) {
        EXPECT_EQ(x, limits::kMissing) << quantity << " " << label;
        seen += it != ex.end();
        continue;
      }
      ++seen;
      if (square && x != limits::kMissing) x *= x;
      EXPECT_PRED2(qorv::testing::agrees, x, it->second) << quantity << " " << label;
    }
    return seen;
  }
};

const std::vector<std::string> kNames = {"INPT", "LY", "INFL", "R"};

TEST_F(ResultMenus, RecursiveSeriesSavedThroughTheMenuAgreeWithTheReference) {
  std::string script = "strict\nmenu 1035 -> 1\n";
  for (size_t j = 0; j < kNames.size(); ++j) {
    script += save(1036, 3, kNames[j], "RC" + std::to_string(j));
    script += save(1036, 4, kNames[j], "RS" + std::to_string(j));
  }
  script += save(1036, 5, "", "RSE") + save(1036, 6, "", "RRES") + save(1036, 7, "", "RPRED");
  script += "menu 1036 -> 8\ntext -> \"INPT LY INFL R\"\nstring -> \"RPRED2\"\nmenu 1036 -> 0\n";
  const std::string transcript = run(core::kRecursive, script);
  const auto ex = qorv::testing::single_extra_expected("REC_S");
  int rows = 0;
  for (size_t j = 0; j < kNames.size(); ++j) {
    rows += check(ex, "REC_COEF:" + kNames[j], "RC" + std::to_string(j));
    rows += check(ex, "REC_SE:" + kNames[j], "RS" + std::to_string(j));
  }
  rows += check(ex, "REC_S2", "RSE", true);
  rows += check(ex, "REC_RESID", "RRES");
  rows += check(ex, "REC_PRED", "RPRED");
  rows += check(ex, "REC_PRED", "RPRED2");
  EXPECT_EQ(rows, 768 + 764 + 192 + 191 + 2 * 191) << transcript;
  EXPECT_NE(transcript.find("string 0 Name and optional description for saved recursive coefficient:"),
            std::string::npos);
}

TEST_F(ResultMenus, RollingSeriesSavedThroughTheMenuAgreeWithTheReference) {
  // RZ = R, but 0 from 1980Q1 to 1984Q4.
  auto& g = core::globals();
  g.nvars = 7;
  core::set_variable(7, "RZ", "");
  for (int t = 1; t <= 196; ++t) core::data_at(t, 7) = t >= 81 && t <= 100 ? 0.0 : core::data_at(t, macro::kR);
  struct Case {
    std::string name;
    int h;
    std::vector<std::string> regs;
  };
  for (const Case& c : {Case{"ROLL_S40", 40, kNames}, Case{"ROLL_RZ12", 12, {"INPT", "LY", "RZ"}}}) {
    SCOPED_TRACE(c.name);
    std::vector<int> equation = {macro::kLc};
    for (const auto& r : c.regs) equation.push_back(core::find_variable(r));
    core::driver_state().equation = equation;
    core::driver_state().window = c.h;
    std::string script = "strict\nmenu 1047 -> 2\n";
    for (size_t j = 0; j < c.regs.size(); ++j) {
      script += save(1038, 3, c.regs[j], c.name.substr(5) + "C" + std::to_string(j));
      script += save(1038, 4, c.regs[j], c.name.substr(5) + "S" + std::to_string(j));
    }
    script += save(1038, 5, "", c.name.substr(5) + "SIG") + "menu 1038 -> 0\n";
    const std::string transcript = run(core::kRolling, script);
    const auto ex = qorv::testing::single_extra_expected(c.name);
    int rows = 0;
    for (size_t j = 0; j < c.regs.size(); ++j) {
      rows += check(ex, "ROLL_COEF:" + c.regs[j], c.name.substr(5) + "C" + std::to_string(j));
      rows += check(ex, "ROLL_SE:" + c.regs[j], c.name.substr(5) + "S" + std::to_string(j));
    }
    rows += check(ex, "ROLL_SIGMA", c.name.substr(5) + "SIG");
    const int windows = 196 - c.h + 1;
    EXPECT_EQ(rows, windows * (2 * static_cast<int>(c.regs.size()) + 1)) << transcript;
    EXPECT_TRUE(estimation().rolling_results);
    EXPECT_EQ(estimation().nused, 196);
  }
}

TEST_F(ResultMenus, EdgeCases) {
  const zv_test::ScratchFolder folder("zv-rolling");
  core::set_char_setting(charset::kTempFolder, folder.string() + "/");
  auto& g = core::globals();
  const auto plot = [&folder](int n) { return plot_file::read(folder / temp_files::plot_file_name(n)); };
  std::string t;

  // h = N: one window, its values dated at the last observation.
  core::driver_state().window = 196;
  t = run(core::kRolling, "strict\nmenu 1047 -> 2\n" + save(1038, 5, "", "ONE") + "menu 1038 -> 0\n");
  const int one = core::find_variable("ONE");
  ASSERT_NE(one, 0) << t;
  for (int i = 1; i < 196; ++i) EXPECT_EQ(core::data_at(i, one), limits::kMissing);
  EXPECT_NE(core::data_at(196, one), limits::kMissing);

  // A preset in slot 15 answers menu 1047 once; the next call shows the menu.
  core::driver_state().window = 40;
  core::set_slot(slots::kMethodPreset, 0);
  t = run(core::kRolling, "strict\n");
  EXPECT_EQ(core::slot(slots::kMethodPreset), slots::kUnset);
  t = run(core::kRolling, "strict\nmenu 1047 -> 0\n");

  // N − m = 7 (12 observations, m = 5): the plots start one estimate after the first,
  // at observation 6; the bands start with the standard errors (observation 6 too).
  g.sample_end = 12;
  t = run(core::kRecursive, "strict\nmenu 1035 -> 1\nmenu 1036 -> 1\nmenu \"Choose Regressor\" -> \"LY\"\n"
                            "menu 1036 -> 2\nmenu 1036 -> 0\n");
  auto coef = plot(1), regression = plot(2);
  ASSERT_TRUE(coef && regression) << t;
  EXPECT_EQ(coef->title, "Coef. of LY and its 2 S.E. bands based on recursive OLS");
  EXPECT_EQ(regression->title, "Plot of the regression standard errors of recursive OLS");
  EXPECT_EQ(coef->points, 7);
  EXPECT_EQ(coef->first_period, 2);  // 1961Q2, observation 6
  ASSERT_EQ(coef->series.size(), 3u);
  EXPECT_NE(coef->series[1].values[0], limits::kMissing);
  g.sample_end = 196;

  // Cancelling the choice of a regressor or of the variables returns to the menu.
  t = run(core::kRecursive, "strict\nmenu 1035 -> 1\nmenu 1036 -> 3\nmenu \"Choose Regressor\" -> cancel\n"
                            "menu 1036 -> 8\ntext -> cancel\nmenu 1036 -> 0\n");
  EXPECT_EQ(t.find("Name and optional description"), std::string::npos) << t;

  // A plot-availability word of 0: choices 1 and 2 show the menu again.
  core::driver_state().plot_availability = 0;
  t = run(core::kRecursive, "strict\nmenu 1035 -> 1\nmenu 1036 -> 1\nmenu 1036 -> 2\nmenu 1036 -> 0\n");
  t = run(core::kRolling, "strict\nmenu 1047 -> 3\ntext -> \"INPT LY INFL R\"\nmenu 1038 -> 1\nmenu 1038 -> 0\n");
  EXPECT_NE(t.find("menu 2038 Rolling Regression Result Menu -> 1"), std::string::npos) << t;
  core::driver_state().plot_availability = 6;

  // Rolling IV plot with a singular stretch: gaps in the coefficient and its bands.
  g.nvars = 7;
  core::set_variable(7, "RZ", "");
  for (int i = 1; i <= 196; ++i) core::data_at(i, 7) = i >= 81 && i <= 100 ? 0.0 : core::data_at(i, macro::kR);
  core::driver_state().equation = {macro::kLc, macro::kIntercept, macro::kLy, 7};
  core::driver_state().window = 12;
  t = run(core::kRolling, "strict\nmenu 1047 -> 3\ntext -> \"INPT LY RZ\"\nmenu 1038 -> 1\n"
                          "menu \"Choose Regressor\" -> \"RZ\"\nmenu 1038 -> 2\n"
                          "menu 1038 -> 0\n");
  coef = plot(3);
  regression = plot(4);
  ASSERT_TRUE(coef && regression) << t;
  EXPECT_EQ(coef->title, "Coefficient of RZ and its two*S.E. bands based on rolling IV");
  EXPECT_EQ(regression->title, "Plot of standard errors of rolling IV regressions");
  EXPECT_EQ(coef->points, 185);
  int gaps = 0;
  for (size_t i = 0; i < 185; ++i) {
    const bool gap = plot_file::is_missing(coef->series[0].values[i]);
    gaps += gap;
    EXPECT_EQ(plot_file::is_missing(coef->series[1].values[i]), gap);
    EXPECT_EQ(plot_file::is_missing(regression->series[0].values[i]), gap);
  }
  EXPECT_EQ(gaps, 9);

  // Collinear to the end: the message, no menu.
  core::driver_state().equation = {macro::kLc, macro::kIntercept, macro::kIntercept};
  t = run(core::kRecursive, "strict\nmenu 1035 -> 1\n");
  EXPECT_NE(t.find("First 195 regressions are collinear!"), std::string::npos) << t;
  EXPECT_EQ(t.find("menu 2036"), std::string::npos);
}

}  // namespace
