// Kronecker products of packed matrices, the cointegration likelihood criterion and the
// restricted-cointegration matrix chain, the last against finite differences.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::col_major;
using num_test::pack;

class PackedAlgebra : public qorv::testing::EngineTest {};

TEST_F(PackedAlgebra, KroneckerOfPackedMatrices) {
  const auto a = pack({{2, 1}, {1, 3}});
  const auto b = pack({{1, 0.5}, {0.5, 2}});
  std::vector<double> c(10);
  KRONPACKED(a, 2, b, 2, c);
  EXPECT_EQ(c, pack({{2, 1, 1, 0.5}, {1, 4, 0.5, 2}, {1, 0.5, 3, 1.5}, {0.5, 2, 1.5, 6}}));
}

TEST_F(PackedAlgebra, CointegrationCriterion) {
  const auto s1 = pack({{4, 2, 1}, {2, 5, 3}, {1, 3, 6}});
  const auto s2 = pack({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  const auto beta = col_major({{1, 0}, {0, 1}, {1, 1}});
  std::vector<double> out1(3), out2(3);
  double value = -1.0;
  int fail = -1;
  COINTLOGLIK(beta, s1, s2, out1, out2, 2, 3, 0, value, fail);
  EXPECT_EQ(fail, 0);
  EXPECT_EQ(out1, pack({{12, 12}, {12, 17}}));
  EXPECT_EQ(out2, pack({{2, 1}, {1, 2}}));
  EXPECT_EQ(value, -1.0);
  COINTLOGLIK(beta, s1, s2, out1, out2, 2, 3, 1, value, fail);
  EXPECT_EQ(fail, 0);
  EXPECT_NEAR(value, std::log(60.0 / 3.0), 1e-14);  // ln det 60 − ln det 3
  EXPECT_NEAR(out1[0], std::sqrt(12.0), 1e-15);      // the factors are left behind
  // Collinear vectors: the flag, and the value untouched.
  const auto twice = col_major({{1, 2}, {0, 0}, {1, 2}});
  COINTLOGLIK(twice, s1, s2, out1, out2, 2, 3, 1, value, fail);
  EXPECT_EQ(fail, 1);
  EXPECT_NEAR(value, std::log(20.0), 1e-14);
}

constexpr int kD = 3, kC = 2, kE = kD * kC;

const std::vector<std::vector<double>> kP = {{4, 1, 0.5}, {1, 3, 0.2}, {0.5, 0.2, 2}};

/// ½·ln det(B'PB) for B (kD × kC, column-major), written out for kC = 2.
long double half_log_det(const std::vector<long double>& b) {
  long double m[2][2] = {};
  for (int i = 0; i < kC; ++i)
    for (int j = 0; j < kC; ++j)
      for (int u = 0; u < kD; ++u)
        for (int v = 0; v < kD; ++v) m[i][j] += b[i * kD + u] * kP[u][v] * b[j * kD + v];
  return 0.5L * std::log(m[0][0] * m[1][1] - m[0][1] * m[1][0]);
}

// G is the gradient and R the Hessian of ½·ln det(B'PB) with respect to vec B.
TEST_F(PackedAlgebra, ChainGivesTheGradientAndHessianOfTheLogDeterminant) {
  const std::vector<double> beta = {1.0, -0.4, 0.7, 0.3, 1.2, -0.5};
  const auto p = pack(kP);
  const auto q = pack({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  std::vector<double> s(6), t(9), g(6), k1(36), r(36), k2(36), k3(36);
  int fail = -1;
  PACKEDSYMALGEBRA(p, q, beta, s, t, g, k1, r, k2, k3, kC, kD, kE, fail);
  ASSERT_EQ(fail, 0);
  const long double h = 1e-4L;
  const std::vector<long double> b0(beta.begin(), beta.end());
  for (int a = 0; a < kE; ++a) {
    auto plus = b0, minus = b0;
    plus[a] += h;
    minus[a] -= h;
    const long double grad = (half_log_det(plus) - half_log_det(minus)) / (2 * h);
    EXPECT_NEAR(g[a], static_cast<double>(grad), 1e-8) << "gradient " << a;
    for (int c = 0; c < kE; ++c) {
      auto pp = plus, pm = plus, mp = minus, mm = minus;
      pp[c] += h;
      pm[c] -= h;
      mp[c] += h;
      mm[c] -= h;
      const long double hess =
          (half_log_det(pp) - half_log_det(pm) - half_log_det(mp) + half_log_det(mm)) / (4 * h * h);
      EXPECT_NEAR(r[static_cast<std::size_t>(c * kE + a)], static_cast<double>(hess), 1e-6)
          << "Hessian " << a << "," << c;
    }
  }
}

TEST_F(PackedAlgebra, ChainStopsWhenBPBIsSingular) {
  const auto p = pack(kP);
  const std::vector<double> collinear = {1, 2, 3, 2, 4, 6};
  std::vector<double> s(6), t(9), g(6, -7.0), k1(36), r(36), k2(36), k3(36);
  int fail = -1;
  PACKEDSYMALGEBRA(p, p, collinear, s, t, g, k1, r, k2, k3, kC, kD, kE, fail);
  EXPECT_EQ(fail, 1);
  EXPECT_EQ(g, std::vector<double>(6, -7.0));
  EXPECT_THROW(PACKEDSYMALGEBRA(p, p, collinear, s, t, g, k1, r, k2, k3, kC, kD, 5, fail),
               std::invalid_argument);
}

}  // namespace
