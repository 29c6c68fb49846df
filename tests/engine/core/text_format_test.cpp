// Justification, centred headings, the 40 x 78 block and observation labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/obs_label.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;

TEST(TextFormat, JustifyText) {
  std::string t = "HELLO";
  JUSTIFYTEXT(t, 79, 'C');
  EXPECT_EQ(t, std::string(37, ' ') + "HELLO" + std::string(37, ' '));
  JUSTIFYTEXT(t, 79, 'R');
  EXPECT_EQ(t, std::string(74, ' ') + "HELLO");
  JUSTIFYTEXT(t, 79, 'l');
  EXPECT_EQ(t, "HELLO" + std::string(74, ' '));

  std::string inner = "  A B   |rest";  // only the first 8 columns are the field
  JUSTIFYTEXT(inner, 8, 'r');
  EXPECT_EQ(inner, "     A B|rest");
  std::string blank(6, ' ');
  JUSTIFYTEXT(blank, 6, 'C');
  EXPECT_EQ(blank, "      ");
}

TEST(TextFormat, CentreName) {
  struct Case {
    const char* name;
    const char* heading;
  };
  for (const Case& c : {Case{"X", "    X         "}, Case{"ABCDEFGH", " ABCDEFGH     "},
                        Case{"ABCD", "   ABCD       "}, Case{"  LONGNAME1", "LONGNAME1     "},
                        Case{"", "              "}}) {
    std::string name = c.name;
    EXPECT_EQ(CENTRENAME(name), c.heading) << c.name;
  }
  std::string name = "  GDP   ";
  CENTRENAME(name);
  EXPECT_EQ(name, "GDP     ") << "the caller's name is left-justified as a side effect";
}

TEST(TextFormat, LeftJustifyAndTrim) {
  std::string blank = "    ";
  EXPECT_EQ(LEFTJUSTIFY(blank), 0);
  EXPECT_EQ(blank, "    ");
  std::string word = "  WORD  ";
  EXPECT_EQ(LEFTJUSTIFY(word), 4);
  EXPECT_EQ(word, "WORD    ");
  EXPECT_EQ(COPYTRIMLEN("AB  "), 2);
  EXPECT_EQ(COPYTRIMLEN("   "), 0);
}

TEST(TextFormat, BlockOfFortyLines) {
  std::vector<std::string> lines{"first", std::string(80, 'x'), "", "fourth"};
  const std::string block = PACKLINES(lines);
  ASSERT_EQ(block.size(), 3120u);
  EXPECT_EQ(block.substr(78, 78), std::string(78, 'x'));  // cut at 78
  const std::vector<std::string> back = UNPACKLINES(block);
  ASSERT_EQ(back.size(), 40u);
  EXPECT_EQ(back[0], "first" + std::string(73, ' '));
  EXPECT_EQ(back[3].substr(0, 6), "fourth");
  EXPECT_EQ(back[39], std::string(78, ' '));
  EXPECT_EQ(UNPACKLINES("short")[0].substr(0, 6), "short ");
}

TEST(TextFormat, BlankNames) {
  std::string text(200, ' ');
  for (int i = 0; i < 200; ++i) text[static_cast<std::size_t>(i)] = static_cast<char>('A' + i % 26);
  std::vector<std::string> slots(5, std::string(78, '?'));
  EXPECT_EQ(BLANKNAMES(text, 200, 1, 5, 78, slots), 3);
  EXPECT_EQ(slots[0], text.substr(0, 78));
  EXPECT_EQ(slots[2], text.substr(156, 44) + std::string(34, ' '));
  EXPECT_EQ(slots[3], std::string(78, '?')) << "slots after the last piece are untouched";

  std::vector<std::string> two(2, std::string(4, '?'));  // fewer slots than pieces
  EXPECT_EQ(BLANKNAMES(text, 200, 1, 2, 78, two), 3);
  EXPECT_EQ(two[1], text.substr(78, 4));

  std::vector<std::string> cleared(3, std::string(5, '?'));
  EXPECT_EQ(BLANKNAMES("", 0, 2, 3, 5, cleared), 0);  // n = 0 blanks first..last
  EXPECT_EQ(cleared, (std::vector<std::string>{"?????", "     ", "     "}));
}

class ObsLabelTest : public qorv::testing::EngineTest {
 protected:
  static void dates(int frequency, int start_year, int start_period, int century) {
    Globals& g = globals();
    g.frequency = frequency;
    g.start_year = start_year;
    g.start_period = start_period;
    g.century_base = century;
  }
};

TEST_F(ObsLabelTest, EveryFrequency) {
  struct Case {
    int frequency, start_year, start_period, century, t;
    const char* label;
  };
  const Case cases[] = {
      {1, 1, 1, 0, 7, "   7   "},        // undated
      {1, 1, 1, 0, 12345, "****   "},    // does not fit 4 columns
      {2, 1990, 0, 0, 3, "1992   "},     // annual
      {3, 90, 2, 1900, 2, "1991H1 "},    // half-yearly from 1990H2
      {4, 90, 3, 1900, 3, "1991Q1 "},    // quarterly from 1990Q3
      {4, 99, 4, 1900, 2, "2000Q1 "},    // across the century
      {4, 90, 0, 0, 1, "1990Q1 "},       // period 0 and century 0 mean 1 and 1900
      {4, 90, 1, 1900, 0, "1989Q4 "},    // the observation before the first
      {5, 90, 11, 1900, 3, "1991M1#"},   // monthly from 1990M11
      {5, 90, 1, 1900, 10, "1990M10"},
      {5, 90, 1, 1900, 14, "1991M2#"},
      {5, 10, 12, 2000, 1, "2010M12"},
  };
  for (const Case& c : cases) {
    dates(c.frequency, c.start_year, c.start_period, c.century);
    EXPECT_EQ(OBSLABEL(c.t), c.label) << "frequency " << c.frequency << ", t " << c.t;
  }
}

}  // namespace
