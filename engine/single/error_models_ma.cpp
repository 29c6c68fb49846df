// The MA error estimator: starting values from the residual autocovariances, the exact
// concentrated likelihood minimised by the optimiser, the invertible representation of
// the result and the variance matrix from numerical second derivatives.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "engine/core/ar_kernels.h"
#include "engine/core/ma_likelihood.h"
#include "engine/core/num/matrices.h"
#include "engine/single/error_model_support.h"
#include "engine/single/error_models.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"

namespace qorv::single {

namespace {

constexpr int kOptimiserLimit = 10;
constexpr double kTwoPi = 6.2831853;
constexpr double kWhitenedStep = 0.01;
constexpr int kMaxDivisor = 500;

std::size_t at(int i) { return static_cast<std::size_t>(i); }

/// The regression with MA errors at one set of MA parameters.
struct MaFit {
  double criterion = 0.0;  ///< ½(n ln S + L)
  double ssq = 0.0;        ///< S: the GLS residual sum of squares
  double log_det = 0.0;    ///< L
  ColumnFit gls;           ///< the filtered regression (b, (X*'X*)⁻¹)
  std::vector<double> y, x, w;  ///< the filtered columns
};

/// `EQNLOGLIK`: filters y and the regressors through the innovations recursion of the MA
/// parameters and regresses the one on the others. Returns false when the recursion or the
/// regression fails.
bool EQNLOGLIK(const core::RegressionColumns& d, std::span<const double> w, std::span<const double> theta,
               std::span<const int> lags, core::MaRecursion& rec, MaFit& fit) {
  core::MaPolynomial poly{};
  rec.q = core::ma_polynomial(theta, lags, poly);
  if (rec.q < 0) return false;
  core::ma_autocovariances(poly, rec.q, rec.gamma);
  if (core::prepare_recursion(rec, d.n, 0) != 0) return false;
  const auto filter = [&](std::span<const double> columns, std::vector<double>& out) {
    out.resize(columns.size());
    for (std::size_t j = 0; j < columns.size() / at(d.n); ++j)
      core::filter_series(rec, columns.subspan(j * at(d.n), at(d.n)), std::span<double>(out).subspan(j * at(d.n), at(d.n)));
  };
  filter(d.y, fit.y);
  filter(d.x, fit.x);
  filter(w, fit.w);
  if (!fit_instrumented(fit.y, fit.x, fit.w, d.n, d.k, fit.gls) || !(fit.gls.rss > 0.0)) return false;
  fit.ssq = fit.gls.rss;
  fit.log_det = rec.log_det;
  fit.criterion = 0.5 * (d.n * std::log(fit.ssq) + fit.log_det);
  return true;
}

/// The exact log-likelihood −L/2 − (n/2)(ln(2π·S/n) + 1) of a kernel evaluation.
double exact_loglik(const MaFit& fit, int n) {
  return -0.5 * fit.log_det - 0.5 * n * (std::log(kTwoPi * fit.ssq / n) + 1.0);
}

/// `SSQITERATE`'s starting values: the MA coefficients that the innovations recursion of
/// the residuals' autocovariances settles on, the divisors raised while it fails.
bool starting_values(std::span<const double> e, std::span<const int> lags, std::vector<double>& theta) {
  const int n = static_cast<int>(e.size());
  const int q = lags.back();
  core::MaRecursion rec;
  rec.q = q;
  long double g0 = 0.0L;
  for (double v : e) g0 += static_cast<long double>(v) * v;
  rec.gamma[0] = static_cast<double>(g0 / n);
  for (int extra = 0;; ++extra) {
    for (int j = 1; j <= q; ++j) {
      long double sum = 0.0L;
      for (int t = j; t < n; ++t) sum += static_cast<long double>(e[at(t)]) * e[at(t - j)];
      rec.gamma[at(j)] = static_cast<double>(sum / (n - j + extra));
    }
    if (core::prepare_recursion(rec, n, 1) == 0) break;
    if (n - 1 + extra > kMaxDivisor) return false;
  }
  const int row = rec.converged != 0 ? rec.converged : 1;
  theta.clear();
  for (const int lag : lags) theta.push_back(rec.theta[at(row) * at(q) + at(lag - 1)]);
  return true;
}

}  // namespace

static ErrorModelOutcome estimate_ma_errors(const LimitHandler& on_limit) {
  auto& s = estimation();
  const int k = s.nregs;
  const std::vector<int> lags = s.arma_lags;
  const int p = static_cast<int>(lags.size());
  if (p < 1 || lags.back() > core::kMaxMaOrder) return ErrorModelOutcome::kFailed;
  std::vector<double> theta;
  if (s.user_initial_values)
    for (int i = 0; i < p; ++i) theta.push_back(coefficient(k + i + 1));
  const std::vector<double> w = instrument_columns();
  if (is_iv_method(s.method)) {
    if (w.empty()) return ErrorModelOutcome::kFirstStepFailed;
    LSQCORE(false);
  } else {
    double mean_square = 0.0, ols_loglik = 0.0;
    RESIDUALSUMMARY(mean_square, ols_loglik, false);
  }
  if (s.status != status::kEstimated) return ErrorModelOutcome::kFirstStepFailed;
  s.stage_loglik[0] = s.loglik;
  const auto d = equation_columns();
  const int n = d.n;
  if (n <= k + p) return ErrorModelOutcome::kFirstStepFailed;
  if (!s.user_initial_values && !starting_values(series_block(block::kResiduals), lags, theta))
    return ErrorModelOutcome::kNoMaStart;

  // Minimise ½(n ln S + L) over the MA parameters.
  core::MaRecursion rec;
  MaFit fit;
  const Objective objective = [&](std::span<const double> x, int& fail) {
    if (!EQNLOGLIK(d, w, x, lags, rec, fit)) {
      fail = 1;
      return 0.0;
    }
    return fit.criterion;
  };
  std::vector<double> e(at(p));
  for (int i = 0; i < p; ++i) e[at(i)] = (0.1 * std::fabs(theta[at(i)]) + 1.0) * 0.0001;
  const OptimiserRun run = OPTIMISE(objective, theta, e, kOptimiserLimit, on_limit);
  if (run.failed) return ErrorModelOutcome::kFailed;
  s.convergence = run.print ? 1 : 0;
  s.iterations = run.iterations;

  // The invertible representation with the same likelihood.
  core::MaPolynomial poly{};
  const int q = core::ma_polynomial(theta, lags, poly);
  core::UnitRoots roots;
  if (core::DEFLATEUNITROOTS(std::span<double>(poly).first(at(q) + 1), q, roots) != 0)
    return ErrorModelOutcome::kFailed;
  s.ma_unit_roots = {roots.at_one, roots.at_minus_one};
  for (int i = 0; i < p; ++i) theta[at(i)] = poly[at(lags[at(i)])];
  if (!EQNLOGLIK(d, w, theta, lags, rec, fit)) return ErrorModelOutcome::kFailed;
  if (!w.empty() && !iv_statistics(fit.y, fit.x, fit.w, n, k, fit.gls.b, s.grss, s.iv_minimand))
    return ErrorModelOutcome::kFailed;
  const std::vector<double> b = fit.gls.b;

  // Conditional innovations e(t) = u(t) − Σ θ_i e(t − lag_i), zero before the sample.
  std::vector<double> u(d.y), innovations(at(n), 0.0);
  for (int j = 0; j < k; ++j)
    for (int t = 0; t < n; ++t) u[at(t)] -= b[at(j)] * d.column(j)[at(t)];
  long double rss = 0.0L;
  for (int t = 0; t < n; ++t) {
    double v = u[at(t)];
    for (int i = 0; i < p; ++i)
      if (t - lags[at(i)] >= 0) v -= theta[at(i)] * innovations[at(t - lags[at(i)])];
    innovations[at(t)] = v;
    rss += static_cast<long double>(v) * v;
  }

  // Variance: the inverse Hessian of ½(n ln S + L) over (b, θ), taken in whitened
  // coordinates b = b̂ + C·z (C C' = (S/n)(X*'X*)⁻¹), θ = θ̂ + z/√n, where the curvature is
  // near 1 in every direction, by central differences extrapolated to step 0.
  const int np = k + p;
  std::vector<double> c(fit.gls.inverse);
  for (double& v : c) v *= fit.ssq / n;
  int fail = 0;
  core::PACKEDCHOLESKY(c, k, fail);  // c = U, (S/n)(X*'X*)⁻¹ = U'U
  if (fail != 0) return ErrorModelOutcome::kNotPositiveDefinite;
  std::vector<double> T(at(np) * at(np), 0.0);  // row-major: parameter i = Σ_j T(i, j) z_j
  for (int i = 0; i < k; ++i)
    for (int j = 0; j <= i; ++j) T[at(i) * at(np) + at(j)] = c[at(i) * at(i + 1) / 2 + at(j)];
  for (int i = k; i < np; ++i) T[at(i) * at(np) + at(i)] = 1.0 / std::sqrt(static_cast<double>(n));
  std::vector<double> centre(b);
  centre.insert(centre.end(), theta.begin(), theta.end());
  core::MaRecursion hrec;
  std::vector<double> point(at(np)), residual_work(at(n));
  const core::ParameterFunction whitened = [&](std::span<const double> z, int& f) {
    for (int i = 0; i < np; ++i) {
      double v = centre[at(i)];
      for (int j = 0; j < np; ++j) v += T[at(i) * at(np) + at(j)] * z[at(j)];
      point[at(i)] = v;
    }
    residual_work.assign(d.y.begin(), d.y.end());
    for (int j = 0; j < k; ++j)
      for (int t = 0; t < n; ++t) residual_work[at(t)] -= point[at(j)] * d.column(j)[at(t)];
    double criterion = 0.0;
    core::LOGLIKKERNEL(std::span<const double>(point).subspan(at(k)), lags, residual_work, criterion, {}, f, hrec);
    return criterion;
  };
  const std::vector<double> zero(at(np), 0.0), steps(at(np), kWhitenedStep);
  std::vector<double> hz(at(np) * at(np + 1) / 2, 0.0);
  // The centre value by the same route as the others, so that the differences hold no
  // rounding of another computation.
  const double centre_value = whitened(zero, fail);
  if (fail != 0) return ErrorModelOutcome::kNotPositiveDefinite;
  core::extrapolated_hessian(zero, centre_value, whitened, steps, hz, fail);
  if (fail != 0) return ErrorModelOutcome::kNotPositiveDefinite;
  core::INVERTSYMPACKED(hz, np, fail);
  if (fail != 0) return ErrorModelOutcome::kNotPositiveDefinite;
  const auto hz_at = [&](int i, int j) { return i >= j ? hz[at(i) * at(i + 1) / 2 + at(j)] : hz[at(j) * at(j + 1) / 2 + at(i)]; };
  std::vector<double> variance(at(np) * at(np + 1) / 2, 0.0);
  for (int i = 0; i < np; ++i)
    for (int j = 0; j <= i; ++j) {
      long double sum = 0.0L;
      for (int a = 0; a < np; ++a)
        for (int bb = 0; bb < np; ++bb)
          sum += static_cast<long double>(T[at(i) * at(np) + at(a)]) * hz_at(a, bb) * T[at(j) * at(np) + at(bb)];
      variance[at(i) * at(i + 1) / 2 + at(j)] = static_cast<double>(sum);
    }
  for (int i = 0; i < np; ++i)
    if (!(variance[at(i) * at(i + 1) / 2 + at(i)] > 0.0)) return ErrorModelOutcome::kNotPositiveDefinite;

  store_estimate(centre, std::move(variance), false, innovations);
  auto transformed = series_block(block::kTransformedResiduals);
  std::copy(innovations.begin(), innovations.end(), transformed.begin());
  s.rss = static_cast<double>(rss);
  s.sigma = std::sqrt(s.rss / (n - k - p));
  s.loglik = exact_loglik(fit, n);
  return ErrorModelOutcome::kEstimated;
}

bool concentrated_ma_criterion(const core::RegressionColumns& d, std::span<const double> w, int code, int lag,
                               double theta, double& criterion) {
  if (lag < 1 || lag > core::kMaxMaOrder || d.n <= d.k + 1) return false;
  if (is_iv_method(code) && w.empty()) return false;
  const double coefficients[] = {theta};
  const int lags[] = {lag};
  core::MaRecursion rec;
  MaFit fit;
  if (!EQNLOGLIK(d, w, coefficients, lags, rec, fit)) return false;
  const double loglik = exact_loglik(fit, d.n);
  criterion = is_iv_method(code) ? -loglik : loglik;
  return std::isfinite(criterion);
}

ErrorModelOutcome ESTIMATEMA(const LimitHandler& on_limit) {
  try {
    return estimate_ma_errors(on_limit);
  } catch (const std::bad_alloc&) {
    return ErrorModelOutcome::kShortOfMemory;
  }
}

}  // namespace qorv::single
