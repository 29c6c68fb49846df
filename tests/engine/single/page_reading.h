// Reading a results page as a user reads it: numbers at their printed precision, fields by
// column, and the pages the viewer was shown.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/single/macro_fixture.h"

namespace qorv::testing {

/// A printed number: its value and the size of its last digit ("*NONE*" is missing).
struct Printed {
  bool missing = true;
  double value = 0.0;
  double unit = 0.0;
};

/// Reads a printed number (".12345", "-1234.5", " 1.23E+07", "*NONE*").
Printed parse_number(std::string text);

/// The printed number agrees with the reference rounded to its printed digits (within
/// the reference's own tolerance on top).
::testing::AssertionResult shows(const Printed& p, const Expected& e);

/// Columns first..last (from 1) of `line`; empty past its end.
std::string columns(const std::string& line, int first, int last);

/// `s` without leading and trailing blanks.
std::string trim(std::string s);

/// The lines of the last page the results viewer showed in the dialog transcript.
std::vector<std::string> last_page();

/// Index of the first line of `lines` that contains `text`; lines.size() when none does.
size_t find_line(const std::vector<std::string>& lines, const std::string& text);

}  // namespace qorv::testing
