// The MA likelihood kernels against a dense Toeplitz computation, the innovations
// recursion's failure rules, and the lag-polynomial routines.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/ma_likelihood.h"

namespace {

using namespace qorv::core;

/// ½(n ln(u'Γ⁻¹u) + ln det Γ) by a dense Cholesky factorisation of the Toeplitz Γ.
double dense_criterion(const std::vector<double>& u, const MaPolynomial& gamma, int q) {
  const int n = static_cast<int>(u.size());
  std::vector<double> L(static_cast<size_t>(n * n), 0.0);
  const auto g = [&](int i, int j) { const int h = std::abs(i - j); return h <= q ? gamma[static_cast<size_t>(h)] : 0.0; };
  double log_det = 0.0;
  for (int j = 0; j < n; ++j) {
    double d = g(j, j);
    for (int k = 0; k < j; ++k) d -= L[j * n + k] * L[j * n + k];
    const double root = std::sqrt(d);
    L[j * n + j] = root;
    log_det += 2.0 * std::log(root);
    for (int i = j + 1; i < n; ++i) {
      double s = g(i, j);
      for (int k = 0; k < j; ++k) s -= L[i * n + k] * L[j * n + k];
      L[i * n + j] = s / root;
    }
  }
  std::vector<double> z(u);
  double ssq = 0.0;
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < i; ++k) z[i] -= L[i * n + k] * z[k];
    z[i] /= L[i * n + i];
    ssq += z[i] * z[i];
  }
  return 0.5 * (n * std::log(ssq) + log_det);
}

std::vector<double> series(int n) {
  std::vector<double> u(static_cast<size_t>(n));
  for (int t = 0; t < n; ++t) u[static_cast<size_t>(t)] = std::sin(0.7 * t) + 0.3 * std::cos(2.3 * t * t) + 0.01 * t;
  return u;
}

TEST(MaLikelihood, KernelEqualsDenseToeplitzLikelihood) {
  struct Case {
    std::vector<double> parameters;
    std::vector<int> lags;
  };
  const Case cases[] = {{{0.6}, {1}}, {{-0.95}, {1}}, {{0.5, -0.3}, {1, 2}}, {{0.4, 0.35}, {1, 4}}};
  MaRecursion r;  // one recursion for every case: its tables follow the order and length
  for (const int n : {150, 5, 60}) {
    const auto u = series(n);
    for (const auto& c : cases) {
      MaPolynomial poly{}, gamma{};
      const int q = ma_polynomial(c.parameters, c.lags, poly);
      ma_autocovariances(poly, q, gamma);
      double criterion = 0.0;
      int fail = 1;
      std::vector<double> standardised(u.size());
      LOGLIKKERNEL(c.parameters, c.lags, u, criterion, standardised, fail, r);
      ASSERT_EQ(fail, 0);
      EXPECT_NEAR(criterion, dense_criterion(u, gamma, q), 1e-9) << n << " " << c.parameters[0];
    }
  }
}

TEST(MaLikelihood, RecursionFailsBelowItsFloorAndForBadLags) {
  MaRecursion r;
  r.q = 1;
  r.gamma = {0.5, 0.1};  // γ(0) below 1: not a monic MA polynomial's
  EXPECT_EQ(prepare_recursion(r, 10, 0), 1);
  EXPECT_EQ(prepare_recursion(r, 10, 1), 0);  // data autocovariances take any positive level
  double criterion = 7.0;
  int fail = 0;
  const std::vector<double> u = series(20);
  const std::vector<double> p{0.5, 0.2};
  LOGLIKKERNEL(p, std::vector<int>{2, 1}, u, criterion, {}, fail, r);
  EXPECT_EQ(fail, 1);
  LOGLIKKERNEL(p, std::vector<int>{1, 13}, u, criterion, {}, fail, r);
  EXPECT_EQ(fail, 1);
  EXPECT_EQ(criterion, 7.0);
}

TEST(MaLikelihood, NonInvertibleFactorBecomesItsInvertibleTwin) {
  UnitRoots roots;
  std::vector<double> a{1.0, 2.0};
  EXPECT_EQ(DEFLATEUNITROOTS(a, 1, roots), 0);
  EXPECT_EQ(roots.at_one + roots.at_minus_one, 0);
  EXPECT_NEAR(a[1], 0.5, 1e-9);
  // θ = 2 is θ = 0.5 with four times the innovation variance: the recursion of θ = 2
  // settles on variance 4, and both have the same concentrated likelihood.
  const auto u = series(80);
  MaRecursion r2, r5;
  double c2 = 0.0, c5 = 0.0;
  int fail2 = 1, fail5 = 1;
  LOGLIKKERNEL(std::vector<double>{2.0}, std::vector<int>{1}, u, c2, {}, fail2, r2);
  LOGLIKKERNEL(std::vector<double>{0.5}, std::vector<int>{1}, u, c5, {}, fail5, r5);
  ASSERT_EQ(fail2 + fail5, 0);
  ASSERT_GT(r2.converged, 0);
  EXPECT_NEAR(r2.v[static_cast<size_t>(r2.converged)], 4.0, 1e-9);
  EXPECT_NEAR(c2, c5, 1e-9);
  // Same autocovariances up to the innovation variance 4: γ(0) 5 = 4·1.25, γ(1) 2 = 4·0.5.
  // A unit root at −1 is kept beside the invertible rest: (1 + L)(1 + 3L) → (1 + L)(1 + L/3).
  std::vector<double> b{1.0, 4.0, 3.0};
  EXPECT_EQ(DEFLATEUNITROOTS(b, 2, roots), 0);
  EXPECT_EQ(roots.at_minus_one, 1);
  EXPECT_EQ(roots.at_one, 0);
  EXPECT_NEAR(b[1], 1.0 + 1.0 / 3.0, 1e-8);
  EXPECT_NEAR(b[2], 1.0 / 3.0, 1e-8);
  // An invertible polynomial and one with a root at +1 stay as they are.
  std::vector<double> c{1.0, -0.4, 0.2}, d{1.0, -1.0};
  EXPECT_EQ(DEFLATEUNITROOTS(c, 2, roots), 0);
  EXPECT_EQ(DEFLATEUNITROOTS(d, 1, roots), 0);
  EXPECT_EQ(roots.at_one, 1);
  EXPECT_NEAR(c[1], -0.4, 1e-15);
  EXPECT_NEAR(c[2], 0.2, 1e-15);
  EXPECT_NEAR(d[1], -1.0, 1e-15);
}

TEST(MaLikelihood, PolynomialProductAndQuotient) {
  const std::vector<double> p{1.0, 2.0}, q{1.0, -1.0, 3.0};
  const auto c = POLYMULT(p, q);
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c, (std::vector<double>{1.0, 1.0, 1.0, 6.0}));
  EXPECT_EQ(ZEROFILL(c, p), q);
  EXPECT_TRUE(ZEROFILL(p, c).empty());
}

}  // namespace
