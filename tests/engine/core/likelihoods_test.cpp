// Gaussian log-likelihoods: hand-computed values, the degrees-of-freedom words and the
// degenerate cases.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/likelihoods.h"
#include "engine/core/workspace.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using qorv::testing::EngineTest;
constexpr double M = limits::kMissing;

class Likelihoods : public EngineTest {};

TEST_F(Likelihoods, NormalLogLikelihoodAndSigma) {
  struct Case {
    int adjustment, divide_by_n;
    int n, k;
    double rss;
    double sigma, loglik;
  };
  // LL = -5·(ln(2π·0.8) + 1) for n = 10, RSS = 8.
  const double ll = -13.073667575475678;
  const Case cases[] = {
      {0, 0, 10, 2, 8.0, 1.0, ll},                   // df = n - k
      {-4, 0, 10, 2, 8.0, std::sqrt(2.0), ll},       // df = n - k + adjustment
      {-4, 1, 10, 2, 8.0, std::sqrt(0.8), ll},       // df = n
      {0, 0, 10, 2, 0.0, 0.0, M},                    // a perfect fit: LL missing
      {0, 0, 2, 2, 8.0, M, -4.2241714275292360},     // no degrees of freedom: sigma missing
      {0, 0, 0, 0, 1.0, M, M},                       // no observations
  };
  for (const Case& c : cases) {
    globals().df_adjustment = c.adjustment;
    globals().df_divide_by_n = c.divide_by_n;
    double sigma = -1.0, loglik = -1.0;
    NORMALLOGLIK(c.n, c.k, c.rss, sigma, loglik);
    EXPECT_DOUBLE_EQ(sigma, c.sigma) << c.n << " " << c.k << " " << c.rss;
    EXPECT_DOUBLE_EQ(loglik, c.loglik) << c.n << " " << c.k << " " << c.rss;
  }
}

TEST_F(Likelihoods, GaussianLogLikelihoodPerObservation) {
  // One regressor in column 2 of a 3-row block, rows 2..3 (offset 1), β = 1.5, σ = 2:
  // residuals 0 and 0.5, Jacobian terms 0.5 and -2 (their size counts).
  const std::vector<double> data{9, 9, 9, 1, 2, 3};
  const std::vector<double> y{3, 5};
  const std::vector<double> jac{0.5, -2.0};
  const std::vector<int> list{1, 2};
  const std::vector<double> beta{1.5};
  std::vector<double> l(2);
  double sum = 0.0;
  GAUSSLOGLIK(data, jac, y, list, beta, 2, 1, 3, 1, 2.0, l, sum);
  EXPECT_NEAR(l[0], -2.3052328943245635, 1e-15);
  EXPECT_NEAR(l[1], -0.9501885332046728, 1e-15);
  EXPECT_NEAR(sum, -2.3052328943245635 - 0.9501885332046728, 1e-14);

  // A zero Jacobian term or a zero σ has no likelihood.
  const std::vector<double> zero_jac{0.5, 0.0};
  GAUSSLOGLIK(data, zero_jac, y, list, beta, 2, 1, 3, 1, 2.0, l, sum);
  EXPECT_NEAR(l[0], -2.3052328943245635, 1e-15);
  EXPECT_EQ(l[1], M);
  EXPECT_EQ(sum, M);
  GAUSSLOGLIK(data, jac, y, list, beta, 2, 1, 3, 1, 0.0, l, sum);
  EXPECT_EQ(l, (std::vector<double>{M, M}));
  EXPECT_EQ(sum, M);
  // No observations: the sum is 0.
  GAUSSLOGLIK(data, jac, y, list, beta, 0, 1, 3, 1, 2.0, l, sum);
  EXPECT_EQ(sum, 0.0);
}

}  // namespace
