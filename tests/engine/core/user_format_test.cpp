// Formatted reading and writing with a user's format text.
#include "engine/core/user_format.h"

#include "engine/core/field_editing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using qorv::core::FormatReadStatus;
using qorv::core::parse_user_format;
using qorv::core::read_formatted;

/// A record source over a list of lines, counting the records taken.
struct Lines {
  std::vector<std::string> lines;
  std::size_t next = 0;
  qorv::core::RecordSource source() {
    return [this](std::string& record) {
      if (next >= lines.size()) return false;
      record = lines[next++];
      return true;
    };
  }
};

std::vector<double> read(const std::string& format, Lines& lines, std::size_t n,
                         FormatReadStatus want = FormatReadStatus::kOk) {
  const auto program = parse_user_format(format);
  EXPECT_TRUE(program.has_value()) << format;
  std::vector<double> out(n, -1.0);
  if (program) {
    EXPECT_EQ(read_formatted(*program, lines.source(), out), want) << format;
  }
  return out;
}

TEST(UserFormat, EightF102ReadsTwentyValuesFromThreeRecords) {
  Lines lines;
  std::string r1, r2, r3 = "      21.5      22.5";
  for (int i = 1; i <= 8; ++i) r1 += "      " + std::to_string(i) + ".25";  // width 10 each
  for (int i = 11; i <= 18; ++i) r2 += "     " + std::to_string(i) + ".75";
  lines.lines = {r1, r2, r3, "not read"};
  const auto v = read("(8F10.2)", lines, 20);
  EXPECT_EQ(v[0], 1.25);
  EXPECT_EQ(v[7], 8.25);
  EXPECT_EQ(v[8], 11.75);
  EXPECT_EQ(v[15], 18.75);
  EXPECT_EQ(v[16], 21.5);
  EXPECT_EQ(v[17], 22.5);
  EXPECT_EQ(v[18], 0.0);  // past the end of a short record: blank, so 0
  EXPECT_EQ(lines.next, 3u);
}

TEST(UserFormat, FieldConversions) {
  struct Case {
    const char* format;
    const char* record;
    double want;
  };
  const Case cases[] = {
      {"(F10.2)", "     12345", 123.45},   // implied decimal point
      {"(F10.2)", "    123.4 ", 123.4},    // an explicit point wins
      {"(F10.2)", " 1 2 3 4 5", 123.45},   // blanks inside a field are ignored
      {"(F10.2)", "          ", 0.0},      // an all-blank field is 0
      {"(F8.3)", "  -1.5E2", -150.0},
      {"(E10.3)", "  1.25D-03", 0.00125},  // D exponent
      {"(E10.3)", "    1.5+03", 1500.0},   // exponent with a bare sign
      {"(D10.0)", "     .5   ", 0.5},
      {"(G10.2)", "       250", 2.5},
      {"(I5)", "  -42", -42.0},
      {"(3X,F4.1)", "xxx12.5", 12.5},
      {"(f6.1)", " 1.5e1", 15.0},           // lower case
  };
  for (const Case& c : cases) {
    Lines lines{{c.record}};
    EXPECT_DOUBLE_EQ(read(c.format, lines, 1)[0], c.want) << c.format << " on '" << c.record << "'";
  }
}

TEST(UserFormat, GroupsSlashesAndReversion) {
  // Reversion goes back to the last outermost group, with its repeat count, on a new record.
  Lines lines{{"1.0 9999", "2.0 3.0 ", "4.0 5.0 ", "6.0 7.0 "}};
  const auto v = read("(F3.1,5X/2(F3.1,1X))", lines, 7);
  EXPECT_EQ(v, (std::vector<double>{1, 2, 3, 4, 5, 6, 7}));

  // Without a group the whole list is used again.
  Lines plain{{"1 2 ", "3 4 ", "5"}};
  EXPECT_EQ(read("(2F2.0)", plain, 5), (std::vector<double>{1, 2, 3, 4, 5}));

  // Each read statement starts on a new record and drops the rest of its last one.
  Lines two{{"1 2 3 ", "4 5 6 "}};
  const auto program = parse_user_format("(3F2.0)");
  std::vector<double> a(2), b(2);
  EXPECT_EQ(read_formatted(*program, two.source(), a), FormatReadStatus::kOk);
  EXPECT_EQ(read_formatted(*program, two.source(), b), FormatReadStatus::kOk);
  EXPECT_EQ(a, (std::vector<double>{1, 2}));
  EXPECT_EQ(b, (std::vector<double>{4, 5}));
}

TEST(UserFormat, FailuresKeepWhatWasNotRead) {
  Lines short_file{{"1.0 2.0 "}};
  auto v = read("(2F4.1)", short_file, 4, FormatReadStatus::kEndOfFile);
  EXPECT_EQ(v, (std::vector<double>{1, 2, -1, -1}));
  Lines bad{{" 1.0 abc"}};
  v = read("(2F4.1)", bad, 2, FormatReadStatus::kBadField);
  EXPECT_EQ(v, (std::vector<double>{1, -1}));
  Lines integer_with_point{{"1.5"}};
  read("(I3)", integer_with_point, 1, FormatReadStatus::kBadField);
  Lines empty;
  read("(F4.1)", empty, 1, FormatReadStatus::kEndOfFile);
}

