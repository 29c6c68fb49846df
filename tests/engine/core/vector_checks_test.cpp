#include "engine/core/vector_checks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qorv::core::INTPOS;
using qorv::core::ISCONSTVECTOR;

TEST(VectorChecks, ConstantStretches) {
  const std::vector<double> v = {1, 2, 2, 2, 3};
  EXPECT_TRUE(ISCONSTVECTOR(v, 1, 3));
  EXPECT_FALSE(ISCONSTVECTOR(v, 1, 4));
  EXPECT_TRUE(ISCONSTVECTOR(v, 4, 1));
  EXPECT_TRUE(ISCONSTVECTOR(v, 0, 0));
  EXPECT_FALSE(ISCONSTVECTOR(v, 3, 3));  // would read past the end
  EXPECT_FALSE(ISCONSTVECTOR(v, -1, 2));
}

TEST(VectorChecks, Positions) {
  const std::vector<int> list = {4, 7, 7};
  EXPECT_EQ(INTPOS(7, list), 2);
  EXPECT_EQ(INTPOS(5, list), 0);
  EXPECT_EQ(INTPOS(4, {}), 0);
}

}  // namespace
