// The character shift of series names read from TSD files.
#pragma once

#include <span>

namespace qorv::core {

/// Raises by 32 every character code in 33..58 up to the last non-blank character:
/// "!" .. ":" become "A" .. "Z", so the digits "0" .. "9" become "P" .. "Y". Blanks and
/// every other code stay. Cost: O(length).
void SHIFTCHARS(std::span<char> text);

}  // namespace qorv::core
