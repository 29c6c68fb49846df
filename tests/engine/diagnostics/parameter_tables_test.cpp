// The error-parameter and GARCH parameter tables, and the forecast-page form of the
// predictive-failure and stability tests, on hand-made inputs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/diagnostics/chow_tests.h"
#include "engine/diagnostics/parameter_tables.h"
#include "shared/exchange_slots.h"
#include "tests/engine/diagnostics/estimate_fixture.h"
#include "tests/engine/single/printed_numbers.h"

using namespace qorv;
using namespace qorv::diagnostics;
using qorv::testing::trim;

namespace {

class ParameterTables : public qorv::testing::EstimateTest {
 protected:
  std::vector<std::string> trimmed(const std::function<void()>& write) {
    auto lines = page(write);
    for (auto& l : lines) l = l.substr(0, l.find_last_not_of(' ') + 1);
    return lines;
  }
};

}  // namespace

TEST_F(ParameterTables, ExactAr2WithBothLikelihoodRatios) {
  ErrorParameters t;
  t.method = 4;
  t.lags = {1, 2};
  t.values = {0.5, -0.25};
  t.std_errors = {0.1, limits::kMissing};
  t.loglik = {100.0, 103.0, 103.5};
  const auto lines = trimmed([&] { ERRORPARAMETERTABLE(t, core::channel::kResultsPage); });
  // LR 6 on 1 d.f.: 2(1 − Φ(√6)) = .014; LR 1: 2(1 − Φ(1)) = .317.
  const std::vector<std::string> expected = {
      std::string(13, ' ') + "Parameters of the Autoregressive Error Specification",
      " U= .500000*U(-1)+ -.250000*U(-2)+ E",
      "    (.100000)      [NONE]",
      " Asymptotic T-Ratio    5.0000    [NONE]",
      " T-ratio(s) based on asymptotic standard errors in brackets",
      " Log-likelihood ratio test of AR(1) versus OLS   CHI-SQ(1)=    6.0000[.014]",
      " Log-likelihood ratio test of AR(2) versus AR(1) CHI-SQ(1)=    1.0000[.317]",
      std::string(79, '*')};
  EXPECT_EQ(lines, expected);
}

TEST_F(ParameterTables, UnstableArAndMaUnitRootWarnings) {
  ErrorParameters ar;
  ar.method = 3;
  ar.lags = {1};
  ar.values = {1.2};
  ar.std_errors = {0.1};
  ar.loglik = {100.0, limits::kMissing, 0.0};
  ar.unstable = true;
  auto lines = trimmed([&] { ERRORPARAMETERTABLE(ar, core::channel::kResultsPage); });
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[3], " Asymptotic T-Ratio    [NONE]");
  EXPECT_EQ(lines[5], " Log-likelihood ratio test of AR(1) versus OLS   CHI-SQ(1)=    *NONE*");
  EXPECT_EQ(lines[6], " ***WARNING*** The above autoregressive process is unstable!");
  EXPECT_EQ(lines[7], " T-ratio(s) are not calculated.");

  ErrorParameters ma;
  ma.method = 10;
  ma.lags = {1, 4};
  ma.values = {-1.0, 0.5};
  ma.std_errors = {0.2, 0.25};
  ma.roots_at_one = 1;
  ma.complex_unit_roots = 2;
  lines = trimmed([&] { ERRORPARAMETERTABLE(ma, core::channel::kResultsPage); });
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(trim(lines[0]), "Parameters of the Moving Average Error Specification");
  EXPECT_EQ(lines[1], " U=E+ -1.000000*E(-1)+ .500000*E(-4)");
  EXPECT_EQ(lines[2], "      (.200000)        (.250000)");
  EXPECT_EQ(lines[3], " Asymptotic T-Ratio   -5.0000    2.0000");
  EXPECT_EQ(lines[5], " *WARNING* The above MA process contains 1 root(s) of 1.");
  EXPECT_EQ(lines[6], " *WARNING* The above MA process contains 2 complex roots on the unit circle.");
}

TEST_F(ParameterTables, LongErrorEquationsContinueOnTheNextLine) {
  ErrorParameters t;
  t.method = 6;
  for (int j = 1; j <= 12; ++j) {
    t.lags.push_back(j);
    t.values.push_back(-0.123456);
    t.std_errors.push_back(0.05);
  }
  const auto lines = trimmed([&] { ERRORPARAMETERTABLE(t, core::channel::kResultsPage); });
  for (const auto& l : lines) EXPECT_LE(l.size(), 79u) << l;
  EXPECT_TRUE(lines[3].starts_with("     -.123456*U(-"));  // a continued equation line
  EXPECT_EQ(lines[4].substr(0, 14), "     (.050000)");
  int tratios = 0;
  for (const auto& l : lines)
    for (size_t at = l.find("-2.4691"); at != std::string::npos; at = l.find("-2.4691", at + 1)) ++tratios;
  EXPECT_EQ(tratios, 12);
}

