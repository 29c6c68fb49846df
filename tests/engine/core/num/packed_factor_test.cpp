// Inversion and Cholesky factorisation of packed matrices: known inverses and factors, the
// relative singularity verdict at every scale, and failures that set the failure word.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::pack;
using num_test::packed;

class PackedFactor : public qorv::testing::EngineTest {};

TEST_F(PackedFactor, HilbertInverseIsTheIntegerMatrix) {
  std::vector<std::vector<double>> h(4, std::vector<double>(4));
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) h[i][j] = 1.0 / (i + j + 1);
  auto a = pack(h);
  int fail = -1;
  INVERTSYMPACKED(a, 4, fail);
  ASSERT_EQ(fail, 0);
  const double inv[4][4] = {{16, -120, 240, -140}, {-120, 1200, -2700, 1680},
                            {240, -2700, 6480, -4200}, {-140, 1680, -4200, 2800}};
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= i; ++j) EXPECT_NEAR(packed(a, i, j), inv[i - 1][j - 1], 1e-9 * std::fabs(inv[i - 1][j - 1]));
  EXPECT_EQ(numerical_state().failure, 0);
}

TEST_F(PackedFactor, CholeskyFactorIsUpperWithAEqualsUTransposeU) {
  // A = U'U with U = [[2, 1, -1], [0, 3, 2], [0, 0, 1]].
  auto a = pack({{4, 2, -2}, {2, 10, 5}, {-2, 5, 6}});
  int fail = -1;
  PACKEDCHOLESKY(a, 3, fail);
  ASSERT_EQ(fail, 0);
  // U(i, j), i <= j, sits at PACKEDINDEX(i, j).
  EXPECT_DOUBLE_EQ(a[PACKEDINDEX(1, 1) - 1], 2.0);
  EXPECT_DOUBLE_EQ(a[PACKEDINDEX(1, 2) - 1], 1.0);
  EXPECT_DOUBLE_EQ(a[PACKEDINDEX(1, 3) - 1], -1.0);
  EXPECT_DOUBLE_EQ(a[PACKEDINDEX(2, 2) - 1], 3.0);
  EXPECT_DOUBLE_EQ(a[PACKEDINDEX(2, 3) - 1], 2.0);
  EXPECT_DOUBLE_EQ(a[PACKEDINDEX(3, 3) - 1], 1.0);
}

TEST_F(PackedFactor, OneByOne) {
  std::vector<double> a = {1e-15};
  int fail = -1;
  INVERTSYMPACKED(a, 1, fail);
  EXPECT_EQ(fail, 0);
  EXPECT_DOUBLE_EQ(a[0], 1e15);
  a = {0.0};
  INVERTSYMPACKED(a, 1, fail);
  EXPECT_EQ(fail, 1);
  a = {4.0};
  PACKEDCHOLESKY(a, 1, fail);
  EXPECT_EQ(fail, 0);
  EXPECT_DOUBLE_EQ(a[0], 2.0);
}

TEST_F(PackedFactor, SecondPivotOfAllOnesFails) {
  for (auto routine : {&INVERTSYMPACKED, &PACKEDCHOLESKY}) {
    clear_numerical_failure();
    auto a = pack({{1, 1}, {1, 1}});
    int fail = 0;
    routine(a, 2, fail);
    EXPECT_EQ(fail, 1);
    EXPECT_EQ(numerical_state().failure, 1);
  }
}

