#include "engine/core/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

constexpr std::string_view kNone = "   *NONE*";

// The decimal digits of a whole, non-negative double (exact for any magnitude).
std::string whole_digits(double whole) {
  std::array<char, 400> buf{};
  const auto [end, ec] =
      std::to_chars(buf.data(), buf.data() + buf.size(), whole, std::chars_format::fixed, 0);
  return ec == std::errc{} ? std::string(buf.data(), end) : std::string("*");
}

// 10^e as the double nearest to it (the same double as the literal 1e<e>).
double power_of_ten(int e) {
  const std::string text = "1e" + std::to_string(e);
  double v = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec == std::errc::result_out_of_range) return e > 0 ? HUGE_VAL : 0.0;
  return v;
}

bool is_missing(double value) { return !std::isfinite(value) || value == limits::kMissing; }

// The small exponent form for 1e-10 < |value| < 0.001: the mantissa in columns 1 to 6,
// "E-" and the one-digit exponent.
std::string small_exponent(double value, double a) {
  const int k = std::clamp(static_cast<int>(std::trunc(-std::log10(a))), 3, 9);
  const double m = value * power_of_ten(k);
  return FORMATFIXED(m, 6, std::fabs(m) >= 0.99995 ? 3 : 4) + "E-" +
         static_cast<char>('0' + k);
}

}  // namespace

std::string FORMATFIXED(double value, int width, int decimals) {
  if (width <= 0) return {};
  const auto w = static_cast<std::size_t>(width);
  if (!std::isfinite(value)) return std::string(w, '*');
  decimals = std::clamp(decimals, 0, 22);
  const double a = std::fabs(value);
  double whole = std::trunc(a);
  const double p = power_of_ten(decimals);
  double fraction = std::floor((a - whole) * p + 0.5);
  if (fraction >= p) {
    fraction = 0.0;
    whole += 1.0;
  }
  std::string text;
  if (value < 0) text.push_back('-');
  if (whole != 0.0 || decimals == 0) text += whole_digits(whole);
  if (decimals > 0) {
    const std::string f = whole_digits(fraction);
    text.push_back('.');
    text.append(static_cast<std::size_t>(decimals) - std::min(f.size(), static_cast<std::size_t>(decimals)), '0');
    text += f;
  }
  if (text.size() > w) return std::string(w, '*');
  return std::string(w - text.size(), ' ') + text;
}

std::string FORMATREAL9(double value) {
  if (is_missing(value)) return std::string(kNone);
  if (value == 0.0) return "     0.00";
  const double a = std::fabs(value);
  if (a <= 1e-10) return FORMATFIXED(value, 9, 4);
  if (a < 0.001) return small_exponent(value, a);
  if (a > 9999999.4) return FORMATEXP9(value);
  struct Range {
    double below;  // upper bound of |value|
    int decimals;
  };
  static constexpr std::array<Range, 6> kRanges{
      {{0.01, 7}, {0.1, 6}, {1.0, 5}, {1000.0, 4}, {1e6, 1}, {HUGE_VAL, 0}}};
  std::size_t r = 0;
  while (a >= kRanges[r].below) ++r;
  std::string text = FORMATFIXED(value, 9, kRanges[r].decimals);
  // Rounding carried the value into the next range: write it there.
  if (text[0] == '*' && r + 1 < kRanges.size()) text = FORMATFIXED(value, 9, kRanges[r + 1].decimals);
  return text;
}

std::string FORMATEXP9(double value) {
  if (is_missing(value)) return std::string(kNone);
  const double a = std::fabs(value);
  if (a == 0.0) return " 0.00E+00";
  int e = static_cast<int>(std::trunc(std::log10(a)));
  // log10 may miss by one next to a power of ten: settle e by exact comparison.
  if (a >= power_of_ten(e + 1)) ++e;
  if (a < power_of_ten(e)) --e;
  if (e >= 1000 || e <= -100) return "*********";
  const double m = a / power_of_ten(e);
  std::string text(1, value < 0 ? '-' : ' ');
  text += FORMATFIXED(m, 4, m >= 9.995 ? 1 : 2);
  if (e >= 100) {
    text += '+' + whole_digits(e);
  } else {
    const int ae = std::abs(e);
    text += e < 0 ? "E-" : "E+";
    text += static_cast<char>('0' + ae / 10);
    text += static_cast<char>('0' + ae % 10);
  }
  return text;
}

}  // namespace qorv::core
