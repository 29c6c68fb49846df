#include "shared/equation_box.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

TEST(EquationBox, FileHoldsFortyRecordsOfSeventyEightColumns) {
  const std::string bytes = equation_box::file_bytes("Y X");
  EXPECT_EQ(bytes.size(), 40u * 79u);
  EXPECT_EQ(bytes.substr(0, 79), "Y X" + std::string(75, ' ') + "\n");
  EXPECT_EQ(bytes.substr(79, 79), std::string(78, ' ') + "\n");
}

TEST(EquationBox, StreamBreaksAtBlanks) {
  using V = std::vector<std::string>;
  const struct {
    std::string stream;
    int width;
    V lines;
  } cases[] = {
      {"", 78, {}},
      {"     ", 78, {}},
      {"Y X Z", 78, {"Y X Z"}},
      {"AB CD EF", 5, {"AB CD", "EF"}},
      {"AB CDE", 4, {"AB", "CDE"}},            // the name that would cross the edge moves whole
      {"ABCDEFG H", 3, {"ABC", "DEF", "G H"}}, // a word longer than a line is cut
      {"  Y   X  ", 3, {"Y", "X"}},
      {"Y;  Z  W", 78, {"Y;  Z  W"}},          // blanks inside a line are kept
  };
  for (const auto& c : cases) EXPECT_EQ(equation_box::break_at_blanks(c.stream, c.width), c.lines) << c.stream;
}

TEST(EquationBox, ReaderJoinsRecordsAndAcceptsShortAndCrlfRecords) {
  const auto path = std::filesystem::temp_directory_path() / ("zv_equation_box_" + std::to_string(::getpid()));
  {
    std::ofstream out(path, std::ios::binary);
    out << std::string(75, ' ') << "SEC\r\nOND Y\r\n\r\nX\n";
  }
  EXPECT_EQ(equation_box::read_lines(path), (std::vector<std::string>{"SECOND Y", "X"}));
  std::filesystem::remove(path);
  EXPECT_TRUE(equation_box::read_lines(path).empty());
}

// A NUL or a stray carriage return inside the records once gave an empty editor line and
// ended a line in the middle of the text; they read as blanks.
TEST(EquationBox, NulAndCarriageReturnReadAsBlanks) {
  using namespace std::string_literals;
  EXPECT_EQ(equation_box::parse("Y X\0\0 Z\r\r\nW\rV\n"s), (std::vector<std::string>{"Y X   Z", "W V"}));
  EXPECT_EQ(equation_box::parse(std::string(80, '\0')), std::vector<std::string>{});
}

}  // namespace
