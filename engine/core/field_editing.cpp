#include "engine/core/field_editing.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qorv::core {

namespace {

/// Pads `text` on the left to `width`, first dropping a "0" before the point when the
/// field needs that column and a digit follows the point; nothing when it still does not
/// fit.
std::optional<std::string> justify(std::string text, int width) {
  const std::size_t w = static_cast<std::size_t>(width);
  if (text.size() > w) {
    const std::size_t zero = text.find("0.");
    const bool leading = zero == 0 || (zero == 1 && text[0] == '-');
    if (leading && zero + 2 < text.size() && std::isdigit(static_cast<unsigned char>(text[zero + 2])))
      text.erase(zero, 1);
  }
  if (text.size() > w) return std::nullopt;
  return std::string(w - text.size(), ' ') + text;
}

bool all_zero_digits(const std::string& text) {
  return text.find_first_of("123456789") == std::string::npos;
}

/// `format` applied to `magnitude` with `precision`, whatever its length.
std::string printed(const char* format, int precision, double magnitude) {
  const int n = std::snprintf(nullptr, 0, format, precision, magnitude);
  std::string text(static_cast<std::size_t>(n), '\0');
  std::snprintf(text.data(), text.size() + 1, format, precision, magnitude);
  return text;
}

/// |value| rounded to `decimals` decimals, with the point ("123." for no decimals).
std::string fixed_digits(double magnitude, int decimals) {
  std::string text = printed("%.*f", decimals, magnitude);
  if (decimals == 0) text += '.';
  return text;
}

/// |value| rounded to `digits` significant digits: the digits and the decimal exponent of
/// the fraction form 0.d1d2... x 10^exponent.
struct Significant {
  std::string digits;
  int exponent = 0;
};

Significant significant(double magnitude, int digits) {
  const std::string text = printed("%.*e", digits - 1, magnitude);
  const std::size_t e = text.find('e');
  Significant s;
  for (std::size_t i = 0; i < e; ++i)
    if (text[i] != '.') s.digits += text[i];
  s.exponent = magnitude == 0.0 ? 0 : std::atoi(text.c_str() + e + 1) + 1;
  return s;
}

std::optional<std::string> edit_fixed(double value, int width, int decimals) {
  std::string text = fixed_digits(std::fabs(value), decimals);
  if (std::signbit(value) && !all_zero_digits(text)) text.insert(0, "-");
  return justify(std::move(text), width);
}

std::optional<std::string> edit_exponent(double value, char letter, int width, int decimals) {
  if (decimals == 0) {
    if (value != 0.0) return std::nullopt;
    decimals = 1;  // a zero still shows one digit
  }
  const Significant s = significant(std::fabs(value), decimals);
  const int e = std::abs(s.exponent);
  if (e > 999) return std::nullopt;
  std::string exponent = s.exponent < 0 ? "-" : "+";
  if (e <= 99) {
    exponent.insert(0, 1, letter);
    if (e < 10) exponent += '0';
  }
  exponent += std::to_string(e);
  std::string text = "0." + s.digits + exponent;
  if (std::signbit(value) && value != 0.0) text.insert(0, "-");
  return justify(std::move(text), width);
}

std::optional<std::string> edit_general(double value, int width, int decimals) {
  if (decimals == 0) return edit_exponent(value, 'E', width, decimals);
  constexpr int kTrailingBlanks = 4;
  const double magnitude = std::fabs(value);
  const int k = magnitude == 0.0 ? 1 : significant(magnitude, decimals).exponent;
  if (k < 0 || k > decimals || width <= kTrailingBlanks) return edit_exponent(value, 'E', width, decimals);
  auto text = edit_fixed(value, width - kTrailingBlanks, decimals - k);
  if (!text) return std::nullopt;
  return *text + std::string(kTrailingBlanks, ' ');
}

std::optional<std::string> edit_integer(double value, int width) {
  constexpr double kLargest = 9.2e18;  // within a 64-bit integer
  if (!(std::fabs(value) < kLargest)) return std::nullopt;
  return justify(std::to_string(std::llround(value)), width);
}

}  // namespace

std::optional<std::string> edit_field(double value, char letter, int width, int decimals) {
  if (!std::isfinite(value) || width <= 0 || decimals < 0) return std::nullopt;
  switch (letter) {
    case 'F': return edit_fixed(value, width, decimals);
    case 'E':
    case 'D': return edit_exponent(value, letter, width, decimals);
    case 'G': return edit_general(value, width, decimals);
    case 'I': return edit_integer(value, width);
    default: return std::nullopt;
  }
}

}  // namespace qorv::core
