// The unit-root tests of the residuals: the statistics of every order, the critical value
// for the regression's terms, the page and the edge cases of its lines.
#include "engine/diagnostics/residual_unit_root.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/single/diff_t_ratio.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::diagnostics;
using qorv::testing::Expected;
using qorv::testing::parse_number;
using qorv::testing::shows;
namespace macro = qorv::testing::macro;

namespace {

constexpr double kMissing = limits::kMissing;

bool near(double value, const Expected& e) {
  return std::fabs(value - e.value) <= e.tolerance * std::fabs(e.value);
}

class ResidualUnitRoot : public qorv::testing::PostRegressionTest {
 protected:
  /// The page of order h on the current estimate, as the viewer was shown it.
  static std::vector<std::string> shown_page(int h) {
    dialog_script::load("results -> close\n");
    write_residual_unit_root_page(h);
    return dialog_script::pages().back();
  }

  static std::string line_starting(const std::vector<std::string>& lines, const std::string& start) {
    for (const auto& l : lines)
      if (l.starts_with(start)) return l;
    return {};
  }

  static bool has_line(const std::vector<std::string>& lines, const std::string& start) {
    return !line_starting(lines, start).empty();
  }

  /// The critical value as the page prints it.
  static std::string printed_critical_value(const std::vector<std::string>& lines) {
    const std::string line = line_starting(lines, " 95% critical value for the Dickey-Fuller statistic =");
    return line.empty() ? "" : qorv::testing::trim(line.substr(line.find('=') + 1));
  }