// The verdict depends on the collinearity ratio only: a well-conditioned matrix is inverted
// at any scale (absolute floors refused it below about 1e-11), and its inverse scales back.
TEST_F(PackedFactor, ScaleDoesNotChangeTheVerdict) {
  for (double scale : {1e-30, 1e-15, 1e-6, 1.0, 1e6, 1e15, 1e30}) {
    auto a = pack({{2 * scale, 1 * scale}, {1 * scale, 2 * scale}});
    int fail = -1;
    INVERTSYMPACKED(a, 2, fail);
    ASSERT_EQ(fail, 0) << scale;
    EXPECT_NEAR(packed(a, 1, 1) * scale, 2.0 / 3.0, 1e-15) << scale;
    EXPECT_NEAR(packed(a, 2, 1) * scale, -1.0 / 3.0, 1e-15) << scale;
    auto c = pack({{4 * scale, 2 * scale}, {2 * scale, 10 * scale}});
    PACKEDCHOLESKY(c, 2, fail);
    ASSERT_EQ(fail, 0) << scale;
    EXPECT_NEAR(packed(c, 2, 2) / std::sqrt(scale), 3.0, 1e-14) << scale;
  }
  // A first diagonal of 1e-15 beside a unit one is fine: the second ratio t is 0.975.
  auto a = pack({{1e-15, 0.5e-8}, {0.5e-8, 1.0}});
  int fail = -1;
  INVERTSYMPACKED(a, 2, fail);
  EXPECT_EQ(fail, 0);
}

// Covariance matrices of three series whose third is 0.3·first + 1.7·second: singular at
// every scale. An absolute floor of 1e-22 accepted many of them with a finite, wrong
// log-determinant.
TEST_F(PackedFactor, ExactlySingularCovariancesFailAtEveryScale) {
  for (int seed = 1; seed <= 20; ++seed)
    for (double scale : {1e-3, 1.0, 1e2, 1e4}) {
      double s[3][3] = {};
      for (int t = 1; t <= 50; ++t) {
        const double e1 = scale * std::sin(seed * 1.3 * t + 0.7);
        const double e2 = scale * std::cos(seed * 0.37 * t * t + 0.1);
        const double e[3] = {e1, e2, 0.3 * e1 + 1.7 * e2};
        for (int i = 0; i < 3; ++i)
          for (int j = 0; j < 3; ++j) s[i][j] += e[i] * e[j] / 50.0;
      }
      const auto cov = pack({{s[0][0], s[0][1], s[0][2]}, {s[1][0], s[1][1], s[1][2]}, {s[2][0], s[2][1], s[2][2]}});
      auto a = cov;
      int fail = 0;
      PACKEDCHOLESKY(a, 3, fail);
      EXPECT_EQ(fail, 1) << "seed " << seed << " scale " << scale;
      a = cov;
      INVERTSYMPACKED(a, 3, fail);
      EXPECT_EQ(fail, 1) << "seed " << seed << " scale " << scale;
    }
}

TEST_F(PackedFactor, NonFiniteOrNonPositiveInputFails) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::vector<std::vector<double>> cases[] = {
      {{nan, 0}, {0, 1}}, {{1, nan}, {nan, 1}}, {{1, 0}, {0, inf}}, {{-1, 0}, {0, 1}}, {{1, 0}, {0, 0}}};
  for (const auto& rows : cases)
    for (auto routine : {&INVERTSYMPACKED, &PACKEDCHOLESKY}) {
      clear_numerical_failure();
      auto a = pack(rows);
      int fail = 0;
      routine(a, 2, fail);
      EXPECT_EQ(fail, 1);
      EXPECT_EQ(numerical_state().failure, 1);
    }
  std::vector<double> one = {nan};
  int fail = 0;
  INVERTSYMPACKED(one, 1, fail);
  EXPECT_EQ(fail, 1);
}

TEST_F(PackedFactor, FailureWordStaysSetUntilCleared) {
  auto bad = pack({{1, 1}, {1, 1}});
  auto good = pack({{2, 1}, {1, 2}});
  int fail = 0;
  INVERTSYMPACKED(bad, 2, fail);
  INVERTSYMPACKED(good, 2, fail);
  EXPECT_EQ(fail, 0);
  EXPECT_EQ(numerical_state().failure, 1);
  clear_numerical_failure();
  EXPECT_EQ(numerical_state().failure, 0);
  INVERTSYMPACKED(bad, 2, fail);
  reset_engine_state();
  EXPECT_EQ(numerical_state().failure, 0);
}

TEST_F(PackedFactor, ShortArrayIsRefused) {
  std::vector<double> a(2);
  int fail = 0;
  EXPECT_THROW(INVERTSYMPACKED(a, 2, fail), std::invalid_argument);
}

}  // namespace
