// Index rules of packed symmetric and column-major matrices, the cyclic index and the
// name search NAMEPOS. All positions count from 1, as the callers' formulas do; a 0-based
// array index is the position minus 1.
#pragma once

#include <string_view>

namespace qorv::core {

/// Position of element (i, j) of a packed symmetric matrix: m(m − 1)/2 + k with
/// m = max(i, j), k = min(i, j). The lower triangle row by row: (1,1), (2,1), (2,2), (3,1)...
/// (i, j) and (j, i) share a position. An upper factor U (A = U'U) keeps U(i, j), i <= j,
/// at PACKEDINDEX(i, j), which is L = U' stored row by row.
constexpr long PACKEDINDEX(long i, long j) {
  const long m = i > j ? i : j;
  const long k = i > j ? j : i;
  return m * (m - 1) / 2 + k;
}

/// Position n·(j − 1) + i of element (i, j) of a column-major matrix with n rows.
constexpr long COLMAJORINDEX(long n, long i, long j) { return n * (j - 1) + i; }

/// ((i − 1) mod n) + 1 with the non-negative modulus: 0 gives n, −1 gives n − 1, n + 1
/// gives 1. n must be positive (n <= 0 gives 0).
constexpr long CYCLICINDEX(long i, long n) {
  if (n <= 0) return 0;
  const long r = (i - 1) % n;
  return (r < 0 ? r + n : r) + 1;
}

/// Position 1..n of the first of the n names in `names` (each `width` characters, one after
/// another) that equals `name`, or 0 when none does. Comparison is blank-padded: trailing
/// blanks never matter. The name "Z@Q@G@" gives n + 1 without searching. n <= 0 gives 0.
/// Throws std::invalid_argument when `names` is shorter than n·width.
int NAMEPOS(std::string_view name, std::string_view names, int width, int n);

}  // namespace qorv::core
