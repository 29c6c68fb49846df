// Helpers shared by the matrix routines: argument checks, extended-precision inner products
// and the addressing of data columns in the work array. Not for use outside engine/core/num.
#pragma once

#include <cmath>
#include <cstddef>
#include <span>

namespace qorv::core::num_detail {

/// Throws std::invalid_argument with `what` unless `ok`: a call whose sizes or indexes do
/// not fit its arrays is a programming error, never a numerical failure.
void require(bool ok, const char* what);

/// Number of elements of a packed symmetric matrix of order n (n <= 0 gives 0).
inline std::size_t packed_size(long n) {
  return n > 0 ? static_cast<std::size_t>(n) * static_cast<std::size_t>(n + 1) / 2 : 0;
}

/// 0-based position of packed element (i, j), both from 1 (either triangle).
inline std::size_t packed_at(long i, long j) {
  const long m = i > j ? i : j;
  const long k = i > j ? j : i;
  return static_cast<std::size_t>(m * (m - 1) / 2 + k - 1);
}

/// Σ a(t)·b(t) over the common length, in extended precision, four running sums.
long double dot(const double* a, const double* b, std::size_t n);

/// True when the two arrays share an element.
bool overlap(std::span<const double> a, std::span<const double> b);

/// True when every element of `x` is finite.
bool all_finite(std::span<const double> x);

/// Observation 1 of variable `v` (from 1) in a data array with leading dimension `ld` and
/// element offset `offset`: (v − 1)·ld + offset + t is observation t (counting elements
/// from 1), so the column of n observations starts at 0-based index (v − 1)·ld + offset.
/// Throws when the column does not lie inside `data`.
std::span<const double> data_column(std::span<const double> data, int v, int ld, long offset,
                                    int n);

/// Regressor j (1..k) of an equation whose variable-number list has the dependent variable
/// first: the column of variable list[j].
std::span<const double> regressor_column(std::span<const double> data, std::span<const int> list,
                                         int j, int ld, long offset, int n);

}  // namespace qorv::core::num_detail
