#include "engine/diagnostics/cusum_plots.h"

#include <cmath>

#include "engine/core/stability_table.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

/// Three series of n missing values.
CusumSeries missing_series(int n) {
  const std::vector<double> gap(static_cast<std::size_t>(n), limits::kMissing);
  return {gap, gap, gap};
}

}  // namespace

CusumSeries cusum(std::span<const double> w, int m, double sigma) {
  const int n = static_cast<int>(w.size());
  if (m < 1 || m >= n || !(sigma > 0.0)) return {};
  CusumSeries out = missing_series(n);
  const double root = std::sqrt(static_cast<double>(n - m));
  long double sum = 0.0L;
  for (int r = m; r <= n; ++r) {
    const auto i = static_cast<std::size_t>(r - 1);
    if (r > m) {
      sum += w[i];
      out.statistic[i] = static_cast<double>(sum / sigma);
    }
    const double bound = 0.948 * (root + 2.0 * (r - m) / root);
    out.upper[i] = bound;
    out.lower[i] = -bound;
  }
  return out;
}

CusumSeries cusum_of_squares(std::span<const double> w, int m) {
  const int n = static_cast<int>(w.size());
  if (m < 1 || m >= n) return {};
  long double total = 0.0L;
  for (int r = m + 1; r <= n; ++r) total += static_cast<long double>(w[static_cast<std::size_t>(r - 1)]) * w[static_cast<std::size_t>(r - 1)];
  if (!(total > 0.0L)) return {};
  CusumSeries out = missing_series(n);
  const double c0 = core::TABLEVALUE(n, m);
  long double sum = 0.0L;
  for (int r = m; r <= n; ++r) {
    const auto i = static_cast<std::size_t>(r - 1);
    if (r > m) {
      sum += static_cast<long double>(w[i]) * w[i];
      out.statistic[i] = static_cast<double>(sum / total);
    }
    const double share = static_cast<double>(r - m) / (n - m);
    out.upper[i] = c0 + share;
    out.lower[i] = share - c0;
  }
  return out;
}

}  // namespace qorv::diagnostics