  /// An OLS estimate of column 1 on the other columns (numbers from 2), n observations.
  void estimate_columns(const std::vector<std::vector<double>>& columns, int n) {
    std::vector<std::string> names;
    std::vector<int> equation;
    for (std::size_t v = 0; v < columns.size(); ++v) {
      names.push_back("V" + std::to_string(v + 1));
      equation.push_back(static_cast<int>(v) + 1);
    }
    install(columns, names);
    estimate(equation, 1, n);
  }
};

/// A series of n pseudo-random values from a fixed recursion (no library generator).
std::vector<double> wobble(int n, double scale, int seed) {
  std::vector<double> out;
  double state = 0.1 * seed + 0.3;
  for (int t = 0; t < n; ++t) {
    state = std::fmod(state * 97.0 + 0.123456789 * (t + seed), 1.0);
    out.push_back(scale * (state - 0.5));
  }
  return out;
}

TEST_F(ResidualUnitRoot, ReferenceCasesEveryOrderCriterionAndCriticalValue) {
  struct Case {
    const char* name;
    std::vector<int> regressors;
    int h;
  };
  constexpr int kTrend = 6;  // TREND = 1..196 in place of LC(-1)
  const Case cases[] = {
      {"RADF_S", {macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 4},
      {"RADF_LY", {macro::kIntercept, macro::kLy}, 4},
      {"RADF_TLY", {macro::kIntercept, kTrend, macro::kLy}, 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    qorv::testing::install_macro_data();
    core::set_variable(kTrend, "TREND", "");
    for (int t = 1; t <= 196; ++t) core::data_at(t, kTrend) = t;
    std::vector<int> equation = {macro::kLc};
    equation.insert(equation.end(), c.regressors.begin(), c.regressors.end());
    estimate(equation, 1, 196);
    const auto ex = qorv::testing::reference_expected("single-extra", c.name);
    const RegressorTerms terms = regressor_terms();
    EXPECT_EQ(terms.stochastic, static_cast<int>(ex.at("U").value));
    const auto test = diagnostics::residual_unit_root(single::series_block(single::block::kResiduals), c.h,
                                                      residual_table_index(terms, false));
    EXPECT_EQ(test.observations, static_cast<int>(ex.at("N_USED").value));
    EXPECT_EQ(test.table_index, static_cast<int>(ex.at("TABLE_INDEX").value));
    EXPECT_TRUE(near(test.critical_value, ex.at("CV")));
    ASSERT_EQ(test.orders.size(), static_cast<std::size_t>(c.h) + 1);
    for (const auto& r : test.orders) {
      const std::string j = std::to_string(r.order);
      EXPECT_TRUE(near(r.statistic, ex.at("STAT:" + j))) << j << " " << r.statistic;
      EXPECT_TRUE(near(r.loglik, ex.at("LL:" + j))) << j;
      EXPECT_TRUE(near(r.aic, ex.at("AIC:" + j))) << j;
      EXPECT_TRUE(near(r.sbc, ex.at("SBC:" + j))) << j;
      EXPECT_TRUE(near(r.hqc, ex.at("HQC:" + j))) << j;
    }

    // The page prints the same rows; the statistic starts in column 10 for one- and
    // two-digit labels alike. The estimate is untouched.
    const auto before = single::estimation().result;
    const auto page = shown_page(c.h);
    EXPECT_EQ(single::estimation().result, before);
    EXPECT_EQ(qorv::testing::trim(page.at(0)), "Unit root tests for residuals");
    EXPECT_TRUE(has_line(page, "        Test Statistic      LL           AIC           SBC           HQC"));
    for (int order = 0; order <= c.h; ++order) {
      const std::string j = std::to_string(order);
      const std::string line = line_starting(page, order == 0 ? " DF " : " ADF(" + j + ")");
      ASSERT_FALSE(line.empty()) << j;
      EXPECT_EQ(line[9], ' ') << line;
      EXPECT_TRUE(shows(parse_number(line.substr(9, 10)), ex.at("STAT:" + j))) << line;
      const char* criteria[] = {"LL:", "AIC:", "SBC:", "HQC:"};
      for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(shows(parse_number(line.substr(static_cast<std::size_t>(23 + 14 * i), 10)), ex.at(criteria[i] + j)))
            << line;
    }
    EXPECT_TRUE(shows(parse_number(printed_critical_value(page)), ex.at("CV")));
    EXPECT_FALSE(has_line(page, " ***WARNING"));
    EXPECT_TRUE(has_line(page, " LL  = Maximized log-likelihood      AIC = Akaike Information Criterion"));
    EXPECT_TRUE(has_line(page, " SBC = Schwarz Bayesian Criterion    HQC = Hannan-Quinn Criterion"));
  }
}

TEST_F(ResidualUnitRoot, EdgeCasesOfTheCriticalValueAndItsLines) {
  struct Row {
    const char* what;
    int regressors;     ///< stochastic regressors besides the intercept
    bool intercept;
    int n;
    int h;
    const char* value;  ///< the critical value as printed
    bool not_available;
    bool warning;
  };
  const Row rows[] = {
      {"intercept and one regressor, N = 100", 1, true, 105, 4, "-3.3983", false, false},
      {"six stochastic regressors", 6, true, 60, 2, "*NONE*", true, false},
      {"no intercept, one regressor", 1, false, 40, 2, "*NONE*", false, true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    dialog_script::reset();
    std::vector<std::vector<double>> columns = {wobble(r.n, 2.0, 0)};
    if (r.intercept) columns.emplace_back(static_cast<std::size_t>(r.n), 1.0);
    for (int j = 1; j <= r.regressors; ++j) {
      columns.push_back(wobble(r.n, 1.0, j));
      for (int t = 0; t < r.n; ++t) columns.front()[static_cast<std::size_t>(t)] += columns.back()[static_cast<std::size_t>(t)];
    }
    estimate_columns(columns, r.n);
    const auto page = shown_page(r.h);
    EXPECT_EQ(printed_critical_value(page), r.value);
    EXPECT_EQ(has_line(page, " Critical value not available for the number of regressors in the regression!"),
              r.not_available);
    EXPECT_EQ(has_line(page, " ***WARNING: No intercept in original regression!***"), r.warning);
  }
}

TEST_F(ResidualUnitRoot, OrderZeroWritesTheDickeyFullerLineAlone) {
  estimate({qorv::testing::small::kY, qorv::testing::small::kC, qorv::testing::small::kX}, 1, 12);
  const auto page = shown_page(0);
  EXPECT_TRUE(has_line(page, " DF "));
  EXPECT_FALSE(has_line(page, " ADF("));
}

TEST_F(ResidualUnitRoot, TermsAreFoundAmongTheRegressorColumns) {
  std::vector<double> tenth, steps, stair;
  for (int t = 1; t <= 30; ++t) {
    tenth.push_back(t / 10.0);  // unequal differences in binary
    steps.push_back(-3.0 * t + 7.0);
    stair.push_back(t + (t % 2) * 1e-6);
  }
  EXPECT_TRUE(is_trend(tenth));
  EXPECT_TRUE(is_trend(steps));
  EXPECT_FALSE(is_trend(stair));
  EXPECT_FALSE(is_trend(std::vector<double>(30, 4.0)));  // a constant is an intercept, not a trend
  EXPECT_FALSE(is_trend(std::vector<double>{1.0}));

  // Index: 2(u + 1) + trend with an intercept and u <= 5; 1 with nothing; else none.
  EXPECT_EQ(residual_table_index({true, false, 1}, false), 4);
  EXPECT_EQ(residual_table_index({true, true, 1}, false), 5);
  EXPECT_EQ(residual_table_index({true, true, 5}, false), 13);
  EXPECT_EQ(residual_table_index({true, false, 6}, false), 0);
  EXPECT_EQ(residual_table_index({false, false, 0}, false), 1);
  EXPECT_EQ(residual_table_index({false, true, 0}, false), 0);
  EXPECT_EQ(residual_table_index({false, false, 2}, false), 0);
  EXPECT_EQ(residual_table_index({false, false, 0}, true), 0);  // no regressor columns (NLS)

  // In an estimate: the intercept, the trend made as T/10 and one stochastic regressor.
  std::vector<double> y = wobble(30, 1.0, 3);
  for (int t = 0; t < 30; ++t) y[static_cast<std::size_t>(t)] += 0.5 * tenth[static_cast<std::size_t>(t)];
  estimate_columns({y, std::vector<double>(30, 1.0), tenth, wobble(30, 1.0, 4)}, 30);
  const RegressorTerms terms = regressor_terms();
  EXPECT_TRUE(terms.intercept);
  EXPECT_TRUE(terms.trend);
  EXPECT_EQ(terms.stochastic, 1);
}

TEST_F(ResidualUnitRoot, RowsWithoutAStatisticPrintNone) {
  // Residuals that are all zero: every regression is singular, so each row is "*NONE*".
  estimate({qorv::testing::small::kY, qorv::testing::small::kC, qorv::testing::small::kX}, 1, 12);
  for (double& e : single::series_block(single::block::kResiduals)) e = 0.0;
  const auto page = shown_page(2);
  for (const char* label : {" DF ", " ADF(1)", " ADF(2)"}) {
    const std::string line = line_starting(page, label);
    EXPECT_EQ(qorv::testing::trim(line.substr(9, 10)), "*NONE*") << line;
  }
  // Called directly: an order that leaves no degree of freedom, and a tolerance above the
  // standard error, give the fallback.
  const std::vector<double> e = wobble(12, 1.0, 5);
  EXPECT_EQ(single::DIFFTRATIO(e, 5, 5, kMissing, 1e-11).statistic, kMissing);  // N = 6, s + 1 = 6
  EXPECT_NE(single::DIFFTRATIO(e, 5, 4, kMissing, 1e-11).statistic, kMissing);
  EXPECT_EQ(single::DIFFTRATIO(e, 5, 4, -7.0, 1e6).statistic, -7.0);
}

TEST_F(ResidualUnitRoot, TheMenuAsksTheOrderAndShowsThePage) {
  // n = 5 offers order 1; the page follows the order question.
  dialog_script::load("strict\nresults -> close\nmenu 1002 -> 2\nmenu 1019 -> 3\ninteger -> 1\nresults -> close\n"
                      "menu 1019 -> 0\nmenu 1002 -> 0\n");
  estimate({qorv::testing::small::kY, qorv::testing::small::kC, qorv::testing::small::kX}, 1, 5);
  diagnostics::POSTREGRESSION();
  EXPECT_NE(dialog_script::transcript_text().find("integer 0 Order of ADF test (maximum  1)? -> 1"),
            std::string::npos);
  ASSERT_EQ(dialog_script::pages().size(), 2u);
  EXPECT_TRUE(has_line(dialog_script::pages().back(), " ADF(1)"));
}

}  // namespace
