// The diagnostic tests table where statistics cannot be computed or change their form.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/auxiliary_regression.h"
#include "engine/diagnostics/diagnostic_tests.h"
#include "engine/diagnostics/residual_tests.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "tests/engine/diagnostics/estimate_fixture.h"
#include "tests/engine/single/printed_numbers.h"

using namespace qorv;
using namespace qorv::diagnostics;
using qorv::testing::columns;
using qorv::testing::trim;
namespace macro = qorv::testing::macro;

namespace {

const std::vector<int> kStatic = {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR};

class DiagnosticEdges : public qorv::testing::EstimateTest {
 protected:
  std::vector<std::string> table() {
    return page([] { DIAGNOSTICTESTS(core::channel::kResultsPage); });
  }
  /// The row of test `letter` ("A".."F"), or an empty text.
  static std::string row(const std::vector<std::string>& lines, char letter) {
    const std::string label = std::string("* ") + letter + ":";
    const auto it =
        std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(label); });
    return it == lines.end() ? std::string() : *it;
  }
  static bool none(const std::string& line, int first) { return trim(columns(line, first, first + 8)) == "*NONE*"; }
};

}  // namespace

TEST_F(DiagnosticEdges, TooFewDegreesOfFreedomForTheOrderAndForTheTests) {
  // Quarterly data, n − k = 5: order 4 leaves 1 < 2 degrees of freedom, so order 1.
  estimate_ols(kStatic, 1, 9);
  auto lines = table();
  EXPECT_EQ(columns(row(lines, 'A'), 24, 33), "CHSQ(   1)");
  EXPECT_EQ(columns(row(lines, 'A'), 51, 62), "F(   1,   4)");
  EXPECT_FALSE(none(row(lines, 'A'), 35));
  // n − k = 2: A, B and C are not computed, D is.
  estimate_ols(kStatic, 1, 6);
  lines = table();
  for (char test : {'A', 'B', 'C'}) {
    SCOPED_TRACE(test);
    EXPECT_TRUE(none(row(lines, test), 35));
    EXPECT_EQ(columns(row(lines, test), 44, 49), "      ");
  }
  EXPECT_TRUE(none(row(lines, 'A'), 64));
  EXPECT_TRUE(none(row(lines, 'B'), 64));
  EXPECT_FALSE(none(row(lines, 'D'), 35));
}

TEST_F(DiagnosticEdges, AnExactFitShowsNoStatistic) {
  estimate_ols({macro::kLy, macro::kIntercept, macro::kLy}, 1, 40);
  ASSERT_EQ(single::estimation().status, 0);
  const auto lines = table();
  for (char test : {'A', 'B', 'C', 'D'}) {
    SCOPED_TRACE(test);
    EXPECT_TRUE(none(row(lines, test), 35));
    if (test != 'C') {
      EXPECT_TRUE(none(row(lines, test), 64));
    }
  }
}

TEST_F(DiagnosticEdges, ASingularFunctionalFormRegressionIsReportedNotComputed) {
  // With an intercept and a regressor of two values the squared fitted values are a
  // combination of the regressors: what is left of them after the regressors is rounding
  // noise, and the auxiliary cross products count as singular.
  auto& g = core::globals();
  g.nvars = 7;
  core::set_variable(7, "TWO", "");
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, 7) = t > 100 ? 1.7 : 0.3;
  estimate_ols({macro::kLc, macro::kIntercept, 7}, 1, 196);
  ASSERT_EQ(single::estimation().status, 0);
  const auto lines = table();
  EXPECT_TRUE(none(row(lines, 'B'), 35));
  EXPECT_TRUE(none(row(lines, 'B'), 64));
  EXPECT_FALSE(none(row(lines, 'A'), 35));
}

TEST_F(DiagnosticEdges, StabilityRowOnlyWhenMoreObservationsAreKeptBackThanRegressors) {
  estimate_ols(kStatic, 1, 188, 4);  // T2 = k = 4
  auto lines = table();
  EXPECT_EQ(columns(row(lines, 'E'), 24, 33), "CHSQ(   4)");
  EXPECT_EQ(columns(row(lines, 'E'), 51, 62), "F(   4, 184)");
  EXPECT_TRUE(row(lines, 'F').empty());
  const auto has = [&](const std::string& text) { return std::find(lines.begin(), lines.end(), text) != lines.end(); };
  EXPECT_TRUE(has("   E:A test of adequacy of predictions (Chow's second test)"));
  EXPECT_FALSE(has("   F:Test of stability of the regression coefficients"));
  estimate_ols(kStatic, 1, 188, 5);
  lines = table();
  EXPECT_EQ(columns(row(lines, 'F'), 24, 33), "CHSQ(   4)");
  EXPECT_EQ(columns(row(lines, 'F'), 51, 62), "F(   4, 185)");
}

