// Cutting fields off delimited data lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/line_fields.h"

namespace qorv::data {
namespace {

using Fields = std::vector<std::string>;

TEST(SplitFields, ReadsQuotedAndPlainFieldsAsSpreadsheetsWriteThem) {
  struct Case {
    const char* line;
    char delimiter;
    Fields fields;
  };
  const Case cases[] = {
      {"a,b,c", ',', {"a", "b", "c"}},
      {" a , b ,c ", ',', {"a", "b", "c"}},
      {"a,,c,", ',', {"a", "", "c", ""}},
      {"\"x, y\",2", ',', {"x, y", "2"}},
      {"\"say \"\"hi\"\"\",2", ',', {"say \"hi\"", "2"}},
      {"\"\"\"\",\"\"", ',', {"\"", ""}},
      {"\"a\"junk,b", ',', {"a", "b"}},
      {"a;1,5;\"c;d\"", ';', {"a", "1,5", "c;d"}},
      {"a\tb c\t\t", '\t', {"a", "b c", "", ""}},
      {"  1990Q1   1.5\t2  ", kBlankDelimiter, {"1990Q1", "1.5", "2"}},
      {"obs \"GDP real output\" X", kBlankDelimiter, {"obs", "GDP real output", "X"}},
      {"", ',', {""}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const auto fields = split_fields(c.line, c.delimiter);
    ASSERT_TRUE(fields.has_value());
    EXPECT_EQ(*fields, c.fields);
  }
}

TEST(SplitFields, RefusesAnUnclosedQuote) {
  EXPECT_FALSE(split_fields("a,\"b,c", ',').has_value());
  EXPECT_FALSE(split_fields("\"a\"\"", ',').has_value());
}

TEST(ReadQuotedField, TakesFieldsOfAnyLength) {
  const std::string long_field(100000, 'x');
  std::string line = "\"" + long_field + "\"," + long_field;
  std::string_view rest = line;
  std::string field;
  EXPECT_TRUE(READQUOTEDFIELD(rest, ',', field).delimited);
  EXPECT_EQ(field, long_field);
  EXPECT_FALSE(READQUOTEDFIELD(rest, ',', field).delimited);
  EXPECT_EQ(field, long_field);
  EXPECT_TRUE(rest.empty());
}

TEST(ChooseDelimiter, PrefersTabThenCommaThenSemicolonOutsideQuotes) {
  EXPECT_EQ(choose_delimiter("obs\tX,Y\tZ"), '\t');
  EXPECT_EQ(choose_delimiter("obs,X;Y"), ',');
  EXPECT_EQ(choose_delimiter("obs;\"X, real\";Y"), ';');
  EXPECT_EQ(choose_delimiter("obs \"X\tY\" Z"), kBlankDelimiter);
}

}  // namespace
}  // namespace qorv::data
