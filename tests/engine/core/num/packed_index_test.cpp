// Index rules and the name search.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/num/matrices.h"

namespace {

using namespace qorv::core;

TEST(PackedIndex, PositionsOfTheLowerTriangleByRows) {
  EXPECT_EQ(PACKEDINDEX(1, 1), 1);
  EXPECT_EQ(PACKEDINDEX(2, 1), 2);
  EXPECT_EQ(PACKEDINDEX(2, 2), 3);
  EXPECT_EQ(PACKEDINDEX(3, 1), 4);
  EXPECT_EQ(PACKEDINDEX(3, 2), 5);
  EXPECT_EQ(PACKEDINDEX(2, 3), 5);
  EXPECT_EQ(PACKEDINDEX(102, 102), 5253);
  EXPECT_EQ(COLMAJORINDEX(4, 3, 2), 7);
}

TEST(PackedIndex, CyclicIndexWrapsBothWays) {
  struct Case { long i, n, expected; };
  for (const Case c : {Case{0, 4, 4}, Case{-1, 4, 3}, Case{5, 4, 1}, Case{4, 4, 4}, Case{1, 4, 1},
                       Case{-4, 4, 4}, Case{-5, 4, 3}, Case{9, 4, 1}})
    EXPECT_EQ(CYCLICINDEX(c.i, c.n), c.expected) << c.i;
}

TEST(NamePos, BlankPaddedSearch) {
  const std::string names = std::string("Y             ") + "X             " + "XX            " +
                            "Z@Q@G@        ";
  EXPECT_EQ(NAMEPOS("X", names, 14, 4), 2);
  EXPECT_EQ(NAMEPOS("XX   ", names, 14, 4), 3);
  EXPECT_EQ(NAMEPOS("W", names, 14, 4), 0);
  EXPECT_EQ(NAMEPOS("XX", names, 14, 2), 0);  // only the first n are searched
  EXPECT_EQ(NAMEPOS("Z@Q@G@", names, 14, 4), 5);  // n + 1 even though the list holds it
  EXPECT_EQ(NAMEPOS("X", names, 14, 0), 0);
  EXPECT_THROW(NAMEPOS("X", names, 14, 5), std::invalid_argument);
}

}  // namespace
