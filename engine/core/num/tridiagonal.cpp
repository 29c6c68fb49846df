#include "engine/core/num/tridiagonal.h"

#include <algorithm>
#include <cmath>

#include "engine/core/num/num_detail.h"

namespace qorv::core {

void PACKEDFACTOR(int n, double tol, std::span<const double> A, std::span<double> d,
                  std::span<double> e, std::span<double> Z, int& flag) {
  flag = 0;
  if (n < 2) return;
  const auto un = static_cast<std::size_t>(n);
  num_detail::require(A.size() >= num_detail::packed_size(n) && d.size() >= un && e.size() >= un &&
                          Z.size() >= un * un,
                      "PACKEDFACTOR: A, d, e or Z too short");
  const auto packed = A.first(num_detail::packed_size(n));
  if (!num_detail::all_finite(packed)) {
    flag = 1;
    return;
  }
  double largest = 0.0;
  for (double v : packed) largest = std::max(largest, std::fabs(v));
  const double threshold = tol * largest * largest;

  // 1-based views of the work: z(i, j) is Z(i, j), dd(i) and ee(i) the outputs.
  const auto z = [&](long i, long j) -> double& { return Z[static_cast<std::size_t>((j - 1) * n + i - 1)]; };
  const auto dd = [&](long i) -> double& { return d[static_cast<std::size_t>(i - 1)]; };
  const auto ee = [&](long i) -> double& { return e[static_cast<std::size_t>(i - 1)]; };

  for (long i = 1; i <= n; ++i)
    for (long j = 1; j <= i; ++j) z(i, j) = A[num_detail::packed_at(i, j)];

  for (long i = n; i >= 2; --i) {
    long l = i - 2;
    double f = z(i, i - 1);
    double g = 0.0;
    for (long k = 1; k <= l; ++k) g += z(i, k) * z(i, k);
    double h = g + f * f;
    if (g <= threshold) {
      ee(i) = f;
      dd(i) = 0.0;
      continue;
    }
    l += 1;
    g = f >= 0.0 ? -std::sqrt(h) : std::sqrt(h);
    ee(i) = g;
    h -= f * g;
    z(i, i - 1) = f - g;
    f = 0.0;
    for (long j = 1; j <= l; ++j) {
      z(j, i) = z(i, j) / h;
      g = 0.0;
      for (long k = 1; k <= j; ++k) g += z(j, k) * z(i, k);
      for (long k = j + 1; k <= l; ++k) g += z(k, j) * z(i, k);
      ee(j) = g / h;
      f += g * z(j, i);
    }
    const double hh = f / (h + h);
    for (long j = 1; j <= l; ++j) {
      f = z(i, j);
      g = ee(j) - hh * f;
      ee(j) = g;
      for (long k = 1; k <= j; ++k) z(j, k) -= f * ee(k) + g * z(i, k);
    }
    dd(i) = h;
  }
  dd(1) = 0.0;
  ee(1) = 0.0;
  // Accumulate the transformations.
  for (long i = 1; i <= n; ++i) {
    const long l = i - 1;
    if (dd(i) != 0.0) {
      for (long j = 1; j <= l; ++j) {
        double g = 0.0;
        for (long k = 1; k <= l; ++k) g += z(i, k) * z(k, j);
        for (long k = 1; k <= l; ++k) z(k, j) -= g * z(k, i);
      }
    }
    dd(i) = z(i, i);
    z(i, i) = 1.0;
    for (long j = 1; j <= l; ++j) {
      z(i, j) = 0.0;
      z(j, i) = 0.0;
    }
  }
}

}  // namespace qorv::core
