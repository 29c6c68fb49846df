// The trailing moving average with a window per observation.
#pragma once

#include <span>

namespace qorv::data {

/// average(i) (i = 1..n, n = window.size()) is the mean of series(t), series(t - 1), ...,
/// series(t - g + 1) for observation t = offset + i, g = window(i) rounded to the nearest
/// whole number (halves away from zero). It is `missing` when window(i) is missing or
/// negative, g < 1, the window reaches before observation 1, or a value in it is
/// missing. `series` holds observations 1.. (series(t) is element t - 1) and must reach
/// observation offset + n; `average` must hold n values. Throws std::invalid_argument
/// when they do not. Cost: the sum of the windows.
void FUNCMAV(int offset, std::span<const double> series, std::span<const double> window,
             double missing, std::span<double> average);

}  // namespace qorv::data
