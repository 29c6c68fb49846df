// Dense products and the largest element.
#include <gtest/gtest.h>

#include <vector>

#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"

namespace {

using namespace qorv::core;
using num_test::col_major;

TEST(Dense, MatrixProduct) {
  const auto a = col_major({{1, 2, 3}, {4, 5, 6}});
  const auto b = col_major({{1, 0}, {2, 1}, {0, -1}});
  std::vector<double> c(4, -1.0);
  MATMULT(a, b, 2, 3, 2, c);
  EXPECT_EQ(c, col_major({{5, -1}, {14, -1}}));
  MATMULT(a, b, 2, 0, 2, c);
  EXPECT_EQ(c, std::vector<double>(4, 0.0));
  EXPECT_THROW(MATMULT(a, std::span<const double>(c), 2, 2, 2, std::span<double>(c)), std::invalid_argument);
}

TEST(Dense, KroneckerProduct) {
  const std::vector<double> two = {2};
  const auto b = col_major({{1, 2}, {3, 4}});
  std::vector<double> c(4);
  KRONECKER(two, 1, 1, b, 2, 2, c);
  EXPECT_EQ(c, col_major({{2, 4}, {6, 8}}));
  const auto a = col_major({{1, 2}, {3, 4}});
  const auto v = col_major({{1}, {-1}});
  std::vector<double> k(8);
  KRONECKER(a, 2, 2, v, 2, 1, k);
  EXPECT_EQ(k, col_major({{1, 2}, {-1, -2}, {3, 4}, {-3, -4}}));
}

TEST(Dense, LargestElementKeepsSignAndFirstPosition) {
  double value = 0;
  int position = 0;
  MAXABSELEMENT(std::vector<double>{-3, 3, 1}, 3, value, position);
  EXPECT_EQ(value, -3);
  EXPECT_EQ(position, 1);
  MAXABSELEMENT(std::vector<double>{1, -2, 5, -5}, 4, value, position);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(position, 3);
  MAXABSELEMENT(std::vector<double>{}, 0, value, position);
  EXPECT_EQ(position, 0);
}

}  // namespace
