// Dates of data files: day numbers, date tokens in every accepted form, observation
// counts between two dates.
#include <gtest/gtest.h>

#include <string>

#include "engine/data/calendar.h"
#include "engine/data/date_token.h"

namespace qorv::data {
namespace {

TEST(DayNumber, CountsDaysSinceTheEndOf1899WithinTheSearchedRange) {
  // Serial day numbers as spreadsheets show them.
  EXPECT_EQ(DATEDAYNUMBER(1, 1, 0, 2000), 36526);
  EXPECT_EQ(DATEDAYNUMBER(31, 12, 99, 1900), 36525);
  EXPECT_EQ(DATEDAYNUMBER(1, 1, 40, 1900), 14611);
  EXPECT_EQ(DATEDAYNUMBER(31, 12, 50, 2000), 55153);
  EXPECT_EQ(DATEDAYNUMBER(29, 2, 0, 2000), 36585);  // 2000 is a leap year
  EXPECT_EQ(DATEDAYNUMBER(31, 12, 39, 1900), 0);    // before the range
  EXPECT_EQ(DATEDAYNUMBER(1, 1, 51, 2000), 0);      // after it
  EXPECT_EQ(DATEDAYNUMBER(29, 2, 95, 1900), 0);     // no such day
  EXPECT_EQ(DATEDAYNUMBER(31, 4, 95, 1900), 0);
  EXPECT_EQ(DATEDAYNUMBER(1, 13, 95, 1900), 0);
  EXPECT_EQ(weekday(36526), 7);  // 1 January 2000 was a Saturday
  EXPECT_EQ(weekday(36527), 1);  // a Sunday
}

struct TokenCase {
  const char* token;
  int kind, frequency, year, century, period, day;
};

TEST(ParseDate, ReadsEveryAcceptedForm) {
  const TokenCase cases[] = {
      {"1995Q3", 4, 4, 95, 1900, 3, 0},
      {" 90q4 ", 4, 4, 90, 1900, 4, 0},
      {"2001H2", 3, 2, 1, 2000, 2, 0},
      {"76M12", 5, 12, 76, 1900, 12, 0},
      {"1990M1", 5, 12, 90, 1900, 1, 0},
      {"15/01/1995", 1, -1, 95, 1900, 1, 15},
      {"15-JAN-1995", 1, -1, 95, 1900, 1, 15},
      {"15-jan-95", 1, -1, 95, 1900, 1, 15},
      {"1995-01-15", 1, -1, 95, 1900, 1, 15},
      {"19950115", 1, -1, 95, 1900, 1, 15},
      {"24-7-2001", 1, -1, 1, 2000, 7, 24},
      {"30/7/83", 1, -1, 83, 1900, 7, 30},
      {"1/1/05", 1, -1, 5, 2000, 1, 1},  // two-digit years below 40 are 20yy
      {"01-1995", 1, -1, 95, 1900, 1, 0},
      {"95-01", 1, -1, 95, 1900, 1, 0},
      {"May-90", 1, -1, 90, 1900, 5, 0},
      {"1990:3", 1, -1, 90, 1900, 3, 0},   // year:period, read as yyyymm
      {"9501", 1, -1, 95, 1900, 1, 0},     // yymm from 3000 up
      {"951103", 1, -1, 11, 9500, 3, 0},   // six digits are always yyyymm
      {"01022003", 1, -1, 3, 2000, 2, 1},  // not a valid yyyymmdd: ddmmyyyy
      {"1850-06-30", 1, -1, 50, 1800, 6, 30},
      {"1995", 2, 1, 1995, 0, 0, 0},
      {"12", 1, 1, 1, 0, 0, 0},
      {"12345", 1, 1, 1, 0, 0, 0},
      {"123456789", 1, 1, 1, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.token);
    const DateToken d = PARSEDATE(c.token);
    EXPECT_EQ(d.kind, c.kind);
    EXPECT_EQ(d.frequency, c.frequency);
    EXPECT_EQ(d.year, c.year);
    EXPECT_EQ(d.century, c.century);
    EXPECT_EQ(d.period, c.period);
    EXPECT_EQ(d.day, c.day);
  }
}

TEST(ParseDate, RefusesWhatIsNoDate) {
  for (const char* token :
       {"", "   ", "0", "123456789012", "1990Q5", "00Q1", "1990M13", "abc", "01/15/1995",
        "31/04/1995", "29-2-1995", "9513", "199513", "32131999", "1995-", "-5", "1.5",
        "1-2-3-4", "12345-1-1", "1995-123-1", "2001-01-15T00"}) {
    SCOPED_TRACE(token);
    EXPECT_EQ(PARSEDATE(token).kind, 0);
  }
}

TEST(DateToDigits, RewritesSeparatedDatesOnly) {
  EXPECT_EQ(DATETODIGITS("15-1-1995"), "19950115");
  EXPECT_EQ(DATETODIGITS("1995-1-15"), "19950115");
  EXPECT_EQ(DATETODIGITS("1-95"), "199501");
  EXPECT_EQ(DATETODIGITS("39-1"), "203901");
  EXPECT_EQ(DATETODIGITS("1995"), "1995");
  EXPECT_EQ(DATETODIGITS("1995-13"), "1995-13");
  EXPECT_EQ(DATETODIGITS("A-B"), "A-B");
}

TEST(ObsBetweenDates, CountsPeriodsAndFlaggedDays) {
  const std::array<int, 7> none{};
  EXPECT_EQ(OBSBETWEENDATES('Q', none, 1990, 1, 0, 1995, 4, 0), 24);
  EXPECT_EQ(OBSBETWEENDATES('M', none, 1990, 11, 0, 1991, 2, 0), 4);
  EXPECT_EQ(OBSBETWEENDATES('A', none, 1960, 1, 0, 1990, 1, 0), 31);
  EXPECT_EQ(OBSBETWEENDATES('X', none, 1990, 1, 0, 1995, 4, 0), 0);
  const std::array<int, 7> weekdays{0, 1, 1, 1, 1, 1, 0};  // Monday to Friday
  // Sunday 2 January 2000 to Saturday 8 January, then two whole weeks.
  EXPECT_EQ(OBSBETWEENDATES('D', weekdays, 2000, 1, 2, 2000, 1, 8), 5);
  EXPECT_EQ(OBSBETWEENDATES('D', weekdays, 2000, 1, 2, 2000, 1, 15), 10);
  // Wednesday 5 January to Tuesday 11 January: Wed, Thu, Fri, Mon, Tue.
  EXPECT_EQ(OBSBETWEENDATES('D', weekdays, 2000, 1, 5, 2000, 1, 11), 5);
  EXPECT_EQ(OBSBETWEENDATES('D', weekdays, 1930, 1, 5, 2000, 1, 11), 0);
}

}  // namespace
}  // namespace qorv::data