TEST_F(DiagnosticEdges, InstrumentalVariablesHaveNoFColumn) {
  core::globals().sample_start = 2;
  core::globals().sample_end = 196;
  single::take_equation(std::vector<int>{macro::kLc, macro::kIntercept, macro::kLy});
  auto& s = single::estimation();
  s.method = single::method::kIv;
  single::begin_estimate(single::method::kIv);
  s.ninstr = 3;
  s.instrlist = {macro::kIntercept, macro::kLcLag, macro::kR};
  ASSERT_TRUE(single::load_sample());
  single::LSQCORE(false);
  ASSERT_EQ(s.status, 0);
  const auto lines = table();
  for (char test : {'A', 'B', 'C', 'D'}) {
    SCOPED_TRACE(test);
    EXPECT_FALSE(none(row(lines, test), 35));
    EXPECT_EQ(columns(row(lines, test), 50, 79), "*       Not applicable       *");
  }
}

// The OLS and IV estimates hand their (X'X)⁻¹ to the auxiliary regressions; forming it
// afresh from the same columns must give the same statistics to the last bit.
TEST_F(DiagnosticEdges, AuxiliaryRegressionsReuseTheEstimateInverseExactly) {
  const auto compare = [](int mode, int p) {
    SCOPED_TRACE(mode);
    const AuxiliaryRegression reused = auxiliary_regression(mode, p);
    auto& s = single::estimation();
    const auto kept = s.variance;
    s.variance.clear();  // the regression now forms and inverts X'X itself
    const AuxiliaryRegression fresh = auxiliary_regression(mode, p);
    s.variance = kept;
    ASSERT_EQ(reused.fail, 0);
    ASSERT_EQ(fresh.fail, 0);
    EXPECT_EQ(reused.lm, fresh.lm);
    EXPECT_EQ(reused.explained, fresh.explained);
    EXPECT_EQ(reused.coef, fresh.coef);
    EXPECT_EQ(reused.inverse, fresh.inverse);
  };
  estimate_ols({macro::kLc, macro::kIntercept, macro::kLcLag, macro::kLy, macro::kInfl, macro::kR}, 2, 196);
  compare(kSerialCorrelation, 4);
  compare(kFunctionalForm, 1);
  core::globals().sample_start = 2;
  core::globals().sample_end = 196;
  single::take_equation(std::vector<int>{macro::kLc, macro::kIntercept, macro::kLy});
  single::begin_estimate(single::method::kIv);
  auto& s = single::estimation();
  s.ninstr = 3;
  s.instrlist = {macro::kIntercept, macro::kLcLag, macro::kR};
  ASSERT_TRUE(single::load_sample());
  single::LSQCORE(false);
  ASSERT_EQ(s.status, 0);
  compare(kSerialCorrelation, 2);
  compare(kFunctionalForm, 1);
}

TEST(ResidualStatistics, HandComputedValues) {
  // Raw moments m1 = 1/2, m2 = 1, m3 = 1/2, m4 = 1: 4·(1/24 + 4/24 + 3/8 − 1/4) = 4/3.
  int fail = 1;
  const std::vector<double> e = {1.0, 1.0, 1.0, -1.0};
  EXPECT_NEAR(NORMALITYTEST(e, fail), 4.0 / 3.0, 1e-14);
  EXPECT_EQ(fail, 0);
  // Squared residuals equal to the squared fitted values: LM = n, whose F has no value.
  const std::vector<double> r = {1.0, -2.0, 3.0, -4.0};
  EXPECT_NEAR(HETEROTEST(r, r, 2.0, 1e-11, fail), 4.0, 1e-12);
  EXPECT_EQ(fail, 0);
  EXPECT_EQ(lm_to_f(4.0, 4, 1, 2), -1.0);
  EXPECT_DOUBLE_EQ(lm_to_f(2.0, 10, 1, 8), 2.0);       // (8/1)·2/8
  EXPECT_DOUBLE_EQ(lm_to_f(6.0, 30, 3, 24), 2.0);      // (24/3)·6/24
  HETEROTEST(r, std::vector<double>(4, 1.0), 2.0, 1e-11, fail);  // constant fitted values
  EXPECT_EQ(fail, 1);
  HETEROTEST(r, r, 1e-12, 1e-11, fail);  // an exact fit
  EXPECT_EQ(fail, 1);
}
