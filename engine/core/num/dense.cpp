#include "engine/core/num/dense.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/num/num_detail.h"

namespace qorv::core {

namespace {

using num_detail::overlap;
using num_detail::require;

std::size_t count(int rows, int cols) {
  return rows > 0 && cols > 0 ? static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols) : 0;
}

}  // namespace

void MATMULT(std::span<const double> A, std::span<const double> B, int m, int k, int n,
             std::span<double> C) {
  require(m >= 0 && n >= 0 && C.size() >= count(m, n), "MATMULT: negative size or C too short");
  const std::span<const double> c_used(C.data(), count(m, n));
  if (k <= 0) {
    std::fill(C.begin(), C.begin() + static_cast<long>(c_used.size()), 0.0);
    return;
  }
  require(A.size() >= count(m, k) && B.size() >= count(k, n), "MATMULT: A or B too short");
  require(!overlap(c_used, A.first(count(m, k))) && !overlap(c_used, B.first(count(k, n))),
          "MATMULT: C overlaps A or B");
  std::vector<long double> column(static_cast<std::size_t>(m));
  const auto um = static_cast<std::size_t>(m);
  const auto uk = static_cast<std::size_t>(k);
  for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j) {
    std::fill(column.begin(), column.end(), 0.0L);
    for (std::size_t l = 0; l < uk; ++l) {
      const long double blj = B[j * uk + l];
      const double* a = A.data() + l * um;
      for (std::size_t i = 0; i < um; ++i) column[i] += a[i] * blj;
    }
    for (std::size_t i = 0; i < um; ++i) C[j * um + i] = static_cast<double>(column[i]);
  }
}

void KRONECKER(std::span<const double> A, int ra, int ca, std::span<const double> B, int rb,
               int cb, std::span<double> C) {
  require(ra >= 0 && ca >= 0 && rb >= 0 && cb >= 0, "KRONECKER: negative size");
  require(A.size() >= count(ra, ca) && B.size() >= count(rb, cb) &&
              C.size() >= count(ra, ca) * count(rb, cb),
          "KRONECKER: A, B or C too short");
  const auto rows = static_cast<std::size_t>(ra) * static_cast<std::size_t>(rb);
  for (std::size_t c = 0; c < static_cast<std::size_t>(ca); ++c)
    for (std::size_t r = 0; r < static_cast<std::size_t>(ra); ++r) {
      const double arc = A[c * static_cast<std::size_t>(ra) + r];
      for (std::size_t t = 0; t < static_cast<std::size_t>(cb); ++t)
        for (std::size_t s = 0; s < static_cast<std::size_t>(rb); ++s)
          C[(c * static_cast<std::size_t>(cb) + t) * rows + r * static_cast<std::size_t>(rb) + s] =
              arc * B[t * static_cast<std::size_t>(rb) + s];
    }
}

void MAXABSELEMENT(std::span<const double> x, int n, double& value, int& position) {
  value = 0.0;
  position = 0;
  if (n <= 0) return;
  require(x.size() >= static_cast<std::size_t>(n), "MAXABSELEMENT: x too short");
  position = 1;
  for (int i = 2; i <= n; ++i)
    if (std::fabs(x[static_cast<std::size_t>(i - 1)]) > std::fabs(x[static_cast<std::size_t>(position - 1)]))
      position = i;
  value = x[static_cast<std::size_t>(position - 1)];
}

}  // namespace qorv::core
