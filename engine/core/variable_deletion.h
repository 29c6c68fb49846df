// Removing variables from the workspace: one by number, or a list of numbers.
#pragma once

#include <span>

namespace qorv::core {

/// Removes variable `index` (1..NVARS): the names, descriptions, temporary marks and data
/// columns of the later variables move down one place and NVARS falls by one. An index
/// out of range does nothing. Cost O((NVARS - index) * NOBS).
void DELETEVARIABLE(int index);

/// Removes every variable of `numbers` in descending order, so that no deletion shifts a
/// variable still to be deleted; repeated and out-of-range numbers are ignored.
/// Returns how many were removed.
int DELETEVARIABLES(std::span<const int> numbers);

}  // namespace qorv::core
