#include "engine/core/lag_lists.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using qorv::core::PARSELAGRANGE;
using qorv::core::PARSELAGS;

struct LagsCase {
  const char* text;
  int mode;
  bool ok;
  std::vector<int> lags;
};

TEST(LagLists, Lags) {
  const LagsCase cases[] = {
      {"1 2 4", 1, true, {1, 2, 4}},
      {"   ", 1, true, {}},
      {"1 2 2", 1, false, {}},  // not strictly ascending
      {"1 2 2", 2, true, {1, 2, 2}},
      {"4 1", 1, false, {}},
      {"4 1", 2, true, {4, 1}},
      {"1 2 3 4 5 6 7 8 9 10 11 12", 1, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"1 2 3 4 5 6 7 8 9 10 11 12 13", 1, false, {}},  // a thirteenth lag
      {"1 2 3 4 5 6 7 8 9 10 11 12 13", 2, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
      {"1000", 2, false, {}},  // four digits
      {"1 x", 1, false, {}},
      {"-1", 2, false, {}},
  };
  for (const auto& c : cases) {
    const auto r = PARSELAGS(c.mode, c.text, 20);
    EXPECT_EQ(!r.error, c.ok) << c.text << " mode " << c.mode;
    EXPECT_EQ(r.lags, c.lags) << c.text;
    EXPECT_TRUE(r.message.empty());
  }
  // Mode 2 stops at the caller's capacity instead of writing past it.
  EXPECT_TRUE(PARSELAGS(2, "1 2 3 4", 3).error);
  EXPECT_FALSE(PARSELAGS(2, "1 2 3", 3).error);
}

TEST(LagLists, Ranges) {
  const struct {
    const char* text;
    bool ok;
    std::vector<int> lags;
  } cases[] = {
      {"1 TO 4", true, {1, 2, 3, 4}},
      {"1-4", true, {1, 2, 3, 4}},
      {"1to4", true, {1, 2, 3, 4}},
      {"1,3", true, {1, 2, 3}},  // the comma joins like "-"
      {"2 5 7-9", true, {2, 5, 7, 8, 9}},
      {"0-2", true, {0, 1, 2}},
      {"3-3", true, {3}},
      {"-4", false, {}},         // a joiner first
      {"4-", false, {}},         // and last
      {"1--4", false, {}},
      {"1 TU 4", false, {}},
      {"1 x", false, {}},
      {"123456", false, {}},     // more than 5 characters
  };
  for (const auto& c : cases) {
    const auto r = PARSELAGRANGE(102, c.text);
    EXPECT_EQ(!r.error, c.ok) << c.text;
    EXPECT_EQ(r.lags, c.lags) << c.text;
  }
  const auto down = PARSELAGRANGE(102, "4-1");
  EXPECT_TRUE(down.error);
  EXPECT_EQ(down.message, " Please type the lags in ascending order! ");
  // A huge range is refused at the capacity, before anything past it is stored.
  const auto huge = PARSELAGRANGE(102, "0-99999");
  EXPECT_TRUE(huge.error);
  EXPECT_TRUE(huge.lags.empty());
  EXPECT_TRUE(huge.message.empty());
  EXPECT_FALSE(PARSELAGRANGE(102, "0-101").error);
  EXPECT_TRUE(PARSELAGRANGE(102, "0-102").error);
}

}  // namespace
