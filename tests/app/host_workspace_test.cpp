// The host workspace's shape, sample text, name checks and re-layout.
#include "app/host_workspace.h"

#include <gtest/gtest.h>

namespace {

using namespace zelvorin;

DataShape quarterly(int year, int period, int century, int nobs) {
  DataShape s;
  s.frequency = 4;
  s.start_year = year;
  s.start_period = period;
  s.century_base = century;
  s.nobs = nobs;
  derive_end(s);
  return s;
}

TEST(HostWorkspace, EndOfSampleAndSampleText) {
  const DataShape q = quarterly(85, 2, 1900, 40);
  EXPECT_EQ(q.end_year, 95);
  EXPECT_EQ(q.end_period, 1);
  EXPECT_EQ(q.end_century, 1900);
  EXPECT_EQ(sample_text(q), "1985Q2 1995Q1");

  const DataShape across = quarterly(98, 3, 1900, 8);  // 1998Q3 .. 2000Q2
  EXPECT_EQ(across.end_year, 0);
  EXPECT_EQ(across.end_century, 2000);
  EXPECT_EQ(sample_text(across), "1998Q3 2000Q2");

  DataShape monthly{.nobs = 123, .frequency = 5, .start_year = 75, .start_period = 10, .century_base = 1900};
  derive_end(monthly);
  EXPECT_EQ(sample_text(monthly), "1975M10 1985M12");

  DataShape annual{.nobs = 31, .frequency = 2, .start_year = 1960, .start_period = 1};
  derive_end(annual);
  EXPECT_EQ(annual.end_year, 1990);  // a full year never wraps into a century
  EXPECT_EQ(sample_text(annual), "1960 1990");

  DataShape undated{.nobs = 25, .frequency = 1};
  derive_end(undated);
  EXPECT_EQ(sample_text(undated), "1 25");

  DataShape half{.nobs = 3, .frequency = 3, .start_year = 99, .start_period = 2, .century_base = 1900};
  derive_end(half);
  EXPECT_EQ(sample_text(half), "1999H2 2000H2");
}

TEST(HostWorkspace, NameChecks) {
  EXPECT_EQ(ValidateVarName("gdp 95"), "");  // lower case is refused
  EXPECT_EQ(ValidateVarName("GDP 95"), "GDP95");
  EXPECT_EQ(ValidateVarName("A.B"), "A.B");
  EXPECT_EQ(ValidateVarName("A-B"), "");
  EXPECT_EQ(ValidateVarName("Q"), "");   // a reserved word
  EXPECT_EQ(ValidateVarName("1X"), "");  // a digit first
  EXPECT_EQ(ValidateVarName("ABCDEFGHIJ"), "");  // longer than 9
  EXPECT_TRUE(SameNamePrefix("GDP", "GDP "));
  EXPECT_FALSE(SameNamePrefix("GDP", "GDPX"));
  EXPECT_TRUE(SameNamePrefix("GDP", "GDP"));

  HostWorkspace ws;
  ws.names[0] = "INC";
  ws.names[1] = "CONS";
  EXPECT_FALSE(IsNewNameAllowed(ws, "INC", 3));
  EXPECT_TRUE(IsNewNameAllowed(ws, "INCOME", 3));
  EXPECT_TRUE(IsNewNameAllowed(ws, "CONS", 2));  // only variables before n count
  EXPECT_FALSE(IsNewNameAllowed(ws, "LOG", 1));
  EXPECT_FALSE(IsNewNameAllowed(ws, "SAMPLE", 1));
  EXPECT_FALSE(IsNewNameAllowed(ws, "DOS", 1));
  EXPECT_FALSE(IsNewNameAllowed(ws, "", 1));
}

TEST(HostWorkspace, AddFileHelperShiftsEachVariable) {
  HostWorkspace ws;
  ws.shape = quarterly(90, 1, 1900, 3);
  ws.shape.nvars = 2;
  const double values[] = {1, 2, 3, 10, 20, 30};
  std::copy(std::begin(values), std::end(values), ws.data.begin());
  AddFileHelper(ws, 5, 1);
  const double m = limits::kMissing;
  const std::vector<double> want = {m, 1, 2, 3, m, m, 10, 20, 30, m};
  EXPECT_EQ(std::vector<double>(ws.data.begin(), ws.data.begin() + 10), want);
  EXPECT_EQ(ws.shape.nobs, 5);
  AddFileHelper(ws, 4, 2);  // would cut values off: refused
  EXPECT_EQ(ws.shape.nobs, 5);
}

TEST(HostWorkspace, TextToValueFallsBack) {
  EXPECT_EQ(TextToValue(QStringLiteral("2.5"), -1.0), 2.5);
  EXPECT_EQ(TextToValue(QStringLiteral("abc"), -1.0), -1.0);
}

}  // namespace
