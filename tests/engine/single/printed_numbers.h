// Reading numbers off a results page as a user reads them: a field by its columns, a
// printed number with the size of its last digit, and the comparison of a printed number
// with a reference value rounded the same way.
#pragma once

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/single/macro_reference.h"

namespace qorv::testing {

/// A printed number: its value and the size of its last digit ("*NONE*" is missing).
struct Printed {
  bool missing = true;
  double value = 0.0;
  double unit = 0.0;
};

/// The blank-separated words of `line`.
inline std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

inline std::string trim(std::string s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

/// Columns first..last (from 1) of a line; empty past its end.
inline std::string columns(const std::string& line, int first, int last) {
  if (static_cast<int>(line.size()) < first) return "";
  return line.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}

inline Printed parse_number(std::string text) {
  text = trim(text);
  if (text.empty() || text == "*NONE*") return {};
  Printed p;
  const auto e = text.find('E');
  std::string mantissa = e == std::string::npos ? text : text.substr(0, e);
  int exponent = 0;
  if (e != std::string::npos) std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
  const auto dot = mantissa.find('.');
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(mantissa.size() - dot - 1);
  double m = 0.0;
  const bool negative = mantissa[0] == '-';
  std::string digits = negative ? mantissa.substr(1) : mantissa;
  if (!digits.empty() && digits[0] == '.') digits.insert(0, "0");
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), m);
  EXPECT_EQ(ec, std::errc{}) << text;
  p.missing = false;
  p.value = (negative ? -m : m) * std::pow(10.0, exponent);
  p.unit = std::pow(10.0, exponent - decimals);
  return p;
}

/// The printed number agrees with the reference rounded to its printed digits.
inline ::testing::AssertionResult shows(const Printed& p, const Expected& e) {
  if (p.missing) return ::testing::AssertionFailure() << "printed *NONE*, expected " << e.value;
  const double bound = 0.5 * p.unit * (1 + 1e-9) + (e.relative ? e.tolerance * std::fabs(e.value) : e.tolerance);
  if (std::fabs(p.value - e.value) <= bound) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "printed " << p.value << ", expected " << e.value;
}

}  // namespace qorv::testing
