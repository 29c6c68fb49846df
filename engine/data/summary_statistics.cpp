#include "engine/data/summary_statistics.h"

#include <algorithm>
#include <cmath>

#include "engine/core/report_lines.h"
#include "shared/exchange_slots.h"

namespace qorv::data {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr double kTolerance = limits::kTolerance;

long double mean_of(std::span<const double> x) {
  long double sum = 0.0L;
  for (double v : x) sum += v;
  return sum / static_cast<long double>(x.size());
}

double probability_or_missing(double statistic, int df) {
  const double p = core::tail_probability(core::ProbKind::kChiSquared, statistic, df);
  return std::isfinite(p) ? p : kMissing;
}

}  // namespace

VariableStatistics variable_statistics(std::span<const double> x) {
  VariableStatistics s;
  s.n = static_cast<int>(x.size());
  if (x.empty()) {
    s.maximum = s.minimum = s.mean = s.std_dev = s.skewness = s.kurtosis3 = s.variation = kMissing;
    return s;
  }
  const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
  s.minimum = *lo;
  s.maximum = *hi;
  const long double mean = mean_of(x);
  long double m2 = 0.0L, m3 = 0.0L, m4 = 0.0L;
  for (double v : x) {
    const long double d = v - mean, d2 = d * d;
    m2 += d2;
    m3 += d2 * d;
    m4 += d2 * d2;
  }
  const auto n = static_cast<long double>(s.n);
  s.mean = static_cast<double>(mean);
  s.std_dev = s.n >= 2 ? static_cast<double>(std::sqrt(m2 / (n - 1))) : kMissing;
  if (varies(s)) {
    m2 /= n;
    s.skewness = static_cast<double>(m3 / n / std::pow(m2, 1.5L));
    s.kurtosis3 = static_cast<double>(m4 / n / (m2 * m2) - 3.0L);
  } else {
    s.skewness = s.kurtosis3 = kMissing;
  }
  s.variation = std::fabs(s.mean) < kTolerance || s.std_dev == kMissing ? kMissing : s.std_dev / s.mean;
  return s;
}

bool varies(const VariableStatistics& s) { return s.std_dev != kMissing && s.std_dev >= kTolerance; }

std::vector<double> correlation_matrix(std::span<const double> data, int n, int k) {
  std::vector<std::vector<long double>> d(static_cast<std::size_t>(k));
  std::vector<long double> ss(static_cast<std::size_t>(k));
  std::vector<bool> usable(static_cast<std::size_t>(k));
  for (int j = 0; j < k; ++j) {
    const auto column = data.subspan(static_cast<std::size_t>(j) * static_cast<std::size_t>(n),
                                     static_cast<std::size_t>(n));
    usable[static_cast<std::size_t>(j)] = varies(variable_statistics(column));
    const long double mean = mean_of(column);
    auto& dj = d[static_cast<std::size_t>(j)];
    for (double v : column) dj.push_back(v - mean);
    for (long double v : dj) ss[static_cast<std::size_t>(j)] += v * v;
  }
  std::vector<double> r;
  r.reserve(static_cast<std::size_t>(k) * static_cast<std::size_t>(k + 1) / 2);
  for (int i = 0; i < k; ++i) {
    for (int j = 0; j <= i; ++j) {
      const auto ui = static_cast<std::size_t>(i), uj = static_cast<std::size_t>(j);
      if (!usable[ui] || !usable[uj]) {
        r.push_back(kMissing);
      } else if (i == j) {
        r.push_back(1.0);
      } else {
        long double cross = 0.0L;
        for (int t = 0; t < n; ++t) cross += d[ui][static_cast<std::size_t>(t)] * d[uj][static_cast<std::size_t>(t)];
        r.push_back(static_cast<double>(cross / std::sqrt(ss[ui] * ss[uj])));
      }
    }
  }
  return r;
}

int autocorrelation_order(int typed, int n) { return typed >= 1 ? std::min(typed, n - 1) : n / 3; }

Autocorrelations autocorrelations(std::span<const double> x, int order) {
  Autocorrelations a;
  a.n = static_cast<int>(x.size());
  a.order = std::clamp(order, 0, std::max(0, a.n - 1));
  const auto size = static_cast<std::size_t>(a.order);
  if (!varies(variable_statistics(x))) {
    for (auto* v : {&a.r, &a.std_error, &a.box_pierce, &a.box_pierce_prob, &a.ljung_box, &a.ljung_box_prob})
      v->assign(size, kMissing);
    return a;
  }
  const long double mean = mean_of(x);
  std::vector<long double> d;
  d.reserve(x.size());
  for (double v : x) d.push_back(v - mean);
  long double c0 = 0.0L;
  for (long double v : d) c0 += v * v;
  const long double n = a.n;
  long double sum_r2 = 0.0L, sum_lb = 0.0L;
  for (int k = 1; k <= a.order; ++k) {
    long double ck = 0.0L;
    for (std::size_t t = static_cast<std::size_t>(k); t < d.size(); ++t) ck += d[t] * d[t - static_cast<std::size_t>(k)];
    const long double r = ck / c0;
    a.std_error.push_back(static_cast<double>(std::sqrt((1.0L + 2.0L * sum_r2) / n)));
    sum_r2 += r * r;
    sum_lb += r * r / (n - k);
    a.r.push_back(static_cast<double>(r));
    a.box_pierce.push_back(static_cast<double>(n * sum_r2));
    a.ljung_box.push_back(static_cast<double>(n * (n + 2.0L) * sum_lb));
    a.box_pierce_prob.push_back(probability_or_missing(a.box_pierce.back(), k));
    a.ljung_box_prob.push_back(probability_or_missing(a.ljung_box.back(), k));
  }
  return a;
}

}  // namespace qorv::data
