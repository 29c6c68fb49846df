#include "engine/core/num/num_detail.h"

#include <functional>
#include <stdexcept>

namespace qorv::core::num_detail {

void require(bool ok, const char* what) {
  if (!ok) throw std::invalid_argument(what);
}

long double dot(const double* a, const double* b, std::size_t n) {
  long double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
  std::size_t t = 0;
  for (; t + 4 <= n; t += 4) {
    s0 += static_cast<long double>(a[t]) * b[t];
    s1 += static_cast<long double>(a[t + 1]) * b[t + 1];
    s2 += static_cast<long double>(a[t + 2]) * b[t + 2];
    s3 += static_cast<long double>(a[t + 3]) * b[t + 3];
  }
  for (; t < n; ++t) s0 += static_cast<long double>(a[t]) * b[t];
  return (s0 + s1) + (s2 + s3);
}

bool overlap(std::span<const double> a, std::span<const double> b) {
  if (a.empty() || b.empty()) return false;
  const std::less<const double*> before;
  return before(a.data(), b.data() + b.size()) && before(b.data(), a.data() + a.size());
}

bool all_finite(std::span<const double> x) {
  for (double v : x)
    if (!std::isfinite(v)) return false;
  return true;
}

std::span<const double> data_column(std::span<const double> data, int v, int ld, long offset,
                                    int n) {
  require(n >= 0 && ld >= 0 && v >= 1, "data column: bad variable, leading dimension or length");
  const long start = static_cast<long>(v - 1) * ld + offset;
  require(start >= 0 && static_cast<std::size_t>(start) + static_cast<std::size_t>(n) <= data.size(),
          "data column: outside the data array");
  return data.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(n));
}

std::span<const double> regressor_column(std::span<const double> data, std::span<const int> list,
                                         int j, int ld, long offset, int n) {
  require(j >= 1 && static_cast<std::size_t>(j) < list.size(), "regressor: not in the variable list");
  return data_column(data, list[static_cast<std::size_t>(j)], ld, offset, n);
}

}  // namespace qorv::core::num_detail
