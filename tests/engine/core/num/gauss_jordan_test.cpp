// Gauss–Jordan inversion with diagonal pivots and its collinearity flag.
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

class GaussJordan : public qorv::testing::EngineTest {};

std::vector<double> identity_with(int n, int i, int j, double v) {
  std::vector<double> a(static_cast<std::size_t>(n * n), 0.0);
  for (int d = 0; d < n; ++d) a[static_cast<std::size_t>(d * n + d)] = 1.0;
  a[static_cast<std::size_t>(j * n + i)] = v;
  return a;
}

TEST_F(GaussJordan, InvertsInPlace) {
  auto a = col_major({{4, 7}, {2, 6}});
  int flag = -1;
  MATRANKTOL(a, 2, flag);
  ASSERT_EQ(flag, 0);
  const auto inv = col_major({{0.6, -0.7}, {-0.2, 0.4}});
  for (std::size_t i = 0; i < 4; ++i) EXPECT_NEAR(a[i], inv[i], 1e-15);
  // An off-diagonal first pivot is not needed: [[0, 1], [1, 1]] pivots on (2, 2) first.
  auto b = col_major({{0, 1}, {1, 1}});
  MATRANKTOL(b, 2, flag);
  ASSERT_EQ(flag, 0);
  EXPECT_EQ(b, col_major({{-1, 1}, {1, 0}}));
}

// Collinear rows are flagged at every scale of the matrix and every order; a well-scaled
// diagonal matrix is not, however small one entry (absolute tolerances of 1e-9, or 0.1ⁿ
// from n = 12, judged such matrices by their units).
TEST_F(GaussJordan, FlagDependsOnCollinearityNotOnUnits) {
  for (int n : {2, 11, 12, 15}) {
    for (double scale : {1e-8, 1.0, 1e8}) {
      auto near = identity_with(n, 0, 1, 1.0);  // rows 1 and 2 differ by 1e-10 relative
      near[1] = 1.0;
      near[static_cast<std::size_t>(n + 1)] = 1.0 + 1e-10;
      for (double& v : near) v *= scale;
      int flag = -1;
      MATRANKTOL(near, n, flag);
      EXPECT_EQ(flag, 1) << n << " " << scale;
    }
    auto small = identity_with(n, 0, 0, 1e-10);
    int flag = -1;
    MATRANKTOL(small, n, flag);
    EXPECT_EQ(flag, 0) << n;
    EXPECT_DOUBLE_EQ(small[0], 1e10);
  }
}

TEST_F(GaussJordan, NonFiniteInputIsFlagged) {
  auto a = col_major({{1, 0}, {0, std::numeric_limits<double>::infinity()}});
  int flag = -1;
  MATRANKTOL(a, 2, flag);
  EXPECT_EQ(flag, 1);
}

}  // namespace
