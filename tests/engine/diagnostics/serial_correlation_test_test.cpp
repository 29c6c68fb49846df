// The serial-correlation test of a chosen order: its page and its statistic block.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/serial_correlation_test.h"
#include "engine/single/estimation_state.h"
#include "engine/single/result_report.h"
#include "tests/engine/diagnostics/estimate_fixture.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::diagnostics;
using qorv::testing::columns;
using qorv::testing::parse_number;
using qorv::testing::shows;
using qorv::testing::trim;
namespace macro = qorv::testing::macro;

namespace {

const std::vector<int> kStatic = {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR};

class SerialCorrelation : public qorv::testing::EstimateTest {
 protected:
  static std::string find(const std::vector<std::string>& lines, const std::string& start) {
    const auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(start); });
    return it == lines.end() ? std::string() : *it;
  }
};

}  // namespace

TEST_F(SerialCorrelation, OrderFourPageShowsTheReferenceStatistics) {
  const auto ex = qorv::testing::macro_expected("S");
  estimate_ols(kStatic, 1, 196);
  const auto before = single::estimation().result;
  bool ok = false;
  const auto lines = page([&] { ok = SERIALCORRELATIONTEST(4, core::channel::kResultsPage); });
  ASSERT_TRUE(ok);
  EXPECT_EQ(trim(lines.at(0)), "Test of Serial Correlation of Residuals (OLS case)");
  EXPECT_EQ(trim(find(lines, " Dependent variable is")), "Dependent variable is LC");
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
    return trim(l) == "196 observations used for estimation from 1960Q1 to 2008Q4";
  }));
  for (int j = 1; j <= 4; ++j) EXPECT_NE(find(lines, "  OLS RES(-" + std::to_string(j) + ")"), "") << j;
  const std::string lm = find(lines, " Lagrange Multiplier Statistic");
  EXPECT_EQ(columns(lm, 35, 45), "CHSQ(   4)=");
  EXPECT_TRUE(shows(parse_number(columns(lm, 46, 54)), ex.at("A_LM")));
  EXPECT_EQ(columns(lm, 55, 55) + columns(lm, 60, 60), "[]");
  EXPECT_TRUE(shows(parse_number(columns(lm, 56, 59)), ex.at("A_LM_PROB")));
  const std::string f = find(lines, " F Statistic");
  EXPECT_EQ(columns(f, 32, 43), "F(  4, 188)=");
  EXPECT_TRUE(shows(parse_number(columns(f, 44, 52)), ex.at("A_F")));
  EXPECT_TRUE(shows(parse_number(columns(f, 54, 57)), ex.at("A_F_PROB")));
  // The block closes the page between two rules, and the estimate is untouched.
  EXPECT_EQ(lines.back(), std::string(79, '*'));
  EXPECT_EQ(single::estimation().result, before);
  EXPECT_EQ(single::estimation().nregs, 4);
  EXPECT_EQ(single::estimation().eqvarnames.size(), 5u);
}

TEST_F(SerialCorrelation, TableRowsAreThoseOfTheRegressionWithTheLaggedResiduals) {
  estimate_ols(kStatic, 1, 196);
  const auto lines = page([] { SERIALCORRELATIONTEST(2, core::channel::kResultsPage); });
  // The same regression by least squares on the lagged residuals stored as variables.
  auto& g = core::globals();
  const std::vector<double> e(single::series_block(single::block::kResiduals).begin(),
                              single::series_block(single::block::kResiduals).end());
  g.nvars = 8;
  core::set_variable(7, "E1", "");
  core::set_variable(8, "E2", "");
  for (int t = 1; t <= 196; ++t) {
    core::data_at(t, 7) = t > 1 ? e[static_cast<size_t>(t - 2)] : 0.0;
    core::data_at(t, 8) = t > 2 ? e[static_cast<size_t>(t - 3)] : 0.0;
  }
  estimate_ols({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR, 7, 8}, 1, 196);
  const auto augmented = page([] { single::REGRESSIONTABLE(50, core::channel::kResultsPage); });
  const auto rows = [](const std::vector<std::string>& page_lines) {
    std::vector<std::string> numbers;
    bool in = false;
    for (const auto& l : page_lines) {
      if (l.find("T-Ratio[Prob]") != std::string::npos) in = true;
      else if (in && l.starts_with("*")) break;
      else if (in) numbers.push_back(columns(l, 25, 78));
    }
    return numbers;
  };
  EXPECT_EQ(rows(lines), rows(augmented));
  EXPECT_EQ(rows(lines).size(), 6u);
}

TEST_F(SerialCorrelation, AnOrderBeyondTheDegreesOfFreedomIsRefused) {
  estimate_ols(kStatic, 1, 8);  // n − k = 4
  bool ok = true;
  const auto lines = page([&] { ok = SERIALCORRELATIONTEST(4, core::channel::kResultsPage); });
  EXPECT_FALSE(ok);
  EXPECT_TRUE(lines.empty());
  const auto& transcript = dialog_script::transcript();
  EXPECT_TRUE(std::any_of(transcript.begin(), transcript.end(),
                          [](const std::string& l) { return l.starts_with("message"); }));
}

TEST_F(SerialCorrelation, SarganBlockByMethodGroup) {
  const std::string stars(79, '*');
  auto lines = page([] { SARGANTEST(single::method::kIv, 3.0, 2, 50, 3, core::channel::kResultsPage); });
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], stars);
  // Chi-squared on 2: exp(−3/2) = .223.
  EXPECT_EQ(lines[1], " Sargan's test statistic for serial correlation    CHSQ(   2)=   3.0000[.223]  ");
  EXPECT_EQ(lines[2], stars);
  lines = page([] { SARGANTEST(single::method::kOls, 50.0, 2, 50, 3, core::channel::kResultsPage); });
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(trim(lines[1]), "Lagrange Multiplier Statistic    CHSQ(   2)=  50.0000[.000]");
  EXPECT_EQ(trim(lines[2]), "F Statistic                   F(  2,  45)=   *NONE*");  // LM = n
  lines = page([] { SARGANTEST(single::method::kGarch, 3.0, 2, 50, 3, core::channel::kResultsPage); });
  EXPECT_EQ(lines, (std::vector<std::string>{stars, stars}));
}
