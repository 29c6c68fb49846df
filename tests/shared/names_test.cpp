#include "shared/names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The name rule as one table. Rows marked "rule" settle cases where older descriptions
// of the program disagreed: the host once refused "." and the TSD reader "_" inside names;
// one rule now holds for both, and HELP is a command only as a statement of its own.
struct NameCase {
  const char* typed;
  const char* stored;  // nullptr: refused
  const char* why;
};

const NameCase kNames[] = {
    {"x1", "X1", "lower case is stored upper-cased"},
    {"_TMP", "_TMP", "underscore may start a name"},
    {"A.B", "A.B", "rule: a point is allowed after the first character"},
    {"A_B", "A_B", "rule: an underscore inside is allowed"},
    {"ABCDEFGHI", "ABCDEFGHI", "nine characters"},
    {"HELP", "HELP", "rule: not a reserved word"},
    {"logx", "LOGX", "a reserved word as a prefix"},
    {"1X", nullptr, "a digit first"},
    {".A", nullptr, "a point first"},
    {"ABCDEFGHIJ", nullptr, "ten characters"},
    {"", nullptr, "empty"},
    {"A B", nullptr, "a blank inside"},
    {"X(-1)", nullptr, "brackets"},
    {"A$", nullptr, "other characters"},
    {"\xE9T\xE9", nullptr, "bytes above 127 are not letters"},
    {"LOG", nullptr, "function word"},
    {"log", nullptr, "function word in lower case"},
    {"Q", nullptr, "rule: Q is reserved, and the host refuses it too"},
    {"SAMPLE", nullptr, "command word"},
    {"restore", nullptr, "the last reserved word"},
};

TEST(NameRule, Table) {
  for (const auto& c : kNames) {
    std::string name = c.typed;
    const bool ok = names::VALIDNAME(name);
    EXPECT_EQ(ok, c.stored != nullptr) << c.typed << ": " << c.why;
    EXPECT_EQ(name, ok ? std::string(c.stored) : std::string(c.typed)) << c.why;
  }
}

TEST(NameRule, ReservedWordsInTheirOrder) {
  ASSERT_EQ(names::kReservedWords.size(), 48u);
  EXPECT_EQ(names::kReservedWords[0], "LOG");
  EXPECT_EQ(names::kReservedWords[names::kFunctionWords - 1], "GDL");
  EXPECT_EQ(names::kReservedWords[names::kFunctionWords], "Q");
  EXPECT_EQ(names::kReservedWords[47], "RESTORE");
  for (const auto word : names::kReservedWords) {
    std::string w(word);
    EXPECT_FALSE(names::VALIDNAME(w)) << word;
  }
}

TEST(NameRule, NameInList) {
  const std::vector<std::string> list = {"X1            ", "Y", "LOG"};
  EXPECT_TRUE(names::VALIDNAMEINLIST(" x1 ", list));
  EXPECT_FALSE(names::VALIDNAMEINLIST("1X", list));
  EXPECT_FALSE(names::VALIDNAMEINLIST("LOG", list));  // reserved even when listed
  EXPECT_FALSE(names::VALIDNAMEINLIST("Z", list));
  EXPECT_FALSE(names::VALIDNAMEINLIST("X1", {}));
}

TEST(NameRule, SplitField) {
  const auto f = names::SPLITFIELD("   gdp_real_growth   Real GDP growth  ");
  EXPECT_EQ(f.name, "GDP_REAL_");
  EXPECT_EQ(f.rest, "Real GDP growth");
  const auto single = names::SPLITFIELD("x");
  EXPECT_EQ(single.name, "X");
  EXPECT_EQ(single.rest, "");
  const auto blank = names::SPLITFIELD("    ");
  EXPECT_EQ(blank.name, "");
  EXPECT_EQ(blank.rest, "");
}

}  // namespace
