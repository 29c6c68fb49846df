// Gauss-Newton least squares on the NIST non-linear reference sets and the power
// consumption function, with the model written in the formula language.
#include "engine/single/gauss_newton.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/single/nonlinear_formula.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/engine/single/nls_reference.h"

namespace {

using namespace qorv::single;
using qorv::testing::agrees;
using qorv::testing::NlsCase;
using qorv::testing::nls_cases;

/// The case's formula read and estimated from its start.
struct Estimated {
  NonLinearFormula formula;
  NonLinearFit fit;
};

Estimated estimate(const NlsCase& c, const std::vector<double>& start) {
  Estimated r;
  EXPECT_EQ(read_nonlinear_formula(c.formula, c.variables, r.formula), NonLinearFormulaStatus::kOk) << c.name;
  const qorv::data::FormulaData data{c.data, c.n, static_cast<int>(c.variables.size()), {}, limits::kMissing};
  const auto y = std::span<const double>(c.data).subspan(static_cast<std::size_t>(r.formula.dependent - 1) *
                                                             static_cast<std::size_t>(c.n),
                                                         static_cast<std::size_t>(c.n));
  NonLinearProblem problem;
  problem.y = y;
  problem.model = formula_model(r.formula, data, 1, c.n, 100);
  r.fit = GAUSSNEWTON(problem, start);
  return r;
}

TEST(GaussNewton, ReferenceRunsConvergeToTheCertifiedValues) {
  const std::map<std::string, int> iterations = {
      {"MISRA1A_S1", 8}, {"MISRA1A_S2", 4}, {"MGH10_S2", 17}, {"BOXBOD_S2", 11}, {"CONS", 6}};
  for (const NlsCase& c : nls_cases()) {
    if (!iterations.contains(c.name)) continue;
    SCOPED_TRACE(c.name);
    const Estimated r = estimate(c, c.start);
    ASSERT_EQ(r.fit.status, NonLinearStatus::kConverged);
    EXPECT_NEAR(r.fit.iterations, iterations.at(c.name), 1);
    const auto expected = qorv::testing::reference_expected("nls", c.name);
    const int m = static_cast<int>(r.formula.parameters.size());
    const double sigma2 = r.fit.rss / (c.n - m);
    for (int i = 0; i < m; ++i) {
      const std::string& name = r.formula.parameters[static_cast<std::size_t>(i)];
      EXPECT_PRED2(agrees, r.fit.theta[static_cast<std::size_t>(i)], expected.at("coef:" + name)) << name;
      const double element = r.fit.inverse[static_cast<std::size_t>((i + 1) * (i + 2) / 2 - 1)];
      EXPECT_PRED2(agrees, std::sqrt(sigma2 * element), expected.at("se:" + name)) << name;
    }
    EXPECT_PRED2(agrees, r.fit.rss, expected.at("RSS"));
    // The fitted values and derivatives are those at the estimates.
    EXPECT_EQ(r.fit.fitted.size(), static_cast<std::size_t>(c.n));
    EXPECT_EQ(r.fit.jacobian.size(), static_cast<std::size_t>(c.n * m));
  }
}

TEST(GaussNewton, UndampedStepsFromAFarStartFailCleanly) {
  // BoxBOD's first step sends B2 to about -92 and EXP(-B2·X) overflows. At MGH10's first
  // start the three derivative columns agree to within 0.3% of their variation (B3 = 25000
  // swamps X = 50..125): the cross products fail the pivot test at once; followed further
  // the iteration would overflow. Either way the run fails with nothing estimated.
  for (const NlsCase& c : nls_cases()) {
    if (c.name != "MGH10_S1" && c.name != "BOXBOD_S1") continue;
    const Estimated r = estimate(c, c.start);
    EXPECT_TRUE(r.fit.status == NonLinearStatus::kMissingValue || r.fit.status == NonLinearStatus::kDerivativeTooLarge ||
                r.fit.status == NonLinearStatus::kSingular)
        << c.name;
    EXPECT_TRUE(r.fit.theta.empty()) << c.name;
  }
}

TEST(GaussNewton, DerivativeStepIsRelativeWithAFloorOnlyAtZero) {
  EXPECT_EQ(derivative_step(0.0), 0.0001);
  EXPECT_DOUBLE_EQ(derivative_step(100.0), 0.1);
  EXPECT_DOUBLE_EQ(derivative_step(-5.5e-4), 5.5e-7);
}

/// A least-squares problem, or a two-stage one with l instruments.
NonLinearProblem problem(std::span<const double> y, NonLinearModel model, std::span<const double> instruments = {},
                         int l = 0) {
  NonLinearProblem p;
  p.y = y;
  p.model = std::move(model);
  p.instruments = instruments;
  p.l = l;
  return p;
}

/// y = a + b·x + c·z: linear in its parameters, so one step reaches least squares.
class LinearModel : public ::testing::Test {
 protected:
  std::vector<double> x = {1, 2, 3, 4, 5, 6, 7, 8}, z = {2, 1, 4, 3, 6, 5, 8, 9},
                      y = {3.1, 4.2, 7.9, 8.1, 12.2, 11.8, 16.1, 18.3};
  NonLinearModel model = [this](std::span<const double> b, std::span<double> f) {
    for (std::size_t t = 0; t < f.size(); ++t) f[t] = b[0] + b[1] * x[t] + b[2] * z[t];
    return true;
  };
};

TEST_F(LinearModel, LeastSquaresAndInstrumentsGiveTheLinearEstimates) {
  // Normal equations by hand: X'X = [8 36 38; 36 204 216; 38 216 236], X'y = (81.7, 458.5,
  // 492), solved exactly in fractions: a = 277/510, b = 2437/2040, c = 461/510.
  const NonLinearFit ols = GAUSSNEWTON(problem(y, model), std::vector<double>{0, 0, 0});
  ASSERT_EQ(ols.status, NonLinearStatus::kConverged);
  EXPECT_NEAR(ols.theta[0], 277.0 / 510.0, 1e-9);
  EXPECT_NEAR(ols.theta[1], 2437.0 / 2040.0, 1e-9);
  EXPECT_NEAR(ols.theta[2], 461.0 / 510.0, 1e-9);
  EXPECT_LE(ols.iterations, 2);
  // With the regressors themselves as instruments two-stage least squares is least squares.
  std::vector<double> instruments(8, 1.0);
  instruments.insert(instruments.end(), x.begin(), x.end());
  instruments.insert(instruments.end(), z.begin(), z.end());
  const NonLinearFit iv = GAUSSNEWTON(problem(y, model, instruments, 3),
                                      std::vector<double>{0, 0, 0});
  ASSERT_EQ(iv.status, NonLinearStatus::kConverged);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(iv.theta[i], ols.theta[i], 1e-9);
}

TEST_F(LinearModel, FailuresOfTheIteration) {
  // A parameter the model never reads leaves a zero derivative column: singular.
  const NonLinearModel idle = [this](std::span<const double> b, std::span<double> f) {
    for (std::size_t t = 0; t < f.size(); ++t) f[t] = b[0] + b[1] * x[t];
    return true;
  };
  EXPECT_EQ(GAUSSNEWTON(problem(y, idle), std::vector<double>{1, 1, 1}).status, NonLinearStatus::kSingular);
  const NonLinearModel missing = [](std::span<const double>, std::span<double> f) {
    std::fill(f.begin(), f.end(), limits::kMissing);
    return true;
  };
  EXPECT_EQ(GAUSSNEWTON(problem(y, missing), std::vector<double>{1}).status, NonLinearStatus::kMissingValue);
  const NonLinearModel steep = [](std::span<const double> b, std::span<double> f) {
    for (double& v : f) v = 1e25 * b[0];
    return true;
  };
  EXPECT_EQ(GAUSSNEWTON(problem(y, steep), std::vector<double>{1}).status,
            NonLinearStatus::kDerivativeTooLarge);
  // Fewer instruments than parameters, or no room for the parameters: nothing estimated.
  EXPECT_EQ(GAUSSNEWTON(problem(y, model, x, 1), std::vector<double>{0, 0, 0}).status,
            NonLinearStatus::kBadShape);
  EXPECT_EQ(GAUSSNEWTON(problem(std::span<const double>(y).first(3), model), std::vector<double>{0, 0, 0}).status,
            NonLinearStatus::kBadShape);
}

TEST(GaussNewton, IterationLimitWithoutPermissionAbandons) {
  // f = θ³ fitted to zeros: each step takes θ to about 2θ/3, so from 10⁶ the steps are
  // still near 0.03 after 40 of them.
  const NonLinearModel cube = [](std::span<const double> b, std::span<double> f) {
    for (double& v : f) v = b[0] * b[0] * b[0];
    return true;
  };
  const std::vector<double> zeros(5, 0.0);
  const NonLinearFit r = GAUSSNEWTON(problem(zeros, cube), std::vector<double>{1e6});
  EXPECT_EQ(r.status, NonLinearStatus::kAbandoned);
  EXPECT_EQ(r.iterations, kGaussNewtonLimit);
  EXPECT_TRUE(r.theta.empty());
}

}  // namespace