TEST(UserFormat, MalformedFormatTextsAreRefused) {
  for (const char* text : {"8F10.2", "(8F10.2", "()", "(8Q10.2)", "(F10)", "(0F10.2)", "(F0.2)",
                           "(F10.2,)", "(,F10.2)", "(F5.1 F5.1)", "(5X)", "(F5.1,(2X))",
                           "(F5.1) x", "(999999(999999F1.0))", "((F1.0)"}) {
    std::string why;
    EXPECT_FALSE(parse_user_format(text, &why).has_value()) << text;
    EXPECT_FALSE(why.empty()) << text;
  }
  for (const char* text : {"(8F10.2)", " ( 2 ( F6.1 , 1X ) , I4 / E12.4E2 ) ", "(F5.1//F5.1)",
                           "(G10.3)", "(I4.2,2X,D8.1)"})
    EXPECT_TRUE(parse_user_format(text).has_value()) << text;
}

TEST(UserFormat, FieldEditing) {
  struct Case {
    char letter;
    int width, decimals;
    double value;
    const char* want;  // nullptr: the field cannot hold the value
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {'F', 10, 2, 123.456, "    123.46"},
      {'F', 6, 2, -0.5, " -0.50"},
      {'F', 4, 2, -0.5, "-.50"},          // the leading 0 gives way
      {'F', 3, 2, -0.5, nullptr},
      {'F', 5, 0, 123.0, " 123."},
      {'F', 1, 0, 0.0, nullptr},          // "0." keeps its digit
      {'F', 6, 2, -0.001, "  0.00"},      // no "-0.00"
      {'F', 6, 2, 8934567.0, nullptr},
      {'F', 11, 3, 8934567.0, "8934567.000"},
      {'F', 10, 2, nan, nullptr},
      {'E', 12, 4, 123.456, "  0.1235E+03"},
      {'E', 10, 4, 123.456, "0.1235E+03"},
      {'E', 10, 4, -123.456, "-.1235E+03"},
      {'E', 9, 4, -123.456, nullptr},
      {'E', 9, 4, 123.456, ".1235E+03"},
      {'D', 12, 4, 0.00123456, "  0.1235D-02"},
      {'E', 12, 4, 0.0, "  0.0000E+00"},
      {'E', 12, 4, 1e-150, "  0.1000-149"},  // three exponent digits take the letter's place
      {'E', 12, 4, 9.99996, "  0.1000E+02"},
      {'E', 10, 0, 5.0, nullptr},
      {'G', 12, 4, 123.456, "   123.5    "},
      {'G', 12, 4, 0.5, "  0.5000    "},
      {'G', 12, 4, 0.0, "   0.000    "},
      {'G', 12, 4, 0.05, "  0.5000E-01"},
      {'G', 12, 4, 12346.0, "  0.1235E+05"},
      {'G', 12, 4, 12345.0, "  0.1234E+05"},  // an exact tie goes to the even digit
      {'G', 12, 4, 9999.6, "  0.1000E+05"},  // rounds up to five digits: the E form
      {'G', 12, 4, 9999.4, "   9999.    "},
      {'I', 5, 0, 12.6, "   13"},
      {'I', 5, 0, -3.4, "   -3"},
      {'I', 3, 0, 12345.0, nullptr},
      {'I', 30, 0, 1e300, nullptr},
  };
  for (const Case& c : cases) {
    const std::optional<std::string> got = qorv::core::edit_field(c.value, c.letter, c.width, c.decimals);
    const std::string where = std::string(1, c.letter) + std::to_string(c.width) + "." +
                              std::to_string(c.decimals) + " of " + std::to_string(c.value);
    if (c.want == nullptr) {
      EXPECT_FALSE(got.has_value()) << where << " gave '" << got.value_or("") << "'";
    } else {
      EXPECT_EQ(got.value_or("<none>"), c.want) << where;
    }
  }
}

TEST(UserFormat, WrittenRecordsReadBackWithTheSameFormat) {
  const auto program = parse_user_format("(F4.1,2X/2(E11.4,1X))");
  ASSERT_TRUE(program.has_value());
  const std::vector<double> values{1.5, -250.0, 0.0625, 3.0e-9, 7.0};
  const auto written = qorv::core::write_formatted(*program, values);
  ASSERT_FALSE(written.unfit.has_value());
  EXPECT_EQ(written.records, (std::vector<std::string>{" 1.5  ", "-0.2500E+03  0.6250E-01 ",
                                                       " 0.3000E-08  0.7000E+01"}));
  Lines lines{written.records};
  EXPECT_EQ(read("(F4.1,2X/2(E11.4,1X))", lines, values.size()), values);

  const auto narrow = parse_user_format("(F4.1)");
  const std::vector<double> wide{1.0, 99.5, 100.0, 2.0};
  const auto refused = qorv::core::write_formatted(*narrow, wide);
  EXPECT_EQ(refused.unfit, std::optional<std::size_t>{2});
  EXPECT_EQ(refused.records, (std::vector<std::string>{" 1.0", "99.5"}));
}

}  // namespace
