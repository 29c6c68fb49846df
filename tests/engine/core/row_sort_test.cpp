// The row sort: key order, the classes of rows with missing values, ties, the order
// record, and values that come back exactly as they went in.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "engine/core/row_sort.h"
#include "shared/exchange_slots.h"

namespace {

using namespace qorv::core;
constexpr double M = limits::kMissing;

/// Column `c` (from 1) of a column-major block with leading dimension `ld`.
std::vector<double> column(const std::vector<double>& block, int c, int ld) {
  return {block.begin() + (c - 1) * ld, block.begin() + c * ld};
}

TEST(RowSort, OneColumnWithMissingKeysLast) {
  std::vector<double> block{5, M, 2, M, 1};
  SORTROWS(block, 1, 5, 1, 5, M, 1);
  EXPECT_EQ(block, (std::vector<double>{1, 2, 5, M, M}));
  // Mode 0 sorts the missing code as the number it is.
  block = {5, M, 2, 1e7, 1};
  SORTROWS(block, 1, 5, 1, 5, M, 0);
  EXPECT_EQ(block, (std::vector<double>{1, 2, 5, M, 1e7}));
}

TEST(RowSort, RowsWithAMissingValueFollowCompleteRows) {
  // Columns (a, key); rows: (M, 1), (3, 4), (7, M), (8, 2), (M, 0).
  std::vector<double> block{M, 3, 7, 8, M, /**/ 1, 4, M, 2, 0};
  std::vector<int32_t> order{10, 20, 30, 40, 50};
  SORTROWS(block, 2, 5, 1, 5, M, 2, order);
  EXPECT_EQ(column(block, 1, 5), (std::vector<double>{8, 3, M, M, 7}));
  EXPECT_EQ(column(block, 2, 5), (std::vector<double>{2, 4, 0, 1, M}));
  EXPECT_EQ(order, (std::vector<int32_t>{40, 20, 50, 10, 30}));
}

TEST(RowSort, TiesKeepTheirOrderAndRowsMoveWhole) {
  // Column 1 numbers the rows; the key has ties.
  std::vector<double> block{1, 2, 3, 4, 5, 6, /**/ 2, 1, 2, 1, 2, 1};
  SORTROWS(block, 2, 6, 1, 6, M, 1);
  EXPECT_EQ(column(block, 1, 6), (std::vector<double>{2, 4, 6, 1, 3, 5}));
  EXPECT_EQ(column(block, 2, 6), (std::vector<double>{1, 1, 1, 2, 2, 2}));
}

TEST(RowSort, KeysOfVeryDifferentSizesComeBackBitForBit) {
  // Keys far below and far above the missing code, some beside a missing value.
  const std::vector<double> keys{0.1 + 1e-12, -3.3e-7, 1e300, 7.2004899337e10, -1e-300,
                                 123456789.123456789, 0.123456789, -8.5e15};
  const std::vector<double> other{1, M, 1, 1, M, 1, 1, 1};
  std::vector<double> block = other;
  block.insert(block.end(), keys.begin(), keys.end());
  SORTROWS(block, 2, 8, 1, 8, M, 1);
  EXPECT_EQ(column(block, 2, 8),
            (std::vector<double>{-8.5e15, 0.1 + 1e-12, 0.123456789, 123456789.123456789,
                                 7.2004899337e10, 1e300, -3.3e-7, -1e-300}));
  EXPECT_EQ(column(block, 1, 8), (std::vector<double>{1, 1, 1, 1, 1, 1, M, M}));
}

TEST(RowSort, OnlyTheRowsAskedForMove) {
  std::vector<double> block{9, 8, 7, 6, 5};
  SORTROWS(block, 1, 5, 2, 4, M, 1);
  EXPECT_EQ(block, (std::vector<double>{9, 6, 7, 8, 5}));
  SORTROWS(block, 1, 5, 3, 3, M, 1);  // one row: nothing to do
  EXPECT_EQ(block, (std::vector<double>{9, 6, 7, 8, 5}));
}

TEST(RowSort, RowsOrColumnsOutsideTheBlockAreRefused) {
  std::vector<double> block(10, 1.0);
  std::vector<int32_t> order(4);
  EXPECT_THROW(SORTROWS(block, 3, 5, 1, 5, M, 1), std::invalid_argument);
  EXPECT_THROW(SORTROWS(block, 2, 5, 1, 6, M, 1), std::invalid_argument);
  EXPECT_THROW(SORTROWS(block, 2, 5, 1, 5, M, 2, order), std::invalid_argument);
  EXPECT_THROW(SORTROWS(block, 2, 5, 1, 5, M, 3), std::invalid_argument);
}

}  // namespace
