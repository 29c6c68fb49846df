#include "engine/core/ar_kernels.h"

#include <cmath>
#include <cstddef>

#include "engine/core/likelihoods.h"
#include "engine/core/num/matrices.h"
#include "engine/core/workspace.h"

namespace qorv::core {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

}  // namespace

int ARFILTERRESID(std::span<const double> y, std::span<const double> rho, std::span<const int> lags,
                  std::span<double> out) {
  const int n = static_cast<int>(y.size());
  if (rho.size() != lags.size()) return 0;
  const int m = lags.empty() ? 0 : lags.back();
  if (m < 0 || n <= m || out.size() < at(n - m)) return 0;
  for (int t = m; t < n; ++t) {
    double value = y[at(t)];
    for (std::size_t j = 0; j < lags.size(); ++j) value -= rho[j] * y[at(t - lags[j])];
    out[at(t - m)] = value;
  }
  return n - m;
}

void LAGCROSSSUMS(std::span<const double> x, double tolerance, double& ar2_1, double& ar2_2, double& ar1) {
  const std::size_t n = x.size();
  ar1 = ar2_1 = ar2_2 = 0.0;
  long double s00 = 0.0L, s01 = 0.0L;
  for (std::size_t t = 0; t < n; ++t) {
    s00 += static_cast<long double>(x[t]) * x[t];
    if (t + 1 < n) s01 += static_cast<long double>(x[t]) * x[t + 1];
  }
  if (s00 > tolerance) ar1 = static_cast<double>(s01 / s00);
  if (n < 3) return;
  // x(t) on x(t − 1) and x(t − 2), t = 3..n.
  long double a11 = 0.0L, a12 = 0.0L, a22 = 0.0L, c1 = 0.0L, c2 = 0.0L;
  for (std::size_t t = 2; t < n; ++t) {
    const long double x1 = x[t - 1], x2 = x[t - 2];
    a11 += x1 * x1;
    a12 += x1 * x2;
    a22 += x2 * x2;
    c1 += x[t] * x1;
    c2 += x[t] * x2;
  }
  const long double det = a11 * a22 - a12 * a12;
  if (!(det > tolerance * a11 * a22) || a11 * a22 <= 0.0L) return;
  ar2_1 = static_cast<double>((c1 * a22 - c2 * a12) / det);
  ar2_2 = static_cast<double>((c2 * a11 - c1 * a12) / det);
}

bool ar2_covariances(double phi1, double phi2, double& gamma0, double& gamma1) {
  const double d = (1.0 - phi2) * (1.0 - phi2) - phi1 * phi1;
  if (!(1.0 + phi2 > 0.0) || !(d > 0.0) || !(1.0 - phi2 > 0.0)) return false;
  gamma0 = (1.0 - phi2) / ((1.0 + phi2) * d);
  gamma1 = phi1 * gamma0 / (1.0 - phi2);
  return std::isfinite(gamma0);
}

bool ERRORRECURSION(std::span<const double> u, double phi1, double phi2, std::span<double> z) {
  double g0 = 0.0, g1 = 0.0;
  if (!ar2_covariances(phi1, phi2, g0, g1)) return false;
  const std::size_t n = u.size();
  if (n == 0) return true;
  z[0] = u[0] / std::sqrt(g0);
  if (n == 1) return true;
  const double c = g1 / g0;
  const double v = g0 - g1 * c;
  if (!(v > 0.0)) return false;
  z[1] = (u[1] - c * u[0]) / std::sqrt(v);
  for (std::size_t t = 2; t < n; ++t) z[t] = u[t] - phi1 * u[t - 1] - phi2 * u[t - 2];
  return true;
}

int ARMALOGLIK(const RegressionColumns& data, double phi1, double phi2, int parameters, ArFit& fit) {
  const int n = data.n, k = data.k;
  std::vector<double> xt(at(n) * at(k)), yt(at(n)), fitted(at(n)), work(at(std::max(n, k)));
  std::vector<int> list(at(k) + 1);
  for (int j = 0; j <= k; ++j) list[at(j)] = j;
  if (!ERRORRECURSION(data.y, phi1, phi2, yt)) {
    numerical_state().failure = 1;
    return 1;
  }
  for (int j = 0; j < k; ++j)
    ERRORRECURSION(data.column(j), phi1, phi2, std::span<double>(xt).subspan(at(j) * at(n), at(n)));
  fit.b.assign(at(k), 0.0);
  fit.inverse.assign(at(k) * at(k + 1) / 2, 0.0);
  int fail = 0;
  double q = 0.0;
  PACKEDXTXSOLVE(xt, 0, yt, list, k, n, n, 0, 0, fit.b, fitted, work, q, fit.inverse, fail);
  if (fail != 0) return 1;
  fit.q = q;
  fit.u.assign(data.y.begin(), data.y.end());
  for (int j = 0; j < k; ++j) {
    const auto x = data.column(j);
    for (int t = 0; t < n; ++t) fit.u[at(t)] -= fit.b[at(j)] * x[at(t)];
  }
  NORMALLOGLIK(n, parameters, q, fit.sigma, fit.loglik);
  if (fit.loglik != limits::kMissing)
    fit.loglik += std::log(1.0 + phi2) + 0.5 * std::log((1.0 - phi2) * (1.0 - phi2) - phi1 * phi1);
  return 0;
}

