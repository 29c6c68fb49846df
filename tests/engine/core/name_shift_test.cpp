// The character shift of TSD series names.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/name_shift.h"

namespace {

std::string shifted(std::string text) {
  qorv::core::SHIFTCHARS(text);
  return text;
}

TEST(NameShift, CodesFromBangToColonBecomeLetters) {
  EXPECT_EQ(shifted("GDP12     "), "GDPQR     ");
  EXPECT_EQ(shifted("!0689:"), "APVXYZ");
  // Blanks inside and after the name, lower case, ";" (59) and bytes above 127 stay.
  EXPECT_EQ(shifted("a b;\xE9 "), "a b;\xE9 ");
  EXPECT_EQ(shifted(""), "");
}

}  // namespace
