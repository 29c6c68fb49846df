// LU inversion: known inverses, pivoting, and singular matrices refused with the matrix kept.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::col_major;

class Lu : public qorv::testing::EngineTest {};

TEST_F(Lu, HilbertInverse) {
  std::vector<std::vector<double>> h(4, std::vector<double>(4));
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) h[i][j] = 1.0 / (i + j + 1);
  auto a = col_major(h);
  int status = -1;
  INVERTLU(a, 4, status);
  ASSERT_EQ(status, 0);
  const auto inv = col_major({{16, -120, 240, -140}, {-120, 1200, -2700, 1680},
                              {240, -2700, 6480, -4200}, {-140, 1680, -4200, 2800}});
  for (std::size_t i = 0; i < inv.size(); ++i) EXPECT_NEAR(a[i], inv[i], 1e-9 * std::fabs(inv[i]));
}

TEST_F(Lu, PermutationIsItsOwnInverse) {
  auto a = col_major({{0, 1}, {1, 0}});
  int status = -1;
  INVERTLU(a, 2, status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(a, col_major({{0, 1}, {1, 0}}));
}

// A zero row, an exactly singular matrix, a numerically singular one and NaN: status 1 and
// the matrix unchanged. A zero pivot used to become 1e-20 and "invert" to entries of 1e20.
TEST_F(Lu, SingularMatricesAreRefusedAndKept) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<std::vector<std::vector<double>>> cases = {
      {{0, 0}, {1, 1}}, {{1, 2}, {2, 4}}, {{1, 1}, {1, 1 + 1e-13}}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}},
      {{1, nan}, {0, 1}}};
  for (const auto& rows : cases) {
    const auto original = col_major(rows);
    auto a = original;
    int status = -1;
    INVERTLU(a, static_cast<int>(rows.size()), status);
    EXPECT_EQ(status, 1);
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (std::isnan(original[i])) continue;
      EXPECT_EQ(a[i], original[i]);
    }
  }
}

// Row scaling does not change the verdict: a nearly singular pair of rows is refused at any
// scale of the matrix, and a well-conditioned matrix with tiny entries is inverted.
TEST_F(Lu, VerdictIndependentOfScale) {
  for (double scale : {1e-12, 1.0, 1e12}) {
    auto a = col_major({{2 * scale, 1 * scale}, {1 * scale, 3 * scale}});
    int status = -1;
    INVERTLU(a, 2, status);
    ASSERT_EQ(status, 0);
    EXPECT_NEAR(a[0] * scale, 0.6, 1e-15);
    EXPECT_NEAR(a[2] * scale, -0.2, 1e-15);
    auto s = col_major({{1 * scale, 1 * scale}, {1 * scale, (1 + 1e-13) * scale}});
    INVERTLU(s, 2, status);
    EXPECT_EQ(status, 1);
  }
}

TEST_F(Lu, DecompositionAndSubstitutionSolveASystem) {
  auto a = col_major({{0, 2, 1}, {1, 1, 1}, {2, 1, 0}});
  std::vector<int> pivots(3);
  double parity = 0.0;
  int status = -1;
  LUDECOMP(a, 3, pivots, parity, status);
  ASSERT_EQ(status, 0);
  EXPECT_EQ(parity, 1.0);  // two row swaps: 3 <-> 1, then 3 <-> 2
  // x = (1, 2, 3): b = A·x = (7, 6, 4).
  std::vector<double> b = {7, 6, 4};
  LUSUBST(a, 3, pivots, b);
  EXPECT_NEAR(b[0], 1.0, 1e-15);
  EXPECT_NEAR(b[1], 2.0, 1e-15);
  EXPECT_NEAR(b[2], 3.0, 1e-15);
}

}  // namespace