bool ESTIMLIMITS(std::span<const double> u, double phi1, double phi2, ArSlopes& slopes) {
  const double d = (1.0 - phi2) * (1.0 - phi2) - phi1 * phi1;
  if (!(1.0 + phi2 > 0.0) || !(d > 0.0)) return false;
  const std::size_t n = u.size();
  if (n < 2) return false;
  // Q = (1 − φ2²)(u1² + u2²) − 2φ1(1 + φ2)u1u2 + Σ_{t≥3} e(t)², e(t) = u(t) − φ1u(t−1) − φ2u(t−2).
  const long double u1 = u[0], u2 = u[1];
  long double q = (1.0L - static_cast<long double>(phi2) * phi2) * (u1 * u1 + u2 * u2) -
                  2.0L * phi1 * (1.0L + phi2) * u1 * u2;
  long double q1 = -2.0L * (1.0L + phi2) * u1 * u2;
  long double q2 = -2.0L * phi2 * (u1 * u1 + u2 * u2) - 2.0L * phi1 * u1 * u2;
  for (std::size_t t = 2; t < n; ++t) {
    const long double e = u[t] - phi1 * static_cast<long double>(u[t - 1]) - phi2 * static_cast<long double>(u[t - 2]);
    q += e * e;
    q1 -= 2.0L * e * u[t - 1];
    q2 -= 2.0L * e * u[t - 2];
  }
  if (!(q > 0.0L)) return false;
  const double half_n = 0.5 * static_cast<double>(n);
  slopes.d1 = static_cast<double>(-half_n * q1 / q) - phi1 / d;
  slopes.d2 = static_cast<double>(-half_n * q2 / q) + 1.0 / (1.0 + phi2) - (1.0 - phi2) / d;
  slopes.scaled = (1.0 - phi1 * phi1) * slopes.d1;
  return true;
}

void hessian_with_steps(std::span<const double> x, double f0, const ParameterFunction& f,
                        std::span<const double> h, std::span<double> H, int& fail) {
  const int n = static_cast<int>(x.size());
  std::vector<double> p(x.begin(), x.end());
  fail = 0;
  const auto eval = [&]() { return f(p, fail); };
  for (int i = 0; i < n; ++i) {
    const double hi = h[at(i)];
    p[at(i)] = x[at(i)] + 2.0 * hi;
    const double up = eval();
    if (fail != 0) return;
    p[at(i)] = x[at(i)] - 2.0 * hi;
    const double down = eval();
    if (fail != 0) return;
    p[at(i)] = x[at(i)];
    H[at(i) * at(i + 1) / 2 + at(i)] = (up + down - 2.0 * f0) * 0.25 / (hi * hi);
    for (int j = 0; j < i; ++j) {
      const double hj = h[at(j)];
      double v[4];
      const double si[4] = {1, -1, 1, -1}, sj[4] = {1, -1, -1, 1};
      for (int c = 0; c < 4; ++c) {
        p[at(i)] = x[at(i)] + si[c] * hi;
        p[at(j)] = x[at(j)] + sj[c] * hj;
        v[c] = eval();
        if (fail != 0) return;
      }
      p[at(i)] = x[at(i)];
      p[at(j)] = x[at(j)];
      H[at(i) * at(i + 1) / 2 + at(j)] = (v[0] + v[1] - v[2] - v[3]) * 0.25 / (hi * hj);
    }
  }
}

void extrapolated_hessian(std::span<const double> x, double f0, const ParameterFunction& f,
                          std::span<const double> h, std::span<double> H, int& fail) {
  hessian_with_steps(x, f0, f, h, H, fail);
  if (fail != 0) return;
  std::vector<double> half(h.begin(), h.end());
  for (double& v : half) v *= 0.5;
  std::vector<double> fine(H.size());
  hessian_with_steps(x, f0, f, half, fine, fail);
  if (fail != 0) return;
  for (std::size_t i = 0; i < H.size(); ++i) H[i] = (4.0 * fine[i] - H[i]) / 3.0;
}

void STEPSCALE(std::span<const double> x, double f0, const ParameterFunction& f, std::span<double> H, int& fail) {
  std::vector<double> h(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) h[i] = std::max(0.0001 * std::fabs(x[i]), 0.0001);
  hessian_with_steps(x, f0, f, h, H, fail);
}

}  // namespace qorv::core
