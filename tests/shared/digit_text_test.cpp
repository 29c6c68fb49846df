#include "shared/digit_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using digit_text::DIGITSTOINT;
using digit_text::ISALLDIGITS;
using digit_text::ISNUMBERSTRING;

TEST(DigitText, NumberTests) {
  EXPECT_TRUE(ISNUMBERSTRING("3.25"));
  EXPECT_TRUE(ISNUMBERSTRING("12"));
  EXPECT_TRUE(ISNUMBERSTRING(".5"));
  EXPECT_FALSE(ISNUMBERSTRING("1.2.3"));
  EXPECT_FALSE(ISNUMBERSTRING(""));
  EXPECT_FALSE(ISNUMBERSTRING("1e5"));
  EXPECT_FALSE(ISNUMBERSTRING("-1"));
  EXPECT_FALSE(ISNUMBERSTRING("1 2"));
  EXPECT_TRUE(ISALLDIGITS("0123"));
  EXPECT_FALSE(ISALLDIGITS(""));
  EXPECT_FALSE(ISALLDIGITS("12.0"));
}

TEST(DigitText, WholeNumbersStopAtNineDigits) {
  EXPECT_EQ(DIGITSTOINT("  42  "), std::optional<int64_t>(42));
  EXPECT_EQ(DIGITSTOINT("   "), std::optional<int64_t>(0));
  EXPECT_EQ(DIGITSTOINT("999999999"), std::optional<int64_t>(999999999));
  // Ten digits would wrap a 32-bit accumulator (4294967297 -> 1); they are refused.
  EXPECT_EQ(DIGITSTOINT("4294967297"), std::nullopt);
  EXPECT_EQ(DIGITSTOINT("99999999999999999999999"), std::nullopt);
  EXPECT_EQ(DIGITSTOINT("1 2"), std::nullopt);
  EXPECT_EQ(DIGITSTOINT("-5"), std::nullopt);
}

TEST(DigitText, DigitsOfAnInteger) {
  EXPECT_EQ(digit_text::INTTODIGITS(0), std::vector<int>{0});
  EXPECT_EQ(digit_text::INTTODIGITS(1905), (std::vector<int>{5, 0, 9, 1}));
}

}  // namespace
