#include "engine/core/unit_root_regressions.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/core/likelihoods.h"
#include "engine/core/num/matrices.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

constexpr double kMissing = limits::kMissing;

int term_count(DeterministicTerms terms) { return static_cast<int>(terms); }

/// Response-surface coefficients (b0, b1, b2) of the 95% critical values.
struct SurfaceRow {
  double b0, b1, b2;
};
constexpr std::array<SurfaceRow, kUnitRootCases> kSurface = {{
    {1.9393, 0.398, 0.0},     // 1 variable, no intercept, no trend
    {2.8621, 2.738, 8.36},    // 1 variable, intercept
    {3.4126, 4.039, 17.83},   // 1 variable, intercept and trend
    {3.3377, 5.967, 8.93},    // 2 variables, intercept
    {3.7809, 9.421, 15.06},   // 2 variables, intercept and trend
    {3.7429, 8.352, 13.41},   // 3 variables, intercept
    {4.1193, 12.024, 13.13},  // 3 variables, intercept and trend
    {4.1000, 10.745, 21.57},  // 4 variables, intercept
    {4.4294, 14.501, 19.54},  // 4 variables, intercept and trend
    {4.4185, 13.641, 21.16},  // 5 variables, intercept
    {4.7154, 17.432, 16.5},   // 5 variables, intercept and trend
    {4.7048, 17.12, 11.17},   // 6 variables, intercept
    {4.9767, 20.883, 9.05},   // 6 variables, intercept and trend
}};

void set_missing(AdfRegression& r) {
  r.fitted = false;
  r.rss = r.coefficient = r.std_error = r.statistic = r.loglik = r.aic = r.sbc = r.hqc = kMissing;
}

}  // namespace

int largest_adf_order(int length, DeterministicTerms terms) {
  const int room = length - 3 - term_count(terms);
  return room < 0 ? -1 : room / 2;
}

AdfRegressions ADFREGRESSIONS(std::span<const double> y, int p, DeterministicTerms terms) {
  AdfRegressions out;
  const int length = static_cast<int>(y.size());
  if (p < 0 || p > largest_adf_order(length, terms)) return out;
  const int n = length - p - 1, d = term_count(terms);
  out.observations = n;
  out.first_used = p + 1;

  // Columns of length n: 1 Δy(t), 2 y(t − 1), then the deterministic terms, then
  // Δy(t − 1) .. Δy(t − p).
  const int lag0 = 3 + d;  // column of Δy(t − 1)
  const int columns = lag0 + p - 1;
  std::vector<double> data(static_cast<std::size_t>(n) * static_cast<std::size_t>(columns));
  const auto column = [&](int c) {
    return std::span<double>(data).subspan(static_cast<std::size_t>(c - 1) * static_cast<std::size_t>(n),
                                           static_cast<std::size_t>(n));
  };
  for (int i = 0; i < n; ++i) {
    const auto t = static_cast<std::size_t>(p + 1 + i);
    const auto at = static_cast<std::size_t>(i);
    column(1)[at] = y[t] - y[t - 1];
    column(2)[at] = y[t - 1];
    if (d >= 1) column(3)[at] = 1.0;
    if (d >= 2) column(4)[at] = i + 1.0;
    for (int j = 1; j <= p; ++j) column(lag0 + j - 1)[at] = y[t - static_cast<std::size_t>(j)] - y[t - static_cast<std::size_t>(j) - 1];
  }
  const std::vector<double> dy(column(1).begin(), column(1).end());
  const bool usable = std::none_of(y.begin(), y.end(), [](double v) { return v == kMissing || !std::isfinite(v); });

  const double log_n = std::log(static_cast<double>(n));
  std::vector<int> list = {1, 2};
  for (int c = 3; c < lag0; ++c) list.push_back(c);
  for (int k = 0; k <= p; ++k) {
    if (k > 0) list.push_back(lag0 + k - 1);
    AdfRegression r;
    r.order = k;
    r.coefficients = static_cast<int>(list.size()) - 1;
    const int m = r.coefficients;
    std::vector<double> b(static_cast<std::size_t>(m)), fitted(static_cast<std::size_t>(n));
    std::vector<double> resid(static_cast<std::size_t>(std::max(m, n)));
    std::vector<double> inverse(static_cast<std::size_t>(m) * static_cast<std::size_t>(m + 1) / 2);
    double rss = 0.0;
    int fail = usable ? 0 : 1;
    if (usable) PACKEDXTXSOLVE(data, 0, dy, list, m, n, n, 0, 0, b, fitted, resid, rss, inverse, fail);
    double sigma = 0.0, loglik = kMissing;
    if (fail == 0) NORMALLOGLIK(n, m, rss, sigma, loglik);
    const double variance = rss / (n - m) * inverse[0];  // (X'X)⁻¹(1, 1) leads the packed matrix
    if (fail != 0 || loglik == kMissing || !(variance >= limits::kTolerance * limits::kTolerance)) {
      set_missing(r);
      if (fail == 0) r.rss = rss;
    } else {
      r.fitted = true;
      r.rss = rss;
      r.coefficient = b[0];
      r.std_error = std::sqrt(variance);
      r.statistic = b[0] / r.std_error;
      r.loglik = loglik;
      r.aic = loglik - m;
      r.sbc = loglik - 0.5 * m * log_n;
      r.hqc = loglik - m * std::log(log_n);
    }
    out.orders.push_back(r);
  }
  return out;
}

int unit_root_case(DeterministicTerms terms) { return 1 + term_count(terms); }

double unit_root_critical_value(int index, int n) {
  if (index < 1 || index > kUnitRootCases || n < 1) return kMissing;
  const SurfaceRow& row = kSurface[static_cast<std::size_t>(index - 1)];
  const double x = n;
  return -(row.b0 + row.b1 / x + row.b2 / (x * x));
}

}  // namespace qorv::core
