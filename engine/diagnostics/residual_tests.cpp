#include "engine/diagnostics/residual_tests.h"

#include <cmath>

#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

double lm_to_f(double lm, int n, int q, int d) {
  if (q < 1 || lm == limits::kMissing || !std::isfinite(lm) || std::fabs(lm - n) < 1e-10) return -1.0;
  const double f = (static_cast<double>(d) / q) * lm / (n - lm);
  return std::isfinite(f) ? f : -1.0;
}

double HETEROTEST(std::span<const double> e, std::span<const double> f, double sigma, double tolerance,
                  int& fail) {
  fail = 1;
  const size_t n = e.size();
  if (n < 4 || f.size() != n || !(sigma >= tolerance) || sigma == limits::kMissing) return limits::kMissing;
  const long double s2 = static_cast<long double>(sigma) * sigma;
  long double mz = 0.0L, mx = 0.0L;
  for (size_t t = 0; t < n; ++t) {
    mz += static_cast<long double>(e[t]) * e[t] / s2;
    mx += static_cast<long double>(f[t]) * f[t] / s2;
  }
  mz /= n;
  mx /= n;
  long double sxz = 0.0L, sxx = 0.0L, szz = 0.0L;
  for (size_t t = 0; t < n; ++t) {
    const long double z = static_cast<long double>(e[t]) * e[t] / s2 - mz;
    const long double x = static_cast<long double>(f[t]) * f[t] / s2 - mx;
    sxz += x * z;
    sxx += x * x;
    szz += z * z;
  }
  if (sxx < tolerance || szz < tolerance) return limits::kMissing;
  const double lm = static_cast<double>(n * sxz * sxz / (sxx * szz));
  if (!std::isfinite(lm)) return limits::kMissing;
  fail = 0;
  return lm;
}

double NORMALITYTEST(std::span<const double> e, int& fail) {
  fail = 0;
  const size_t n = e.size();
  if (n < 1) return limits::kMissing;
  long double m1 = 0.0L, m2 = 0.0L, m3 = 0.0L, m4 = 0.0L;
  for (double v : e) {
    const long double x = v;
    m1 += x;
    m2 += x * x;
    m3 += x * x * x;
    m4 += x * x * x * x;
  }
  m1 /= n;
  m2 /= n;
  m3 /= n;
  m4 /= n;
  if (m2 <= 0.0L) return limits::kMissing;
  const long double kurt = m4 / (m2 * m2) - 3.0L;
  const long double lm = n * (m3 * m3 / (6.0L * m2 * m2 * m2) + kurt * kurt / 24.0L + 1.5L * m1 * m1 / m2 -
                              m1 * m3 / (m2 * m2));
  return std::isfinite(static_cast<double>(lm)) ? static_cast<double>(lm) : limits::kMissing;
}

}  // namespace qorv::diagnostics
