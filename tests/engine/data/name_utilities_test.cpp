#include "engine/data/name_utilities.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qorv::data::READSIGNEDNUMBERS;
using qorv::data::SIGNEDOFFSET;

TEST(NameUtilities, SignedOffset) {
  EXPECT_EQ(SIGNEDOFFSET("Y(-2)", "Y"), -2);
  EXPECT_EQ(SIGNEDOFFSET("Y(+3)", "Y"), 3);
  EXPECT_EQ(SIGNEDOFFSET("  Y(-12)   ", "Y"), -12);
  EXPECT_EQ(SIGNEDOFFSET("Z(-1)", "Y"), 0);
  EXPECT_EQ(SIGNEDOFFSET("Y", "Y"), 0);
  // Short or empty brackets give no shift instead of reading outside the text.
  for (const char* text : {"Y(", "Y()", "Y(-)", "Y(-", "Y(-x)", "Y(-99999999999)"})
    EXPECT_EQ(SIGNEDOFFSET(text, "Y"), 0) << text;
}

TEST(NameUtilities, SignedNumbers) {
  const auto r = READSIGNEDNUMBERS("1 -2.5 +3", 3);
  EXPECT_FALSE(r.error);
  EXPECT_EQ(r.values, (std::vector<double>{1.0, -2.5, 3.0}));
  EXPECT_TRUE(READSIGNEDNUMBERS("1 -2.5 +3", 2).error);
  EXPECT_TRUE(READSIGNEDNUMBERS("1 -2.5", 3).error);
  EXPECT_TRUE(READSIGNEDNUMBERS("1 1e5 3", 3).error);
  EXPECT_TRUE(READSIGNEDNUMBERS("1 -- 3", 3).error);
  EXPECT_TRUE(READSIGNEDNUMBERS("1 - 3", 3).error);
  EXPECT_EQ(READSIGNEDNUMBERS("0.1", 1).values.front(), 0.1);  // correctly rounded
}

}  // namespace
