// Least squares and IV against the macro reference and small exact fixtures.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/num/numerical_state.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
using qorv::testing::macro_expected;
namespace macro = qorv::testing::macro;

namespace {

struct MacroCase {
  const char* name;                 ///< case of expected.csv
  int first;                        ///< sample start
  std::vector<int> equation;        ///< dependent first
  std::vector<std::string> labels;  ///< regressor names of expected.csv
};

const MacroCase kCases[] = {
    {"S", 1, {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR},
     {"INPT", "LY", "INFL", "R"}},
    {"D", 2, {macro::kLc, macro::kIntercept, macro::kLcLag, macro::kLy, macro::kInfl, macro::kR},
     {"INPT", "LC(-1)", "LY", "INFL", "R"}},
};

void set_equation(std::vector<int> equation, int first) {
  core::globals().sample_start = first;
  auto& s = estimation();
  s.eqvarlist = std::move(equation);
  begin_estimate(method::kOls);
  ASSERT_TRUE(load_sample());
}

class LeastSquares : public qorv::testing::MacroTest {};

TEST_F(LeastSquares, OlsAgreesWithTheReferenceInEveryStoredNumber) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto expected = macro_expected(c.name);
    set_equation(c.equation, c.first);
    double mean_square = 0, loglik = 0;
    RESIDUALSUMMARY(mean_square, loglik, true);
    const auto& s = estimation();
    ASSERT_EQ(s.status, 0);
    EXPECT_EQ(s.nused, expected.at("N").value);
    EXPECT_EQ(s.nregs, expected.at("K").value);
    for (int j = 1; j <= s.nregs; ++j) {
      const std::string& label = c.labels[static_cast<size_t>(j - 1)];
      const double b = coefficient(j);
      const double se = std::sqrt(coefficient_variance(j, j));
      EXPECT_PRED2(qorv::testing::agrees, b, expected.at("coef:" + label)) << label;
      EXPECT_PRED2(qorv::testing::agrees, se, expected.at("se:" + label)) << label;
      EXPECT_PRED2(qorv::testing::agrees, b / se, expected.at("t:" + label)) << label;
    }
    EXPECT_PRED2(qorv::testing::agrees, s.rss, expected.at("RSS"));
    EXPECT_PRED2(qorv::testing::agrees, s.sigma, expected.at("SE_REG"));
    EXPECT_PRED2(qorv::testing::agrees, loglik, expected.at("LL"));
    EXPECT_PRED2(qorv::testing::agrees, s.depmean, expected.at("MEAN_Y"));
    EXPECT_PRED2(qorv::testing::agrees, std::sqrt(s.depvar), expected.at("SD_Y"));
    EXPECT_DOUBLE_EQ(mean_square, s.rss / s.nused);
    // Fitted values and residuals lie 15000 and 18000 after the actual value.
    for (int t : {1, s.nused}) {
      const double* y = &s.result[static_cast<size_t>(t - 1)];
      EXPECT_NEAR(y[15000] + y[18000], *y, 1e-12);
    }
  }
}

TEST_F(LeastSquares, IvWithTheRegressorsAsInstrumentsIsOls) {
  const auto& c = kCases[1];
  set_equation(c.equation, c.first);
  double ms = 0, ll = 0;
  RESIDUALSUMMARY(ms, ll, true);
  const auto ols = estimation();
  auto& s = estimation();
  s.instrlist.assign(c.equation.begin() + 1, c.equation.end());
  s.ninstr = static_cast<int>(s.instrlist.size());
  s.method = method::kIv;
  LSQCORE(true);
  ASSERT_EQ(s.status, 0);
  for (int j = 1; j <= s.nregs; ++j) {
    EXPECT_NEAR(coefficient(j), ols.result[static_cast<size_t>(block::kCoefficients + j - 1)],
                1e-9 * std::fabs(coefficient(j)));
    EXPECT_NEAR(coefficient_variance(j, j) / (ols.variance[static_cast<size_t>(j * (j + 1) / 2 - 1)] *
                                              ols.sigma * ols.sigma),
                1.0, 1e-8);
  }
  EXPECT_NEAR(s.rss, ols.rss, 1e-9 * ols.rss);
  EXPECT_NEAR(s.grss, ols.rss, 1e-9 * ols.rss);
  EXPECT_NEAR(s.sigma, ols.sigma, 1e-9 * ols.sigma);
  EXPECT_LT(s.iv_minimand, 1e-12);
  for (int t = 1; t <= s.nused; ++t)
    EXPECT_NEAR(s.result[static_cast<size_t>(block::kGeneralisedResiduals + t - 1)], residual(t), 1e-10);
}

/// y = 1 + 2x + u on x = 1..6 with instrument z: hand-checked 2SLS fixture.
class SmallIv : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    auto& g = core::globals();
    g.nobs = 6;
    g.nvars = 5;
    g.frequency = 1;
    g.periods_per_year = 1;
    const double y[] = {3.1, 4.9, 7.2, 8.8, 11.1, 13.0};
    const double x[] = {1, 2, 3, 4, 5, 6};
    const double z[] = {1, 3, 2, 5, 4, 6};
    for (int t = 1; t <= 6; ++t) {
      core::data_at(t, 1) = y[t - 1];
      core::data_at(t, 2) = 1.0;
      core::data_at(t, 3) = x[t - 1];
      core::data_at(t, 4) = z[t - 1];
      core::data_at(t, 5) = 2.0 * z[t - 1] - 1.0;  // an exact combination of INPT and Z
    }
    g.sample_start = 1;
    g.sample_end = 6;
    estimation().eqvarlist = {1, 2, 3};
    begin_estimate(method::kIv);
    ASSERT_TRUE(load_sample());
  }
};

TEST_F(SmallIv, JustIdentifiedIvSolvesTheInstrumentEquations) {
  estimation().instrlist = {2, 4};
  estimation().ninstr = 2;
  LSQCORE(true);
  ASSERT_EQ(estimation().status, 0);
  // Just identified: b = (Z'X)^-1 Z'y with Z'X = [[6, 21], [21, 89]], Z'y = [48.1, 198.6].
  const double det = 6.0 * 89.0 - 21.0 * 21.0;
  const double b1 = (89.0 * 48.1 - 21.0 * 198.6) / det;
  const double b2 = (6.0 * 198.6 - 21.0 * 48.1) / det;
  EXPECT_NEAR(coefficient(1), b1, 1e-12);
  EXPECT_NEAR(coefficient(2), b2, 1e-12);
  // Just identified: the residuals are orthogonal to the instruments, the minimand is 0.
  EXPECT_NEAR(estimation().iv_minimand, 0.0, 1e-20);
}

TEST_F(SmallIv, AnInstrumentThatIsACombinationOfOthersFails) {
  estimation().instrlist = {2, 4, 5};
  estimation().ninstr = 3;
  LSQCORE(true);
  EXPECT_EQ(estimation().status, status::kFailed);
  EXPECT_EQ(core::numerical_state().failure, 1);
}

// An instrument too large to be squared is named, not taken for a singular instrument set.
TEST_F(SmallIv, AnInstrumentTooLargeToSquareIsNamed) {
  core::set_variable(4, "Z", "");
  core::data_at(3, 4) = -1e300;
  estimation().instrlist = {2, 4};
  estimation().ninstr = 2;
  LSQCORE(true);
  EXPECT_EQ(estimation().status, status::kFailed);
  EXPECT_NE(dialog_script::transcript_text().find(
                "message error 0 The values of Z are too large to be used - please scale them!"),
            std::string::npos)
      << dialog_script::transcript_text();
}

}  // namespace
