// The fixed-width number formatters, against columns worked out by hand from their rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "engine/core/number_format.h"

namespace {

using namespace qorv::core;

struct Real9Case {
  double value;
  const char* text;
};

class FormatReal9Table : public ::testing::TestWithParam<Real9Case> {};

TEST_P(FormatReal9Table, NineColumns) {
  EXPECT_EQ(FORMATREAL9(GetParam().value), GetParam().text) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, FormatReal9Table,
    ::testing::Values(
        Real9Case{0.0, "     0.00"},
        Real9Case{8934567.0, "   *NONE*"},  // although it lies in the 0-decimal range
        Real9Case{std::numeric_limits<double>::quiet_NaN(), "   *NONE*"},
        Real9Case{-std::numeric_limits<double>::infinity(), "   *NONE*"},
        Real9Case{1e-11, "    .0000"},
        Real9Case{-1e-11, "   -.0000"},
        Real9Case{5e-10, " .5000E-9"},
        Real9Case{0.00012, " .1200E-3"},
        Real9Case{-0.00012, "-.1200E-3"},
        Real9Case{0.0001, " 1.000E-4"},  // mantissa 1: three decimals
        Real9Case{0.005, " .0050000"},
        Real9Case{-0.05, " -.050000"},
        Real9Case{0.5, "   .50000"},
        Real9Case{0.999996, "  1.00000"},  // carries, still in the 5-decimal range
        Real9Case{1.5, "   1.5000"},
        Real9Case{-1.5, "  -1.5000"},
        Real9Case{999.99996, "1000.0000"},  // fits as it stands
        Real9Case{-999.99996, "  -1000.0"},  // "-1000.0000" would not fit
        Real9Case{1234.56, "   1234.6"},
        Real9Case{999999.96, "1000000.0"},
        Real9Case{-999999.96, " -1000000"},
        Real9Case{9999999.4, "  9999999"},
        Real9Case{-9999999.4, " -9999999"},
        Real9Case{9999999.6, " 10.0E+06"},
        Real9Case{12345678.0, " 1.23E+07"},
        Real9Case{-12345678.0, "-1.23E+07"},
        Real9Case{1e10, " 1.00E+10"},
        Real9Case{1e150, " 1.00+150"},
        Real9Case{-2.5e300, "-2.50+300"}));

struct FixedCase {
  double value;
  int width;
  int decimals;
  const char* text;
};

class FormatFixedTable : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FormatFixedTable, RightJustified) {
  const FixedCase& c = GetParam();
  EXPECT_EQ(FORMATFIXED(c.value, c.width, c.decimals), c.text) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatFixedTable,
    ::testing::Values(
        FixedCase{0.25, 9, 4, "    .2500"},  // no zero in front of the point
        FixedCase{0.99996, 6, 4, "1.0000"},
        FixedCase{-0.5, 4, 2, "-.50"},
        FixedCase{0.125, 4, 2, " .13"},  // halves round up
        FixedCase{-0.125, 4, 2, "-.13"},  // on the magnitude
        FixedCase{0.0, 4, 0, "   0"},
        FixedCase{0.0, 5, 2, "  .00"},
        FixedCase{-7.0, 3, 0, " -7"},
        FixedCase{2.5, 3, 0, "  3"},
        FixedCase{1e20, 25, 0, "    100000000000000000000"},  // beyond 64 bits
        FixedCase{12345.0, 4, 0, "****"},
        FixedCase{-100.0, 3, 0, "***"},
        FixedCase{1e300, 9, 2, "*********"},
        FixedCase{std::numeric_limits<double>::infinity(), 5, 1, "*****"},
        FixedCase{3.0, 0, 0, ""}));

TEST(FormatExp9, LargeValues) {
  EXPECT_EQ(FORMATEXP9(12345678.0), " 1.23E+07");
  EXPECT_EQ(FORMATEXP9(99950000.0), " 10.0E+07");
  EXPECT_EQ(FORMATEXP9(-1e100), "-1.00+100");
  EXPECT_EQ(FORMATEXP9(1.7976931348623157e308), " 1.80+308");
  EXPECT_EQ(FORMATEXP9(8934567.0), "   *NONE*");
}

}  // namespace
