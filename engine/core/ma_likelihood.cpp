#include "engine/core/ma_likelihood.h"

#include <cmath>
#include <cstddef>

#include "engine/core/num/ar_covariance.h"

namespace qorv::core {

namespace {

constexpr double kSettled = 1e-11;       // |Δv| at which the variances have settled
constexpr double kSettledLate = 1e-6;    // the same past the n-th step (mode 1)
constexpr int kExtraSteps = 20000;       // steps allowed past the n-th (mode 1)
constexpr double kMonicFloor = 1.0 - 1e-9;
constexpr double kDataFloor = 1e-11;
constexpr double kRootTolerance = 1e-6;
constexpr int kDeflationSteps = 20000;  // steps at the full tolerance when deflating

/// Computes row and variance of step s (s >= 1) from the earlier ones.
double step_row(MaRecursion& r, int s) {
  const int q = r.q;
  const auto row = [&](int i) { return r.theta.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(q); };
  double* ts = row(s);
  const int first = s - q > 0 ? s - q : 0;
  // θ(s, s − k) for k = first..s − 1, θ(i, j) stored at row(i)[j − 1].
  for (int k = first; k < s; ++k) {
    double sum = r.gamma[static_cast<std::size_t>(s - k)];
    const double* tk = row(k);
    for (int j = first; j < k; ++j)
      if (k - j <= q) sum -= tk[k - j - 1] * ts[s - j - 1] * r.v[static_cast<std::size_t>(j)];
    ts[s - k - 1] = sum / r.v[static_cast<std::size_t>(k)];
  }
  for (int j = s - first; j < q; ++j) ts[j] = 0.0;
  double v = r.gamma[0];
  for (int j = first; j < s; ++j) {
    const double t = ts[s - j - 1];
    v -= t * t * r.v[static_cast<std::size_t>(j)];
  }
  return v;
}

/// Whether the coefficient row of step s differs from the previous one by less than the
/// tolerance everywhere. (The variances settle much sooner than the coefficients, their
/// error being of second order in the coefficients' error.)
bool row_settled(const MaRecursion& r, int s, double tolerance) {
  const std::size_t q = static_cast<std::size_t>(r.q);
  const double* now = r.theta.data() + static_cast<std::size_t>(s) * q;
  const double* before = now - q;
  for (std::size_t j = 0; j < q; ++j)
    if (std::fabs(now[j] - before[j]) >= tolerance) return false;
  return true;
}

}  // namespace

int ma_polynomial(std::span<const double> parameters, std::span<const int> lags, MaPolynomial& poly) {
  poly.fill(0.0);
  poly[0] = 1.0;
  if (parameters.size() != lags.size() || lags.size() > static_cast<std::size_t>(kMaxMaOrder)) return -1;
  int previous = 0;
  for (std::size_t i = 0; i < lags.size(); ++i) {
    if (lags[i] <= previous || lags[i] > kMaxMaOrder) return -1;
    previous = lags[i];
    poly[static_cast<std::size_t>(lags[i])] = parameters[i];
  }
  return previous;
}

void ma_autocovariances(const MaPolynomial& poly, int q, MaPolynomial& gamma) {
  gamma.fill(0.0);
  for (int h = 0; h <= q; ++h) {
    double sum = 0.0;
    for (int i = 0; i + h <= q; ++i) sum += poly[static_cast<std::size_t>(i)] * poly[static_cast<std::size_t>(i + h)];
    gamma[static_cast<std::size_t>(h)] = sum;
  }
}

int prepare_recursion(MaRecursion& r, int n, int mode) {
  r.steps = 0;
  r.converged = 0;
  r.log_det = 0.0;
  if (r.q < 0 || r.q > kMaxMaOrder || n < 1) return 1;
  const double floor = mode == 0 ? kMonicFloor : kDataFloor;
  const int limit = mode == 0 ? n : n + kExtraSteps;
  const std::size_t q = static_cast<std::size_t>(r.q > 0 ? r.q : 1);
  if (r.v.size() < static_cast<std::size_t>(n)) r.v.resize(static_cast<std::size_t>(n));
  if (r.theta.size() < r.v.size() * q) r.theta.resize(r.v.size() * q);  // q may differ from the last call's
  double v = r.gamma[0];
  if (!(v >= floor)) return 1;
  r.v[0] = v;
  for (std::size_t j = 0; j < q; ++j) r.theta[j] = 0.0;
  r.steps = 1;
  if (mode == 0) r.log_det = std::log(v);
  if (r.q == 0) {
    r.converged = n > 1 ? 1 : 0;
    if (mode == 0) r.log_det = n * std::log(v);
    r.steps = n;
    return 0;
  }
  for (int s = 1; s < limit; ++s) {
    if (static_cast<std::size_t>(s) >= r.v.size()) {
      r.v.resize(r.v.size() * 2);
      r.theta.resize(r.v.size() * q);
    }
    v = step_row(r, s);
    if (!(v >= floor) || !std::isfinite(v)) return 1;
    r.v[static_cast<std::size_t>(s)] = v;
    r.steps = s + 1;
    const double tolerance = s < n ? kSettled : kSettledLate;
    if (s > r.q && std::fabs(v - r.v[static_cast<std::size_t>(s - 1)]) < tolerance && row_settled(r, s, tolerance)) {
      r.converged = s;
      break;
    }
  }
  if (mode == 0) {
    r.log_det = 0.0;
    for (int s = 0; s < n; ++s)
      r.log_det += std::log(r.v[static_cast<std::size_t>(r.converged != 0 && s > r.converged ? r.converged : s)]);
    return 0;
  }
  return r.converged == 0 && r.steps >= limit ? 1 : 0;
}

double filter_series(const MaRecursion& r, std::span<const double> y, std::span<double> out) {
  const int n = static_cast<int>(y.size());
  const int q = r.q;
  std::array<double, kMaxMaOrder + 1> ring{};  // errors of the q previous steps, by s mod (q + 1)
  const int slots = q + 1;
  long double ssq = 0.0L;
  for (int s = 0; s < n; ++s) {
    const int row = r.converged != 0 && s > r.converged ? r.converged : s;
    const double* ts = r.theta.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(q > 0 ? q : 1);
    double error = y[static_cast<std::size_t>(n - 1 - s)];
    const int back = s < q ? s : q;
    for (int i = 1; i <= back; ++i) error -= ts[i - 1] * ring[static_cast<std::size_t>((s - i) % slots)];
    ring[static_cast<std::size_t>(s % slots)] = error;
    const double e = error / std::sqrt(r.v[static_cast<std::size_t>(row)]);
    if (!out.empty()) out[static_cast<std::size_t>(n - 1 - s)] = e;
    ssq += static_cast<long double>(e) * e;
  }
  return static_cast<double>(ssq);
}

void ITERSOLVE(MaRecursion& r, std::span<const double> y, std::span<double> errors, int n,
               double& ssq, int& fail, int mode) {
  fail = prepare_recursion(r, n, mode);
  if (fail != 0 || mode != 0) return;
  if (y.size() < static_cast<std::size_t>(n) || (!errors.empty() && errors.size() < static_cast<std::size_t>(n))) {
    fail = 1;
    return;
  }
  ssq = filter_series(r, y.first(static_cast<std::size_t>(n)),
                      errors.empty() ? errors : errors.first(static_cast<std::size_t>(n)));
}

void LOGLIKKERNEL(std::span<const double> parameters, std::span<const int> lags,
                  std::span<const double> u, double& criterion, std::span<double> standardised,
                  int& fail, MaRecursion& r) {
  MaPolynomial poly{};
  r.q = ma_polynomial(parameters, lags, poly);
  fail = 1;
  if (r.q < 0) return;
  ma_autocovariances(poly, r.q, r.gamma);
  const int n = static_cast<int>(u.size());
  double ssq = 0.0;
  ITERSOLVE(r, u, standardised, n, ssq, fail, 0);
  if (fail != 0) return;
  if (!(ssq > 0.0) || !std::isfinite(ssq)) {
    fail = 1;
    return;
  }
  criterion = 0.5 * (n * std::log(ssq) + r.log_det);
}

std::vector<double> POLYMULT(std::span<const double> p, std::span<const double> q) {
  if (p.empty() || q.empty()) return {};
  std::vector<double> c(p.size() + q.size() - 1, 0.0);
  for (std::size_t i = 0; i < p.size(); ++i)
    for (std::size_t j = 0; j < q.size(); ++j) c[i + j] += p[i] * q[j];
  return c;
}

std::vector<double> ZEROFILL(std::span<const double> p, std::span<const double> f) {
  if (f.empty() || p.size() < f.size() || f[0] == 0.0) return {};
  std::vector<double> w(p.size() - f.size() + 1, 0.0);
  for (std::size_t i = 0; i < w.size(); ++i) {
    double sum = p[i];
    for (std::size_t k = 1; k < f.size() && k <= i; ++k) sum -= f[k] * w[i - k];
    w[i] = sum / f[0];
  }
  return w;
}

int DEFLATEUNITROOTS(std::span<double> a, int p, UnitRoots& roots) {
  roots = UnitRoots{};
  if (p < 1 || p > kMaxMaOrder || a.size() < static_cast<std::size_t>(p) + 1) return 0;
  std::vector<double> rest(a.begin(), a.begin() + p + 1);
  int at_plus = 0, at_minus = 0;
  const auto value_at = [](const std::vector<double>& c, double z) {
    double sum = 0.0, power = 1.0;
    for (double x : c) {
      sum += x * power;
      power *= z;
    }
    return sum;
  };
  const std::array<double, 2> minus_one{1.0, -1.0}, plus_one{1.0, 1.0};
  while (rest.size() > 1 && std::fabs(value_at(rest, 1.0)) <= kRootTolerance) {
    rest = ZEROFILL(rest, minus_one);
    ++at_plus;
  }
  while (rest.size() > 1 && std::fabs(value_at(rest, -1.0)) <= kRootTolerance) {
    rest = ZEROFILL(rest, plus_one);
    ++at_minus;
  }
  const int r = static_cast<int>(rest.size()) - 1;
  if (r >= 1) {
    // Invertible when the polynomial, read as an autoregressive one, is stationary.
    std::vector<double> packed(static_cast<std::size_t>(r) * (r + 1) / 2, 0.0);
    int fail = 0;
    PACKEDSETUP(rest, packed, r, fail);
    if (fail != 0) {
      MaRecursion rec;
      rec.q = r;
      MaPolynomial poly{};
      std::copy(rest.begin(), rest.end(), poly.begin());
      const double lead = rest[0];
      for (double& x : poly) x /= lead;
      ma_autocovariances(poly, r, rec.gamma);
      if (prepare_recursion(rec, kDeflationSteps, 1) != 0) return 1;
      const int row = rec.converged != 0 ? rec.converged : 1;
      rest.assign(static_cast<std::size_t>(r) + 1, 0.0);
      rest[0] = 1.0;
      for (int j = 1; j <= r; ++j)
        rest[static_cast<std::size_t>(j)] = rec.theta[static_cast<std::size_t>(row) * static_cast<std::size_t>(r) + static_cast<std::size_t>(j - 1)];
    }
  }
  roots.at_one = at_plus;
  roots.at_minus_one = at_minus;
  for (int i = 0; i < at_plus; ++i) rest = POLYMULT(rest, minus_one);
  for (int i = 0; i < at_minus; ++i) rest = POLYMULT(rest, plus_one);
  for (int j = 0; j <= p; ++j) a[static_cast<std::size_t>(j)] = j < static_cast<int>(rest.size()) ? rest[static_cast<std::size_t>(j)] : 0.0;
  return 0;
}

}  // namespace qorv::core
