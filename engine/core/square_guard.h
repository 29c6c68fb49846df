// Data too large to be squared. Sums of squares and cross products over values near the
// largest double overflow to infinity; left alone, the infinity reaches a singularity test,
// which then blames collinearity, or a printed statistic. These checks find such data
// before it is used, so that the user is told which variable to scale.
//
// If Σx² and Σy² are finite, so is every partial sum of Σxy (|Σxy| <= √(Σx²·Σy²)), so
// checking each column's sum of squares covers all the cross products of a regression.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qorv::core {

/// True when every value is finite and Σ v² over `values` does not overflow. O(n).
bool squares_finite(std::span<const double> values);

/// The first of positions `first`..`last` of `list` whose variable has a column whose sum of
/// squares overflows, or -1. The column of list[j] holds observations t = 1..n at elements
/// (list[j] − 1)·ld + offset + t (from 1), the layout the least-squares kernels read; a
/// column that lies outside `data`, or a position outside `list`, is passed over (the
/// kernels refuse it). O(n·(last − first + 1)).
int first_unsquarable(std::span<const double> data, long offset, std::span<const int> list, int first,
                      int last, int n, int ld);

/// "The values of NAME are too large to be used - please scale them!"
std::string too_large_text(std::string_view name);

/// Shows `too_large_text(name)` in an error box.
void TOOLARGEMESSAGE(std::string_view name);

/// `value` when it is finite, else the missing code.
double finite_or_missing(double value);

}  // namespace qorv::core
