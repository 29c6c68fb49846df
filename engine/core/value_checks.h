// A check, with its message to the user, that a vector holds no given value.
#pragma once

#include <span>

namespace qorv::core {

/// Compares x(offset + 1) .. x(offset + n) in order with `value` for exact equality. At the
/// first match it shows message-file lines 126 to 131 and returns 1; with no match it
/// returns 0 and shows nothing. Throws std::invalid_argument when the range lies outside
/// `x`. Cost: O(n).
int CHECKVALUEABSENT(std::span<const double> x, int n, int offset, double value);

}  // namespace qorv::core
