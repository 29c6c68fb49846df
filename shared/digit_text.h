// Tests and conversions of digit strings: what the engine, the data readers and the main
// program accept as a whole number or a plain decimal number.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace digit_text {

/// Most digits a whole number may have: 9, so that every accepted number fits 32 bits.
inline constexpr int kMaxDigits = 9;

/// True when `text` is not empty and every character is 0-9.
bool ISALLDIGITS(std::string_view text);

/// True when `text` is not empty and not blank, and every character is a digit except at
/// most one ".". No sign, no exponent, no blank.
bool ISNUMBERSTRING(std::string_view text);

/// The whole number written in `text` (leading and trailing blanks ignored); 0 for a
/// blank text. Empty result when a character is not a digit or there are more than 9
/// digits (accumulated in 64 bits, so no length can overflow).
std::optional<int64_t> DIGITSTOINT(std::string_view text);

/// The decimal digits of `value` (taken as its magnitude), least significant first; {0}
/// for 0.
std::vector<int> INTTODIGITS(int64_t value);

}  // namespace digit_text
