#include "engine/single/fully_modified.h"

#include <cmath>
#include <numbers>

#include "engine/core/num/matrices.h"
#include "engine/single/lag_windows.h"

namespace qorv::single {

namespace {

std::size_t at(long i) { return static_cast<std::size_t>(i); }

/// A full q × q matrix, column-major.
struct Square {
  int q;
  std::vector<double> v;
  explicit Square(int order) : q(order), v(at(long{order} * order), 0.0) {}
  double& operator()(int i, int j) { return v[at(long{j} * q + i)]; }
  double operator()(int i, int j) const { return v[at(long{j} * q + i)]; }
};

}  // namespace

FullyModifiedResult fully_modified(const FullyModifiedInput& in) {
  FullyModifiedResult r;
  const int n = in.n, k = in.k, p = k + 1, q = k + 1;
  if (n <= p || k < 1 || in.m < 0 || in.m >= n || in.y.size() < at(n) || in.x.size() < at(long{n} * k) ||
      in.dx.size() < at(long{n} * k))
    return r;

  // First stage: least squares of y on X = [1, x]; M = (X'X)⁻¹.
  std::vector<double> columns(at(long{n} * p));
  for (int t = 0; t < n; ++t) columns[at(t)] = 1.0;
  std::copy(in.x.begin(), in.x.begin() + static_cast<long>(n) * k, columns.begin() + n);
  std::vector<int> list(at(p) + 1);
  for (int i = 0; i <= p; ++i) list[at(i)] = i;
  std::vector<double> b(at(p)), fit(at(n)), u(at(std::max(n, p))), m(at(long{p} * (p + 1) / 2));
  double rss = 0.0;
  int fail = 0;
  core::PACKEDXTXSOLVE(columns, 0, in.y.first(at(n)), list, p, n, n, 0, 0, b, fit, u, rss, m, fail);
  if (fail != 0) {
    r.status = FullyModifiedStatus::kCollinear;
    return r;
  }

  // z_t = (u_t, dx_t), the differences centred with drift.
  std::vector<double> z(at(long{n} * q));
  const auto zz = [&](int t, int i) -> double& { return z[at(long{i} * n + t)]; };
  for (int t = 0; t < n; ++t) zz(t, 0) = u[at(t)];
  for (int i = 1; i <= k; ++i) {
    long double mean = 0.0L;
    for (int t = 0; t < n; ++t) mean += in.dx[at(long{i - 1} * n + t)];
    mean /= n;
    for (int t = 0; t < n; ++t)
      zz(t, i) = in.dx[at(long{i - 1} * n + t)] - (in.drift ? static_cast<double>(mean) : 0.0);
  }

  // Sigma, Lambda = Σ w_j Gamma_j, Omega = Sigma + Lambda + Lambda', Delta = Sigma + Lambda.
  Square sigma(q), lambda(q);
  for (int j = 0; j <= in.m; ++j) {
    const double w = j == 0 ? 1.0 : LAGWINDOW(j, in.m, in.window);
    for (int i = 0; i < q; ++i)
      for (int l = 0; l < q; ++l) {
        long double sum = 0.0L;
        for (int t = 0; t + j < n; ++t) sum += static_cast<long double>(zz(t, i)) * zz(t + j, l);
        const double gamma = static_cast<double>(sum / n);
        if (j == 0) sigma(i, l) = gamma;
        else lambda(i, l) += w * gamma;
      }
  }
  Square omega(q), delta(q);
  for (int i = 0; i < q; ++i)
    for (int l = 0; l < q; ++l) {
      omega(i, l) = sigma(i, l) + lambda(i, l) + lambda(l, i);
      delta(i, l) = sigma(i, l) + lambda(i, l);
    }

  // Omega_xx⁻¹ and a = Omega_xx⁻¹ Omega_xu.
  std::vector<double> oxx(at(long{k} * (k + 1) / 2));
  for (int i = 1; i <= k; ++i)
    for (int l = 1; l <= i; ++l) oxx[at(core::PACKEDINDEX(i, l) - 1)] = omega(i, l);
  core::INVERTSYMPACKED(oxx, k, fail);
  if (fail != 0) {
    r.status = FullyModifiedStatus::kSingularLongRun;
    return r;
  }
  std::vector<double> a(at(k));
  for (int i = 1; i <= k; ++i) {
    long double sum = 0.0L;
    for (int l = 1; l <= k; ++l) sum += static_cast<long double>(oxx[at(core::PACKEDINDEX(i, l) - 1)]) * omega(l, 0);
    a[at(i - 1)] = static_cast<double>(sum);
  }

  // omega = Omega_uu − Omega_ux a.
  long double ou = omega(0, 0);
  for (int i = 1; i <= k; ++i) ou -= static_cast<long double>(omega(0, i)) * a[at(i - 1)];
  r.omega = static_cast<double>(ou);
  if (!(r.omega > in.threshold * in.threshold)) {
    r.status = FullyModifiedStatus::kSmallOmega;
    return r;
  }

  // y+ = y − a'dx (the differences as they entered z); delta+ = Delta_xu − Delta_xx a, with
  // a zero intercept row; beta+ = (X'X)⁻¹ (X'y+ − n delta+).
  std::vector<double> rhs(at(p));
  for (int c = 0; c < p; ++c) {
    long double sum = 0.0L;
    for (int t = 0; t < n; ++t) {
      long double yplus = in.y[at(t)];
      for (int i = 1; i <= k; ++i) yplus -= static_cast<long double>(a[at(i - 1)]) * zz(t, i);
      sum += yplus * columns[at(long{c} * n + t)];
    }
    if (c > 0) {
      long double d = delta(c, 0);
      for (int l = 1; l <= k; ++l) d -= static_cast<long double>(delta(c, l)) * a[at(l - 1)];
      sum -= static_cast<long double>(n) * d;
    }
    rhs[at(c)] = static_cast<double>(sum);
  }
  r.coefficients.assign(at(p), 0.0);
  for (int i = 1; i <= p; ++i) {
    long double sum = 0.0L;
    for (int l = 1; l <= p; ++l) sum += static_cast<long double>(m[at(core::PACKEDINDEX(i, l) - 1)]) * rhs[at(l - 1)];
    r.coefficients[at(i - 1)] = static_cast<double>(sum);
  }

  r.residuals.resize(at(n));
  long double sum_squares = 0.0L;
  for (int t = 0; t < n; ++t) {
    long double e = in.y[at(t)];
    for (int c = 0; c < p; ++c) e -= static_cast<long double>(r.coefficients[at(c)]) * columns[at(long{c} * n + t)];
    r.residuals[at(t)] = static_cast<double>(e);
    sum_squares += e * e;
  }
  r.rss = static_cast<double>(sum_squares);
  r.loglik = -0.5 * n * std::log(2.0 * std::numbers::pi * r.omega);
  r.inverse = std::move(m);
  r.status = FullyModifiedStatus::kEstimated;
  return r;
}

}  // namespace qorv::single
