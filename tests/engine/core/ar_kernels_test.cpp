// The AR kernels: the filter, the exact AR(2) transformation, likelihood and slopes, the
// lagged cross sums and numerical second derivatives.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/ar_kernels.h"
#include "engine/core/num/numerical_state.h"
#include "engine/core/workspace.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using qorv::testing::EngineTest;

class ArKernels : public EngineTest {};

RegressionColumns small_regression() {
  RegressionColumns d;
  d.n = 12;
  d.k = 2;
  for (int t = 0; t < d.n; ++t) {
    d.y.push_back(1.0 + 0.5 * t + std::sin(1.3 * t));
    d.x.push_back(1.0);
  }
  for (int t = 0; t < d.n; ++t) d.x.push_back(static_cast<double>(t));
  return d;
}

TEST_F(ArKernels, FilterDropsTheLargestLag) {
  const std::vector<double> y{1, 2, 4, 8, 16};
  std::vector<double> out(5, 0.0);
  EXPECT_EQ(ARFILTERRESID(y, std::vector<double>{0.5, 0.25}, std::vector<int>{1, 3}, out), 2);
  EXPECT_DOUBLE_EQ(out[0], 8 - 0.5 * 4 - 0.25 * 1);
  EXPECT_DOUBLE_EQ(out[1], 16 - 0.5 * 8 - 0.25 * 2);
  EXPECT_EQ(ARFILTERRESID(y, std::vector<double>{0.5}, std::vector<int>{5}, out), 0);
}

TEST_F(ArKernels, TransformGivesTheExactQuadraticForm) {
  // u'Σ⁻¹u by the dense AR(2) covariance (γ(h) = φ1γ(h−1) + φ2γ(h−2)) for n = 4.
  const double phi1 = 0.5, phi2 = -0.3;
  double g0 = 0, g1 = 0;
  ASSERT_TRUE(ar2_covariances(phi1, phi2, g0, g1));
  const double g2 = phi1 * g1 + phi2 * g0, g3 = phi1 * g2 + phi2 * g1;
  const double G[4][4] = {{g0, g1, g2, g3}, {g1, g0, g1, g2}, {g2, g1, g0, g1}, {g3, g2, g1, g0}};
  const std::vector<double> u{0.3, -1.2, 0.8, 2.0};
  // Solve Σw = u by Gaussian elimination.
  double A[4][5];
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) A[i][j] = G[i][j];
    A[i][4] = u[i];
  }
  for (int c = 0; c < 4; ++c)
    for (int r = c + 1; r < 4; ++r) {
      const double f = A[r][c] / A[c][c];
      for (int j = c; j < 5; ++j) A[r][j] -= f * A[c][j];
    }
  double w[4];
  for (int i = 3; i >= 0; --i) {
    w[i] = A[i][4];
    for (int j = i + 1; j < 4; ++j) w[i] -= A[i][j] * w[j];
    w[i] /= A[i][i];
  }
  double dense = 0.0;
  for (int i = 0; i < 4; ++i) dense += u[i] * w[i];
  std::vector<double> z(4);
  ASSERT_TRUE(ERRORRECURSION(u, phi1, phi2, z));
  double q = 0.0;
  for (double v : z) q += v * v;
  EXPECT_NEAR(q, dense, 1e-12);
  EXPECT_FALSE(ERRORRECURSION(u, 0.8, 0.3, z));  // outside the triangle
}

TEST_F(ArKernels, LikelihoodFailsOutsideTheTriangleWithoutNaN) {
  const auto d = small_regression();
  ArFit fit;
  fit.loglik = 1.5;
  EXPECT_EQ(ARMALOGLIK(d, 1.2, 0.0, 3, fit), 1);
  EXPECT_EQ(ARMALOGLIK(d, 0.5, -1.0, 4, fit), 1);
  EXPECT_EQ(fit.loglik, 1.5);
  EXPECT_EQ(numerical_state().failure, 1);
}

