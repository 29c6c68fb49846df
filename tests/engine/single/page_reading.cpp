#include "tests/engine/single/page_reading.h"

#include <charconv>
#include <cmath>

#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

Printed parse_number(std::string text) {
  text = trim(text);
  if (text.empty() || text == "*NONE*") return {};
  Printed p;
  const auto e = text.find('E');
  const std::string mantissa = e == std::string::npos ? text : text.substr(0, e);
  int exponent = 0;
  if (e != std::string::npos) std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), exponent);
  const auto dot = mantissa.find('.');
  const int decimals = dot == std::string::npos ? 0 : static_cast<int>(mantissa.size() - dot - 1);
  const bool negative = mantissa[0] == '-';
  std::string digits = mantissa.substr(negative ? 1 : 0);
  if (!digits.empty() && digits[0] == '.') digits.insert(0, "0");
  double m = 0.0;
  const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), m);
  EXPECT_EQ(ec, std::errc{}) << text;
  p.missing = false;
  p.value = (negative ? -m : m) * std::pow(10.0, exponent);
  p.unit = std::pow(10.0, exponent - decimals);
  return p;
}

::testing::AssertionResult shows(const Printed& p, const Expected& e) {
  if (p.missing) return ::testing::AssertionFailure() << "printed *NONE*, expected " << e.value;
  const double bound = 0.5 * p.unit * (1 + 1e-9) + (e.relative ? e.tolerance * std::fabs(e.value) : e.tolerance);
  if (std::fabs(p.value - e.value) <= bound) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "printed " << p.value << ", expected " << e.value;
}

std::string columns(const std::string& line, int first, int last) {
  if (static_cast<int>(line.size()) < first) return "";
  return line.substr(static_cast<size_t>(first - 1), static_cast<size_t>(last - first + 1));
}

std::string trim(std::string s) {
  const auto b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::vector<std::string> last_page() {
  std::vector<std::string> page;
  bool inside = false;
  for (const std::string& line : dialog_script::transcript()) {
    if (line.starts_with("--- page ")) {
      inside = true;
      page.clear();
    } else if (line == "--- end page ---") {
      inside = false;
    } else if (inside) {
      page.push_back(line);
    }
  }
  return page;
}

size_t find_line(const std::vector<std::string>& lines, const std::string& text) {
  size_t i = 0;
  while (i < lines.size() && lines[i].find(text) == std::string::npos) ++i;
  return i;
}

}  // namespace qorv::testing
