#include "engine/core/square_guard.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "engine/core/dialog_bridge.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

/// Σ v² over n values in kLanes running sums side by side, joined at the end; each running
/// sum is at most the whole sum, and a NaN or an infinity stays one through every sum.
template <std::size_t kLanes>
[[gnu::always_inline]] inline double sum_of_squares(const double* v, std::size_t n) {
  std::array<double, kLanes> sums{};
  std::size_t t = 0;
  for (; t + kLanes <= n; t += kLanes)
#pragma GCC unroll 32
    for (std::size_t i = 0; i < kLanes; ++i) sums[i] += v[t + i] * v[t + i];
  double sum = 0.0;
  for (; t < n; ++t) sum += v[t] * v[t];
  for (const double s : sums) sum += s;
  return sum;
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
/// Thirty-two running sums, which the 512-bit vector units take four vectors at a time.
__attribute__((target("avx512f"))) double wide_sum_of_squares(const double* v, std::size_t n) {
  return sum_of_squares<32>(v, n);
}
#endif

}  // namespace

bool squares_finite(std::span<const double> values) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
  static const bool wide = __builtin_cpu_supports("avx512f");
  if (wide) return std::isfinite(wide_sum_of_squares(values.data(), values.size()));
#endif
  return std::isfinite(sum_of_squares<8>(values.data(), values.size()));
}

int first_unsquarable(std::span<const double> data, long offset, std::span<const int> list, int first,
                      int last, int n, int ld) {
  if (n < 1 || ld < 1 || first < 0) return -1;
  for (int j = first; j <= last && static_cast<std::size_t>(j) < list.size(); ++j) {
    const long start = static_cast<long>(list[static_cast<std::size_t>(j)] - 1) * ld + offset;
    if (start < 0 || start + n > static_cast<long>(data.size())) continue;
    if (!squares_finite(data.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(n)))) return j;
  }
  return -1;
}

std::string too_large_text(std::string_view name) {
  return "The values of " + std::string(name) + " are too large to be used - please scale them!";
}

void TOOLARGEMESSAGE(std::string_view name) { SHOWOK(kError, kNoHelp, too_large_text(name)); }

double finite_or_missing(double value) { return std::isfinite(value) ? value : limits::kMissing; }

}  // namespace qorv::core
