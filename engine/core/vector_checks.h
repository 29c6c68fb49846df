// Two small scans that the estimators share: a constant stretch of values, and the
// position of a number in an integer list.
#pragma once

#include <span>

namespace qorv::core {

/// True when the `n` values of `values` from `start` (0-based) are all equal; true for
/// n <= 1. A stretch that runs past the end of `values` is false. Cost O(n).
bool ISCONSTVECTOR(std::span<const double> values, int start, int n);

/// 1-based position of the first `value` in `list`, 0 when absent.
int INTPOS(int value, std::span<const int> list);

}  // namespace qorv::core