TEST_F(ParameterTables, GarchTableRowsLegendsAndWarning) {
  GarchParameters g;
  g.form = GarchForm::kPlain;
  g.arch_lags = {1};
  g.garch_lags = {1};
  g.student_t = true;
  g.values = {0.01, 0.3, 0.75, 6.5};
  g.std_errors = {0.002, 0.05, 0.04, 1.25};
  auto lines = trimmed([&] { GARCHPARAMETERTABLE(g, core::channel::kResultsPage); });
  const std::vector<std::string> expected = {
      std::string(14, ' ') + "Parameters of the Conditional Heteroscedastic Model",
      std::string(10, ' ') + "Explaining H-SQ, the Conditional Variance of the Error Term",
      std::string(24, ' ') + "Coefficient       Asymptotic Standard Error",
      " Constant" + std::string(19, ' ') + ".010000" + std::string(16, ' ') + ".0020000",
      " E-SQ(-1)" + std::string(20, ' ') + ".30000" + std::string(17, ' ') + ".050000",
      " H-SQ(-1)" + std::string(20, ' ') + ".75000" + std::string(17, ' ') + ".040000",
      " D.F. of t-Dist." + std::string(13, ' ') + "6.5000" + std::string(18, ' ') + "1.2500",
      std::string(79, '*'),
      " H-SQ stands for the conditional variance of the error term.",
      " E-SQ stands for the square of the error term.",
      " *WARNING* The unconditional variance of the above GARCH processis undefined!"};
  EXPECT_EQ(lines, expected);

  GarchParameters e;
  e.form = GarchForm::kExponential;
  e.arch_lags = {1};
  e.asymmetric_lags = {1};
  e.garch_lags = {1};
  e.names = {"H-SQ in mean"};
  e.values = {-0.5, 0.2, 0.1, 0.9, 0.05};
  e.std_errors = {0.1, 0.05, 0.04, 0.02, 0.01};
  lines = trimmed([&] { GARCHPARAMETERTABLE(e, core::channel::kResultsPage); });
  ASSERT_EQ(lines.size(), 14u);
  EXPECT_EQ(trim(lines[1]), "Explaining the Logarithm of H-SQ, the Conditional Variance of the Error Term");
  EXPECT_EQ(trim(lines[4].substr(0, 24)), "(E/H)(-1)");
  EXPECT_EQ(trim(lines[5].substr(0, 24)), "ABS(E/H)(-1)-MEU");
  EXPECT_EQ(trim(lines[6].substr(0, 24)), "LOG(H-SQ(-1))");
  EXPECT_EQ(trim(lines[7].substr(0, 24)), "H-SQ in mean");
  EXPECT_EQ(lines[9], " H stands for the conditional standard error of the errorterm.");
  EXPECT_EQ(lines[11], " MEU stands for the expectation of the absolute value of the standardized");
  EXPECT_EQ(lines[13], " MEU= SQRT(2/3.14159)");
}

TEST_F(ParameterTables, ChowTestsAsTheForecastBlock) {
  // T1 = 20, T2 = 5, k = 2: F = 18·(12 − 9)/(9·5) = 1.2, CHSQ = 6;
  // stability F = 21·(12 − 9 − 1)/(10·2) = 2.1, CHSQ = 4.2.
  const auto lines =
      trimmed([] { CHOWTESTS(5, 20, 2, ChowSums{9.0, 1.0, 12.0}, 1e-11, kForecastBlock, core::channel::kResultsPage); });
  ASSERT_EQ(lines.size(), 4u);
  // Probabilities: chi-squared(5) above 6 = .306, F(5, 18) above 1.2 = .349, chi-squared(2)
  // above 4.2 = exp(−2.1) = .122, F(2, 21) above 2.1 = (1 + 2·2.1/21)^(−21/2) = .147.
  EXPECT_EQ(lines[0], " Predictive failure test     CHSQ(   5)=   6.0000[.306]");
  EXPECT_EQ(lines[1], std::string(27, ' ') + "F(   5,  18)=   1.2000[.349]");
  EXPECT_EQ(lines[2], " Structural stability test   CHSQ(   2)=   4.2000[.122]");
  EXPECT_EQ(lines[3], std::string(27, ' ') + "F(   2,  21)=   2.1000[.147]");
  // A zero first-part sum of squares gives no statistics.
  const auto none =
      trimmed([] { CHOWTESTS(2, 20, 2, ChowSums{0.0, 1.0, 12.0}, 1e-11, kForecastBlock, core::channel::kResultsPage); });
  ASSERT_EQ(none.size(), 2u);
  EXPECT_EQ(none[0], " Predictive failure test     CHSQ(   2)=   *NONE*");
  EXPECT_EQ(none[1], std::string(27, ' ') + "F(   2,  18)=   *NONE*");
}
