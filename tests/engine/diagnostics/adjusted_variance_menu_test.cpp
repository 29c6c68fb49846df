// Post Regression Menu option 4 walked through menus 1003 and 1033 with scripted answers:
// the pages against the sandwich reference values, and the refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
namespace macro = qorv::testing::macro;
namespace small = qorv::testing::small;
using qorv::testing::parse_number;
using qorv::testing::shows;
using qorv::testing::words;

namespace {

using dialog_script::page_has;

class AdjustedVarianceMenu : public qorv::testing::PostRegressionTest {};

using Page = std::vector<std::string>;

/// The first line of `page` of `count` words whose first word is `name` and whose second
/// is a number, as words.
std::vector<std::string> row(const Page& page, const std::string& name, std::size_t count) {
  for (const auto& line : page) {
    const auto w = words(line);
    if (w.size() == count && w[0] == name && w[1].find_first_of("0123456789") != std::string::npos) return w;
  }
  return {};
}

TEST_F(AdjustedVarianceMenu, PagesShowTheReferenceStandardErrorsAndMatrix) {
  qorv::testing::install_macro_data();
  const auto rows = qorv::testing::reference_expected("single-extra", "HAC_S");
  const std::vector<std::string> labels = {"INPT", "LY", "INFL", "R"};
  struct Case {
    int option;
    int m;
    const char* name;
    const char* based_on;
    const char* matrix_line;
  };
  const Case cases[] = {
      {2, 0, "WHITE", "Based on White's Heteroscedasticity adjusted S.E.'s",
       "Adjusted White's Heteroscedasticity-Consistent Estimates"},
      {4, 4, "NW_BARTLETT_M4", "Based on Newey-West adjusted S.E.'s Bartlett weights, truncation lag=4",
       "Newey-West adjusted estimates, Bartlett weights, truncation lag= 4"},
      {6, 12, "NW_PARZEN_M12", "Based on Newey-West adjusted S.E.'s Parzen weights, truncation lag=12",
       "Newey-West adjusted estimates, Parzen weights, truncation lag= 12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog_script::reset();
    std::string script = "strict\nresults -> close\nmenu 1002 -> 4\nmenu 1003 -> " + std::to_string(c.option) + "\n";
    if (c.option >= 3) script += "integer -> " + std::to_string(c.m) + "\n";
    script += "menu 1033 -> 1\nresults -> close\nmenu 1033 -> 2\nresults -> close\nmenu 1033 -> 0\n"
              "menu 1003 -> 0\nmenu 1002 -> 0\n";
    dialog_script::load(script);
    estimate({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, 196);
    diagnostics::POSTREGRESSION();
    const auto shown = pages();
    ASSERT_EQ(shown.size(), 3u);
    const Page& table = shown[1];
    EXPECT_TRUE(page_has(table, c.based_on));
    for (const std::string& l : labels) {
      const auto w = row(table, l, 4);
      ASSERT_EQ(w.size(), 4u) << l;
      EXPECT_TRUE(shows(parse_number(w[1]), rows.at("COEF:" + l)));
      EXPECT_TRUE(shows(parse_number(w[2]), rows.at(std::string(c.name) + ":SE:" + l))) << l;
      EXPECT_TRUE(shows(parse_number(w[3].substr(0, w[3].find('['))), rows.at(std::string(c.name) + ":T:" + l))) << l;
    }
    const Page& matrix = shown[2];
    EXPECT_TRUE(page_has(matrix, c.matrix_line));
    EXPECT_TRUE(page_has(matrix, "OLS regression of LC on:"));
    for (std::size_t i = 0; i < labels.size(); ++i) {
      const auto w = row(matrix, labels[i], 5);
      ASSERT_EQ(w.size(), 5u) << labels[i];
      for (std::size_t j = 0; j < labels.size(); ++j) {
        const std::string key = std::string(c.name) + ":VCOV:" + labels[std::max(i, j)] + ":" + labels[std::min(i, j)];
        EXPECT_TRUE(shows(parse_number(w[j + 1]), rows.at(key))) << key;
      }
    }
    EXPECT_EQ(core::globals().adjusted_variance_kind, 1);  // going back resets the words
    EXPECT_EQ(core::globals().truncation_lag, 0);
  }
}

TEST_F(AdjustedVarianceMenu, StandardMatrixThenTheMenuAgain) {
  dialog_script::load("strict\nresults -> close\nmenu 1002 -> 4\nmenu 1003 -> 1\nresults -> close\n"
                      "menu 1003 -> 0\nmenu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const auto& s = single::estimation();
  const auto shown = pages();
  ASSERT_EQ(shown.size(), 2u);
  const auto w = row(shown[1], "X", 3);
  ASSERT_EQ(w.size(), 3u);
  const double var_x = single::coefficient_variance(2, 2);
  EXPECT_NEAR(parse_number(w[2]).value, var_x, 1e-4 * var_x + parse_number(w[2]).unit);
  EXPECT_GT(s.sigma, 0.0);
  std::vector<int> offered;
  for (const auto& c : dialog_script::calls())
    if (c.kind == "menu" && c.help_context == 2003) offered.push_back(c.detail);
  EXPECT_EQ(offered, (std::vector<int>{2, 2}));  // OLS offers White first, also when shown again
}

TEST_F(AdjustedVarianceMenu, RefusalsAndTheTruncationPrompt) {
  struct Case {
    const char* what;
    int method;
    const char* script;
    const char* transcript;  ///< in the transcript; nullptr: message-file line 33
  };
  const Case cases[] = {
      {"a method without an adjusted matrix", single::method::kPhillipsHansen,
       "menu 1002 -> 4 once\nmenu 1003 -> 3 once\nmenu 1003 -> 0\n", nullptr},
      {"truncation n refused, n - 1 taken", single::method::kOls,
       "menu 1002 -> 4 once\nmenu 1003 -> 5 once\ninteger -> 12 once\ninteger -> 11\nmenu 1033 -> 0\nmenu 1003 -> 0\n",
       "-> 12\nbeep\n"},
      {"cancel at the truncation prompt", single::method::kOls,
       "menu 1002 -> 4 once\nmenu 1003 -> 3 once\ninteger -> cancel\nmenu 1003 -> 0\n", "-> cancel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog_script::reset();
    dialog_script::load(std::string("results -> close\n") + c.script + "menu 1002 -> 0\n");
    estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
    single::estimation().method = c.method;
    const auto before = single::estimation().variance;
    diagnostics::POSTREGRESSION();
    const std::string seen = c.transcript ? std::string(c.transcript) : message_line(33);
    EXPECT_NE(dialog_script::transcript_text().find(seen), std::string::npos) << seen;
    EXPECT_EQ(single::estimation().variance, before);
    EXPECT_EQ(core::globals().adjusted_variance_kind, 1);
  }
}

}  // namespace
