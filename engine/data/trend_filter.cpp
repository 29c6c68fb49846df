#include "engine/data/trend_filter.h"

#include <algorithm>
#include <new>
#include <vector>

namespace qorv::data {

void HPFILTER(std::span<const double> x, std::span<const double> lambda, double missing,
              std::span<double> trend) {
  const std::size_t n = x.size();
  if (lambda.size() != n || trend.size() != n) return;
  std::fill(trend.begin(), trend.end(), missing);
  if (n < 5) return;
  const double l = lambda[0];
  if (l == missing || !(l >= 0.0 && l <= kMaxSmoothing)) return;
  for (std::size_t t = 0; t < n; ++t)
    if (lambda[t] != l || x[t] == missing) return;

  // The five bands of A = I + lambda·D'D by rows: second and first lower, diagonal, first
  // and second upper, and the right-hand side.
  std::vector<double> l2, l1, d, u1, u2, z;
  try {
    l2.assign(n, l);
    l1.assign(n, -4 * l);
    d.assign(n, 1 + 6 * l);
    u1.assign(n, -4 * l);
    u2.assign(n, l);
    z.assign(x.begin(), x.end());
  } catch (const std::bad_alloc&) {
    return;
  }
  const std::size_t m = n - 1;
  d[0] = d[m] = 1 + l;
  d[1] = d[m - 1] = 1 + 5 * l;
  u1[0] = l1[1] = u1[m - 1] = l1[m] = -2 * l;
  l2[0] = l2[1] = l1[0] = 0;
  u2[m - 1] = u2[m] = u1[m] = 0;

  // Elimination without pivoting: row i clears the first lower entry of row i + 1 and the
  // second lower entry of row i + 2.
  for (std::size_t i = 0; i < n; ++i) {
    if (i + 1 < n) {
      const double f = l1[i + 1] / d[i];
      d[i + 1] -= f * u1[i];
      u1[i + 1] -= f * u2[i];
      z[i + 1] -= f * z[i];
    }
    if (i + 2 < n) {
      const double f = l2[i + 2] / d[i];
      l1[i + 2] -= f * u1[i];
      d[i + 2] -= f * u2[i];
      z[i + 2] -= f * z[i];
    }
  }
  for (std::size_t k = n; k-- > 0;) {
    double v = z[k];
    if (k + 1 < n) v -= u1[k] * trend[k + 1];
    if (k + 2 < n) v -= u2[k] * trend[k + 2];
    trend[k] = v / d[k];
  }
}

}  // namespace qorv::data
