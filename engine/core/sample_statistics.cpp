#include "engine/core/sample_statistics.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

/// Mean and variance of the values `keep` accepts, `none` where there are too few; the
/// count comes back.
/// The sums run in extended precision, so that values near the largest double keep a finite
/// mean; a mean or variance that does not fit a double is `none`.
template <typename Keep>
int mean_and_variance(std::span<const double> values, Keep keep, double none, double& mean,
                      double& variance) {
  int count = 0;
  long double sum = 0.0L;
  for (double v : values)
    if (keep(v)) {
      sum += v;
      ++count;
    }
  const long double m = count > 0 ? sum / count : 0.0L;
  mean = count > 0 && std::isfinite(static_cast<double>(m)) ? static_cast<double>(m) : none;
  if (count < 2) {
    variance = none;
    return count;
  }
  long double squares = 0.0L;
  for (double v : values)
    if (keep(v)) squares += (v - m) * (v - m);
  const double var = static_cast<double>(squares / (count - 1));
  variance = std::isfinite(var) ? var : none;
  return count;
}

}  // namespace

void MEANVAR(std::span<const double> values, double& mean, double& variance) {
  mean_and_variance(values, [](double) { return true; }, limits::kMissing, mean, variance);
}

void MEANSDMISSING(std::span<const double> values, double& mean, double& variance,
                   double missing, int& count) {
  count = mean_and_variance(values, [missing](double v) { return v != missing; }, missing, mean,
                            variance);
}

void MINMAXSKIPMISS(std::span<const double> values, double& maximum, double& minimum,
                    double missing) {
  maximum = missing;
  minimum = missing;
  bool found = false;
  for (double v : values) {
    if (v == missing) continue;
    if (!found || v > maximum) maximum = v;
    if (!found || v < minimum) minimum = v;
    found = true;
  }
}

void AVERAGERANKS(std::span<const double> x, std::span<const double> y, std::span<double> ranks) {
  if (x.size() != y.size() || ranks.size() != x.size())
    throw std::invalid_argument("AVERAGERANKS: x, y and ranks differ in length");
  const std::size_t n = y.size();
  // y's positions in value order, so that equal values form one run, and the running sums
  // of the positions (from 1) along that order.
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return y[a] < y[b]; });
  std::vector<double> values(n);
  std::vector<double> position_sums(n + 1, 0.0);
  for (std::size_t k = 0; k < n; ++k) {
    values[k] = y[order[k]];
    position_sums[k + 1] = position_sums[k] + static_cast<double>(order[k] + 1);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const auto [lo, hi] = std::equal_range(values.begin(), values.end(), x[i]);
    if (lo == hi) {
      ranks[i] = limits::kMissing;
      continue;
    }
    const auto a = static_cast<std::size_t>(lo - values.begin());
    const auto b = static_cast<std::size_t>(hi - values.begin());
    ranks[i] = (position_sums[b] - position_sums[a]) / static_cast<double>(b - a);
  }
}

}  // namespace qorv::core
