// The AR error estimators: Cochrane-Orcutt and Gauss-Newton iterations and the exact
// maximum-likelihood searches.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "engine/core/ar_kernels.h"
#include "engine/core/likelihoods.h"
#include "engine/core/workspace.h"
#include "engine/single/error_model_support.h"
#include "engine/single/error_models.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"

namespace qorv::single {

namespace {

constexpr int kIterationLimit = 40;
constexpr double kEnd = 0.9999;          // ends of the AR(1) search
constexpr double kStepTolerance = 0.0001;
constexpr int kMaxHalvings = 50;
constexpr double kTolerance = 1e-11;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

/// Asks what to do at the iteration limit: true to go on; `print` ends with the current
/// iterate (convergence word 1).
bool go_on(const LimitHandler& on_limit, int iterations, int& limit, bool& failed) {
  if (iterations <= limit) return true;
  bool abandon = false, print = false;
  if (on_limit) on_limit(limit, abandon, print);
  else abandon = true;
  if (abandon || (!print && iterations > limit)) {
    failed = true;
    return false;
  }
  if (print) {
    estimation().convergence = 1;
    return false;
  }
  return true;
}

/// The AR-filtered dependent variable and regressors (n − m rows).
struct Filtered {
  int rows = 0;
  std::vector<double> y, x, w;  ///< w: the instruments, filtered alike (empty without)
};

/// Filters the columns of `columns` (n rows each) into `out` (n − m rows each).
void filter_columns(std::span<const double> columns, int n, std::span<const double> rho, std::span<const int> lags,
                    std::vector<double>& out) {
  const int rows = n - lags.back();
  const int count = static_cast<int>(columns.size() / at(n));
  out.resize(at(rows) * at(count));
  for (int j = 0; j < count; ++j)
    core::ARFILTERRESID(columns.subspan(at(j) * at(n), at(n)), rho, lags,
                        std::span<double>(out).subspan(at(j) * at(rows), at(rows)));
}

Filtered filter_all(const core::RegressionColumns& d, std::span<const double> w, std::span<const double> rho,
                    std::span<const int> lags) {
  Filtered f;
  f.rows = d.n - lags.back();
  filter_columns(d.y, d.n, rho, lags, f.y);
  filter_columns(d.x, d.n, rho, lags, f.x);
  if (!w.empty()) filter_columns(w, d.n, rho, lags, f.w);
  return f;
}

std::vector<double> residuals_of(const core::RegressionColumns& d, std::span<const double> b) {
  std::vector<double> u(d.y);
  for (int j = 0; j < d.k; ++j) {
    const auto x = d.column(j);
    for (int t = 0; t < d.n; ++t) u[at(t)] -= b[at(j)] * x[at(t)];
  }
  return u;
}

/// `columns` (filtered, f.rows each) followed by u(t − lag), t = m + 1..n: the linearised
/// model's regressors, or its instruments (the lagged residuals instrument themselves).
std::vector<double> augmented(const std::vector<double>& columns, const Filtered& f, std::span<const double> u,
                              std::span<const int> lags) {
  if (columns.empty()) return {};
  std::vector<double> z(columns);
  const int m = lags.back();
  for (const int lag : lags)
    for (int t = m; t < m + f.rows; ++t) z.push_back(u[at(t - lag)]);
  return z;
}

/// Packed index of (i, j), 0-based, i >= j.
std::size_t packed(int i, int j) { return at(i) * at(i + 1) / 2 + at(j); }

}  // namespace

static ErrorModelOutcome iterate_ar_errors(const LimitHandler& on_limit) {
  auto& s = estimation();
  const auto d = equation_columns();
  const int n = d.n, k = d.k;
  const std::vector<int> lags = s.arma_lags;
  const int p = static_cast<int>(lags.size());
  if (p < 1 || n - lags.back() < k + p + 1) return ErrorModelOutcome::kFirstStepFailed;
  const int m = lags.back();
  const bool gauss_newton = s.method != method::kCochraneOrcutt;
  const std::vector<double> w = instrument_columns();
  if (is_iv_method(s.method) && w.empty()) return ErrorModelOutcome::kFirstStepFailed;
  std::vector<double> rho(at(p), 0.0), previous(at(p), 1000.0);
  if (s.user_initial_values)
    for (int i = 0; i < p; ++i) rho[at(i)] = coefficient(k + i + 1);
  ColumnFit fit;
  Filtered f = filter_all(d, w, rho, lags);
  if (!fit_instrumented(f.y, f.x, f.w, f.rows, k, fit)) return ErrorModelOutcome::kFirstStepFailed;
  std::vector<double> b = fit.b;
  int limit = kIterationLimit;
  int iterations = 0;
  bool failed = false;
  while (true) {
    ++iterations;
    const auto u = residuals_of(d, b);
    if (gauss_newton) {
      if (!fit_instrumented(f.y, augmented(f.x, f, u, lags), augmented(f.w, f, u, lags), f.rows, k + p, fit))
        return ErrorModelOutcome::kStepFailed;
      std::copy(fit.b.begin(), fit.b.begin() + k, b.begin());
      for (int i = 0; i < p; ++i) rho[at(i)] += fit.b[at(k + i)];
      f = filter_all(d, w, rho, lags);
    } else {
      // u(t) on u(t − lag), t = m + 1..n.
      std::vector<double> lagged;
      for (const int lag : lags)
        for (int t = m; t < n; ++t) lagged.push_back(u[at(t - lag)]);
      if (!fit_columns(std::span<const double>(u).subspan(at(m)), lagged, n - m, p, fit))
        return ErrorModelOutcome::kStepFailed;
      rho = fit.b;
      f = filter_all(d, w, rho, lags);
      if (!fit_columns(f.y, f.x, f.rows, k, fit)) return ErrorModelOutcome::kStepFailed;
      b = fit.b;
    }
    double change = 0.0;
    for (int i = 0; i < p; ++i) change += std::fabs(rho[at(i)] - previous[at(i)]);
    previous = rho;
    if (change < 0.001 * p) break;
    if (!go_on(on_limit, iterations + 1, limit, failed)) {
      if (failed) return ErrorModelOutcome::kFailed;
      break;
    }
  }
  // The final iterate: filtered residuals, the normal likelihood on n − m observations and
  // the variance from the augmented regression.
  const auto u = residuals_of(d, b);
  std::vector<double> e(f.y);
  for (int j = 0; j < k; ++j)
    for (int t = 0; t < f.rows; ++t) e[at(t)] -= b[at(j)] * f.x[at(j) * at(f.rows) + at(t)];
  long double rss = 0.0L;
  for (double v : e) rss += static_cast<long double>(v) * v;
  const auto z = augmented(f.x, f, u, lags);
  if (!fit_instrumented(f.y, z, augmented(f.w, f, u, lags), f.rows, k + p, fit)) return ErrorModelOutcome::kStepFailed;
  if (!f.w.empty() && !iv_statistics(f.y, f.x, f.w, f.rows, k, b, s.grss, s.iv_minimand))
    return ErrorModelOutcome::kStepFailed;
  std::vector<double> coefficients(b);
  coefficients.insert(coefficients.end(), rho.begin(), rho.end());
  store_estimate(coefficients, fit.inverse, true, u);
  auto transformed = series_block(block::kTransformedResiduals);
  for (int t = 0; t < n; ++t) transformed[at(t)] = t < m ? 0.0 : e[at(t - m)];
  for (int t = m + 1; t <= n; ++t) fitted(t) = actual(t) - e[at(t - m - 1)];
  s.rss = static_cast<double>(rss);
  core::NORMALLOGLIK(n - m, k + p, s.rss, s.sigma, s.loglik);
  s.iterations = iterations;
  return ErrorModelOutcome::kEstimated;
}

namespace {

/// The AR(1) false-position search on (1 − r²)·dLL/dr. Returns false on failure.
bool ar1_search(const core::RegressionColumns& d, int parameters, bool interactive, const LimitHandler& on_limit,
                double& r, int& iterations) {
  auto& s = estimation();
  core::ArFit fit;
  const auto slope = [&](double at_r, double& g) {
    core::ArSlopes sl;
    if (core::ARMALOGLIK(d, at_r, 0.0, parameters, fit) != 0 || !core::ESTIMLIMITS(fit.u, at_r, 0.0, sl)) return false;
    g = sl.scaled;
    return true;
  };
  double r_hi = kEnd, r_lo = -kEnd, d_hi = 0.0, d_lo = 0.0;
  if (!slope(r_hi, d_hi) || !slope(r_lo, d_lo)) return false;
  iterations = 0;
  if (d_hi * d_lo > 0.0) {
    if (!interactive) return false;
    // No interior root: the likelihood rises towards the end the slopes point to.
    r = d_hi > 0.0 ? kEnd : -kEnd;
    s.convergence = 2;
    return true;
  }
  int limit = kIterationLimit;
  bool failed = false;
  while (true) {
    ++iterations;
    const double r_new = d_lo == d_hi ? 0.5 * (r_lo + r_hi) : (r_hi * d_lo - r_lo * d_hi) / (d_lo - d_hi);
    double d_new = 0.0;
    if (!slope(r_new, d_new)) return false;
    double replaced = 0.0;
    if (d_lo * d_new > 0.0) {
      replaced = r_lo;
      r_lo = r_new;
      d_lo = d_new;
    } else {
      replaced = r_hi;
      r_hi = r_new;
      d_hi = d_new;
    }
    r = r_new;
    if (std::fabs(r_new - replaced) < kStepTolerance || d_new == 0.0) return true;
    if (!go_on(on_limit, iterations + 1, limit, failed)) return !failed;
  }
}

bool inside(double r1, double r2, double margin) {
  return 1.0 - r1 - r2 >= margin && r2 + 1.0 >= margin && r1 + 1.0 - r2 >= margin;
}

/// The AR(2) scoring search from (r1, r2). Returns false on failure.
bool ar2_search(const core::RegressionColumns& d, const LimitHandler& on_limit, double& r1, double& r2, int& iterations) {
  while (!(1.0 - r1 - r2 >= 0.01 && r2 + 1.0 >= 0.01 && r1 + 1.0 - r2 > 0.01)) {
    r1 *= 0.95;
    r2 *= 0.95;
  }
  core::ArFit fit;
  core::ArSlopes sl;
  if (core::ARMALOGLIK(d, r1, r2, d.k + 2, fit) != 0 || !core::ESTIMLIMITS(fit.u, r1, r2, sl)) return false;
  double ll = fit.loglik, g1 = sl.d1, g2 = sl.d2, step = 1.0;
  const double n = d.n;
  int limit = kIterationLimit;
  bool failed = false;
  iterations = 0;
  while (true) {
    ++iterations;
    const double A = 1.0 - r2 * r2, B = r1 * (1.0 + r2);
    bool first = true, moved = false, settled = false;
    // A candidate closer than the tolerance is still taken when it raises the likelihood:
    // the search stops on the change of the accepted point.
    for (int halvings = 0; halvings <= kMaxHalvings; ++halvings) {
      const double c1 = r1 + (step / n) * (A * g1 - B * g2);
      const double c2 = r2 + (step / n) * (A * g2 - B * g1);
      if (inside(c1, c2, 0.0001) && core::ARMALOGLIK(d, c1, c2, d.k + 2, fit) == 0 && fit.loglik > ll &&
          core::ESTIMLIMITS(fit.u, c1, c2, sl)) {
        const double change = std::fabs(c1 - r1) + std::fabs(c2 - r2);
        r1 = c1;
        r2 = c2;
        ll = fit.loglik;
        g1 = sl.d1;
        g2 = sl.d2;
        step *= first ? 2.5 : 2.0;
        moved = true;
        settled = change < kStepTolerance;
        break;
      }
      step *= 0.5;
      first = false;
    }
    if (settled || !moved) return true;
    if (!go_on(on_limit, iterations + 1, limit, failed)) return !failed;
  }
}

}  // namespace

static ErrorModelOutcome search_exact_ar(bool interactive, const LimitHandler& on_limit) {
  auto& s = estimation();
  const bool ar2 = s.method == method::kExactAr2;
  std::array<double, 2> user{};
  if (ar2 && s.user_initial_values) user = {coefficient(s.nregs + 1), coefficient(s.nregs + 2)};
  double mean_square = 0.0, ols_loglik = 0.0;
  RESIDUALSUMMARY(mean_square, ols_loglik, false);
  if (s.status != status::kEstimated) return ErrorModelOutcome::kFirstStepFailed;
  s.stage_loglik[0] = ols_loglik;
  const std::vector<double> ols_residuals(series_block(block::kResiduals).begin(), series_block(block::kResiduals).end());
  const auto d = equation_columns();
  const int k = d.k, p = ar2 ? 2 : 1;
  double r1 = 0.0, r2 = 0.0;
  int iterations = 0;
  if (!ar1_search(d, k + p, interactive, on_limit, r1, iterations)) return ErrorModelOutcome::kFailed;
  core::ArFit fit;
  if (core::ARMALOGLIK(d, r1, 0.0, k + p, fit) != 0) return ErrorModelOutcome::kFailed;
  s.stage_loglik[1] = fit.loglik;
  if (ar2) {
    double a21 = 0.0, a22 = 0.0, a1 = 0.0;
    core::LAGCROSSSUMS(ols_residuals, kTolerance, a21, a22, a1);
    r1 = s.user_initial_values ? user[0] : a21;
    r2 = s.user_initial_values ? user[1] : a22;
    s.convergence = 0;
    if (!ar2_search(d, on_limit, r1, r2, iterations)) return ErrorModelOutcome::kFailed;
    if (core::ARMALOGLIK(d, r1, r2, k + p, fit) != 0) return ErrorModelOutcome::kFailed;
    s.stage_loglik[2] = fit.loglik;
  }
  std::vector<double> coefficients(fit.b);
  coefficients.push_back(r1);
  if (ar2) coefficients.push_back(r2);
  // The regression block from the transformed regressors, the AR block asymptotic and
  // uncorrelated with it, scaled by 1/σ² like the rest.
  std::vector<double> variance(at(k + p) * at(k + p + 1) / 2, 0.0);
  std::copy(fit.inverse.begin(), fit.inverse.end(), variance.begin());
  const double s2 = fit.sigma < kTolerance ? kTolerance : fit.sigma * fit.sigma;
  const double n = d.n;
  if (ar2) {
    variance[packed(k, k)] = variance[packed(k + 1, k + 1)] = (1.0 - r2 * r2) / n / s2;
    variance[packed(k + 1, k)] = -(r1 + r2 * r1) / n / s2;
  } else {
    variance[packed(k, k)] = (1.0 - r1 * r1) / n / s2;
  }
  store_estimate(coefficients, std::move(variance), true, fit.u);
  s.sigma = fit.sigma;
  s.loglik = fit.loglik;
  s.rss = fit.q;
  s.iterations = iterations;
  return ErrorModelOutcome::kEstimated;
}

bool concentrated_ar_criterion(const core::RegressionColumns& d, std::span<const double> w, int code, int lag,
                               double r, double& criterion) {
  if (lag < 1 || d.n - lag < d.k + 1) return false;
  if (code == method::kExactAr1 || code == method::kExactAr2) {
    if (lag != 1) return false;
    core::ArFit fit;
    if (core::ARMALOGLIK(d, r, 0.0, d.k + 1, fit) != 0) return false;
    criterion = fit.loglik;
    return std::isfinite(criterion);
  }
  if (is_iv_method(code) && w.empty()) return false;
  const double rho[] = {r};
  const int lags[] = {lag};
  const Filtered f = filter_all(d, w, rho, lags);
  ColumnFit fit;
  if (!fit_instrumented(f.y, f.x, f.w, f.rows, d.k, fit)) return false;
  if (!f.w.empty()) {
    criterion = fit.minimand;
  } else {
    double sigma = 0.0;
    core::NORMALLOGLIK(f.rows, d.k + 1, fit.rss, sigma, criterion);
    if (criterion == limits::kMissing) return false;
  }
  return std::isfinite(criterion);
}

ErrorModelOutcome ESTIMATEARITERATIVE(const LimitHandler& on_limit) {
  try {
    return iterate_ar_errors(on_limit);
  } catch (const std::bad_alloc&) {
    return ErrorModelOutcome::kShortOfMemory;
  }
}

ErrorModelOutcome ESTIMATEAREXACT(bool interactive, const LimitHandler& on_limit) {
  try {
    return search_exact_ar(interactive, on_limit);
  } catch (const std::bad_alloc&) {
    return ErrorModelOutcome::kShortOfMemory;
  }
}

}  // namespace qorv::single
