#include "engine/core/square_guard.h"

#include <array>
#include <cmath>
#include <cstddef>

#include "engine/core/dialog_bridge.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

bool squares_finite(std::span<const double> values) {
  // Eight running sums side by side (the vector units take them at once); each is at most
  // the whole sum, and a NaN or an infinity stays one through every sum.
  constexpr std::size_t kLanes = 8;
  std::array<double, kLanes> sums{};
  const std::size_t n = values.size();
  std::size_t t = 0;
  for (; t + kLanes <= n; t += kLanes)
#pragma GCC unroll 8
    for (std::size_t i = 0; i < kLanes; ++i) sums[i] += values[t + i] * values[t + i];
  double sum = 0.0;
  for (; t < n; ++t) sum += values[t] * values[t];
  for (const double s : sums) sum += s;
  return std::isfinite(sum);
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