TEST_F(ArKernels, SlopesAreTheDerivativesOfTheConcentratedLikelihood) {
  const auto d = small_regression();
  for (const auto& [phi1, phi2] : {std::pair{0.3, 0.0}, std::pair{-0.4, 0.2}, std::pair{0.9, -0.5}}) {
    ArFit fit, up1, down1, up2, down2;
    ASSERT_EQ(ARMALOGLIK(d, phi1, phi2, 4, fit), 0);
    ArSlopes slopes;
    ASSERT_TRUE(ESTIMLIMITS(fit.u, phi1, phi2, slopes));
    const double h = 1e-6;
    ASSERT_EQ(ARMALOGLIK(d, phi1 + h, phi2, 4, up1), 0);
    ASSERT_EQ(ARMALOGLIK(d, phi1 - h, phi2, 4, down1), 0);
    ASSERT_EQ(ARMALOGLIK(d, phi1, phi2 + h, 4, up2), 0);
    ASSERT_EQ(ARMALOGLIK(d, phi1, phi2 - h, 4, down2), 0);
    EXPECT_NEAR(slopes.d1, (up1.loglik - down1.loglik) / (2 * h), 1e-5);
    EXPECT_NEAR(slopes.d2, (up2.loglik - down2.loglik) / (2 * h), 1e-5);
    EXPECT_DOUBLE_EQ(slopes.scaled, (1 - phi1 * phi1) * slopes.d1);
  }
}

TEST_F(ArKernels, LagCrossSums) {
  double a21 = 9, a22 = 9, a1 = 9;
  LAGCROSSSUMS(std::vector<double>(6, 0.0), 1e-11, a21, a22, a1);
  EXPECT_EQ(a1, 0.0);
  EXPECT_EQ(a21, 0.0);
  EXPECT_EQ(a22, 0.0);
  // x(t) = 0.5x(t−1) + 0.25x(t−2) exactly from t = 3: the AR(2) pair is recovered.
  std::vector<double> x{1.0, -2.0};
  for (int t = 2; t < 8; ++t) x.push_back(0.5 * x[t - 1] + 0.25 * x[t - 2]);
  LAGCROSSSUMS(x, 1e-11, a21, a22, a1);
  EXPECT_NEAR(a21, 0.5, 1e-12);
  EXPECT_NEAR(a22, 0.25, 1e-12);
  double s01 = 0, s00 = 0;
  for (size_t t = 0; t < x.size(); ++t) {
    s00 += x[t] * x[t];
    if (t + 1 < x.size()) s01 += x[t] * x[t + 1];
  }
  EXPECT_NEAR(a1, s01 / s00, 1e-14);
}

TEST_F(ArKernels, StepScaleIsExactOnAQuadratic) {
  const ParameterFunction f = [](std::span<const double> p, int&) {
    return 3 * p[0] * p[0] - 2 * p[0] * p[1] + 5 * p[1] * p[1] + p[0];
  };
  const std::vector<double> x{-2.0, 0.0};
  int fail = 1;
  std::vector<double> H(3);
  STEPSCALE(x, f(x, fail), f, H, fail);
  EXPECT_EQ(fail, 0);
  EXPECT_NEAR(H[0], 6.0, 1e-6);
  EXPECT_NEAR(H[1], -2.0, 1e-6);
  EXPECT_NEAR(H[2], 10.0, 1e-6);
}

// Central differences are off by terms in h² on a quartic (8h² on the diagonal of x⁴, h²
// across x·y³); one extrapolation from h and h/2 removes them.
TEST_F(ArKernels, ExtrapolatedHessianIsExactOnAQuartic) {
  const ParameterFunction f = [](std::span<const double> p, int&) {
    return std::pow(p[0], 4) + p[0] * p[0] * p[1] * p[1] + p[0] * std::pow(p[1], 3) + std::pow(p[1], 3);
  };
  const std::vector<double> x{0.5, -1.5}, h{0.1, 0.1};
  const double exact[3] = {12 * 0.25 + 2 * 2.25, 4 * 0.5 * -1.5 + 3 * 2.25, 2 * 0.25 + 6 * 0.5 * -1.5 + 6 * -1.5};
  int fail = 1;
  std::vector<double> plain(3), extrapolated(3);
  hessian_with_steps(x, f(x, fail), f, h, plain, fail);
  EXPECT_NEAR(plain[0], exact[0] + 8 * 0.01, 1e-9);  // what the extrapolation has to remove
  extrapolated_hessian(x, f(x, fail), f, h, extrapolated, fail);
  EXPECT_EQ(fail, 0);
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(extrapolated[i], exact[i], 1e-9) << i;
}

}  // namespace
