// Critical values of the cumulative sum of squares of recursive residuals (5% bounds).
#pragma once

namespace qorv::core {

/// The critical value for the difference d = i - j, from a table of 100 values in units
/// of 0.0001 and, beyond it, its fitted response surface in h and ln h. With h = d/2 - 1
/// (d even) or h = (d - 3)/2 (d odd), both raised to 1 when smaller: V(h)·0.0001 for even
/// d, ½·(V(h) + V(h + 1))·0.0001 for odd d. The surface has its minimum at h = 534 and
/// turns up after it, so V holds its value at 534 from there on. Cost: constant.
double TABLEVALUE(int i, int j);

}  // namespace qorv::core
