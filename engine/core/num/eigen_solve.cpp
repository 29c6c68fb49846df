#include "engine/core/num/eigen_solve.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace qorv::core {

namespace {

/// One rotation plane applied to columns i and i + 1 of z.
void rotate_columns(std::span<double> z, std::size_t n, std::size_t i, double c, double s) {
  double* a = z.data() + i * n;
  double* b = a + n;
  for (std::size_t r = 0; r < n; ++r) {
    const double h = b[r];
    b[r] = s * a[r] + c * h;
    a[r] = c * a[r] - s * h;
  }
}

}  // namespace

void EIGENSOLVE(int n, double tol, std::span<double> d, std::span<double> e, std::span<double> z, int& fail) {
  fail = 0;
  if (n < 2) return;
  const auto un = static_cast<std::size_t>(n);
  if (d.size() < un || e.size() < un || z.size() < un * un)
    throw std::invalid_argument("EIGENSOLVE: array shorter than its order");
  // 0-based from here: the sub-diagonal moves one place up, e[i] coupling d[i] and d[i + 1].
  for (std::size_t i = 1; i < un; ++i) e[i - 1] = e[i];
  e[un - 1] = 0.0;

  double shift = 0.0;
  double bound = 0.0;
  for (std::size_t l = 0; l < un; ++l) {
    const double h = tol * (std::fabs(d[l]) + std::fabs(e[l]));
    if (bound < h) bound = h;
    std::size_t m = l;
    while (m < un - 1 && !(std::fabs(e[m]) <= bound)) ++m;
    int iterations = 0;
    while (m != l) {
      if (++iterations > kEigenIterations) {
        fail = 1;
        return;
      }
      // The shift from the leading 2 × 2 block.
      const double g = d[l];
      double p = (d[l + 1] - g) / (2.0 * e[l]);
      double r = std::hypot(p, 1.0);
      d[l] = e[l] / (p + std::copysign(r, p));
      const double drop = g - d[l];
      for (std::size_t i = l + 1; i < un; ++i) d[i] -= drop;
      shift += drop;
      // The QL sweep from m - 1 up to l.
      p = d[m];
      double c = 1.0;
      double s = 0.0;
      for (std::size_t i = m; i-- > l;) {
        const double cg = c * e[i];
        const double cp = c * p;
        if (std::fabs(p) >= std::fabs(e[i])) {
          c = e[i] / p;
          r = std::hypot(c, 1.0);
          e[i + 1] = s * p * r;
          s = c / r;
          c = 1.0 / r;
        } else {
          c = p / e[i];
          r = std::hypot(c, 1.0);
          e[i + 1] = s * e[i] * r;
          s = 1.0 / r;
          c = c / r;
        }
        p = c * d[i] - s * cg;
        d[i + 1] = cp + s * (c * cg + s * d[i]);
        rotate_columns(z, un, i, c, s);
      }
      e[l] = s * p;
      d[l] = c * p;
      if (std::fabs(e[l]) <= bound) break;
    }
    d[l] += shift;
  }

  // Ascending order by selection; the first of equal values stays first.
  for (std::size_t i = 0; i + 1 < un; ++i) {
    std::size_t k = i;
    for (std::size_t j = i + 1; j < un; ++j)
      if (d[j] < d[k]) k = j;
    if (k == i) continue;
    std::swap(d[i], d[k]);
    for (std::size_t r = 0; r < un; ++r) std::swap(z[i * un + r], z[k * un + r]);
  }
}

}  // namespace qorv::core
