#include "shared/digit_text.h"

#include <algorithm>

#include "shared/fixed_text.h"

namespace digit_text {

namespace {
bool is_digit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool ISALLDIGITS(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), is_digit);
}

bool ISNUMBERSTRING(std::string_view text) {
  if (text.empty()) return false;
  int points = 0;
  for (const char c : text) {
    if (c == '.') {
      if (++points > 1) return false;
    } else if (!is_digit(c)) {
      return false;
    }
  }
  return true;
}

std::optional<int64_t> DIGITSTOINT(std::string_view text) {
  text = fixed_text::trim(text);
  if (text.size() > static_cast<std::size_t>(kMaxDigits)) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (!is_digit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::vector<int> INTTODIGITS(int64_t value) {
  uint64_t v = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  std::vector<int> digits;
  do {
    digits.push_back(static_cast<int>(v % 10));
    v /= 10;
  } while (v != 0);
  return digits;
}

}  // namespace digit_text
