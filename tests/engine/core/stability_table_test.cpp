// Critical values of the cumulative sum of squares: the table, its ends and the surface
// beyond it.
#include <gtest/gtest.h>

#include "engine/core/stability_table.h"

namespace {

using qorv::core::TABLEVALUE;

TEST(StabilityTable, TableValuesByDifference) {
  struct Case {
    int i, j;
    double value;
  };
  const Case cases[] = {
      {4, 0, 0.4750},      // even: h = 1
      {5, 0, 0.4918},      // odd: mean of T(1) and T(2)
      {6, 0, 0.5086},      // even: h = 2
      {12, 10, 0.4750},    // below 4: h raised to 1
      {13, 10, 0.4918},
      {10, 12, 0.4750},    // a negative difference as well
      {60, 0, 0.2238},     // h = 29
      {202, 0, 0.1282},    // h = 100, the last entry
      {201, 0, 0.1285},    // odd: (T(99) + T(100)) / 2
  };
  for (const Case& c : cases) EXPECT_NEAR(TABLEVALUE(c.i, c.j), c.value, 1e-12) << c.i - c.j;
}

TEST(StabilityTable, SurfaceBeyondTheTable) {
  // h = 101 continues the table smoothly (exp(7.1554...) = 1281 units).
  EXPECT_NEAR(TABLEVALUE(204, 0), 0.1281, 0.00005);
  // The fitted surface falls to its minimum at h = 534 and is held there.
  EXPECT_LT(TABLEVALUE(1070, 0), TABLEVALUE(1068, 0));
  EXPECT_EQ(TABLEVALUE(3000, 0), TABLEVALUE(1070, 0));
  EXPECT_EQ(TABLEVALUE(3001, 0), TABLEVALUE(1070, 0));
  EXPECT_NEAR(TABLEVALUE(1070, 0), 0.0672, 0.00005);
}

}  // namespace
