#include "engine/diagnostics/non_nested_simulation.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/core/likelihoods.h"
#include "engine/core/num/matrices.h"
#include "engine/core/random_numbers.h"
#include "engine/core/square_guard.h"
#include "engine/diagnostics/non_nested_tests.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;

/// One model's regressors laid out for the packed least-squares kernel (column 1 stands
/// for the dependent variable, which is passed apart), with the inverse of X'X kept for
/// every further dependent column.
struct Fitter {
  int n = 0, k = 0;
  std::vector<double> data;
  std::vector<int> list;
  std::vector<double> inverse;
  // The outputs of the last fit.
  std::vector<double> b, fitted, residuals;
  double rss = 0.0;

  explicit Fitter(const std::vector<std::vector<double>>& regressors, int observations)
      : n(observations), k(static_cast<int>(regressors.size())) {
    data.assign(static_cast<std::size_t>(n), 0.0);
    list.push_back(1);
    for (const std::vector<double>& column : regressors) {
      if (static_cast<int>(column.size()) != n) throw std::invalid_argument("NNSIMULATE: a regressor of another length");
      data.insert(data.end(), column.begin(), column.end());
      list.push_back(static_cast<int>(list.size()) + 1);
    }
    inverse.assign(static_cast<std::size_t>(k) * (k + 1) / 2, 0.0);
    b.assign(static_cast<std::size_t>(k), 0.0);
    fitted.assign(static_cast<std::size_t>(n), 0.0);
    residuals.assign(static_cast<std::size_t>(std::max(n, k)), 0.0);
  }

  /// Least squares of y on the regressors; the first call inverts X'X. False on failure.
  bool fit(std::span<const double> y, bool first = false) {
    int fail = 0;
    core::PACKEDXTXSOLVE(data, 0, y, list, k, n, n, 0, first ? 0 : core::kSolveReuseInverse, b, fitted, residuals, rss,
                         inverse, fail);
    return fail == 0;
  }

  /// σ̃ = sqrt(RSS/n) of the last fit.
  double ml_sigma() const { return std::sqrt(rss / n); }

  /// The adjusted log-likelihood of the last fit of y (observation values into `l`);
  /// missing when a term cannot be formed.
  double loglik(std::span<const double> y, std::span<const double> derivative, std::span<double> l) const {
    double sum = 0.0;
    core::GAUSSLOGLIK(data, derivative, y, list, b, n, k, n, 0, ml_sigma(), l, sum);
    return sum;
  }
};

long double dot(std::span<const double> a, std::span<const double> b) {
  long double s = 0.0L;
  for (std::size_t t = 0; t < a.size(); ++t) s += static_cast<long double>(a[t]) * b[t];
  return s;
}

/// The t-ratio of z added to the model of `fitter` (whose last fit is on the model's own
/// dependent variable, residuals `e`, sum of squares `rss`).
double added_t(Fitter& fitter, std::span<const double> e, double rss, std::span<const double> z) {
  Fitter rest = fitter;  // keeps the model's own fit intact
  if (!rest.fit(z)) return kMissing;
  return added_column_t_ratio(static_cast<double>(dot(e, z)), rss, rest.rss, static_cast<double>(dot(z, z)),
                              fitter.n - fitter.k - 1);
}

/// The double-length regression's t-ratio of the last column: regressand [ε̂a; 1],
/// regressors [x, ε̂a, ε̂a − ε̂b; 0, −1, Db·σ̃a/(Da·σ̃b) − 1].
double double_length_t(const Fitter& a, std::span<const double> ea, std::span<const double> eb,
                       std::span<const double> da, std::span<const double> db, double sa, double sb) {
  const int n = a.n, k = a.k, rows = 2 * n, columns = k + 2;
  if (rows - columns < 1) return kMissing;
  std::vector<double> data(static_cast<std::size_t>(rows) * (columns + 1), 0.0);
  const auto at = [&](int column, int row) -> double& { return data[static_cast<std::size_t>(column) * rows + row]; };
  for (int j = 1; j <= k; ++j)
    for (int t = 0; t < n; ++t) at(j, t) = a.data[static_cast<std::size_t>(j) * n + t];
  std::vector<double> y(static_cast<std::size_t>(rows), 1.0);
  for (int t = 0; t < n; ++t) {
    const double e1 = ea[static_cast<std::size_t>(t)] / sa, e2 = eb[static_cast<std::size_t>(t)] / sb;
    y[static_cast<std::size_t>(t)] = e1;
    at(k + 1, t) = e1;
    at(k + 1, n + t) = -1.0;
    at(k + 2, t) = e1 - e2;
    at(k + 2, n + t) = db[static_cast<std::size_t>(t)] * sa / (da[static_cast<std::size_t>(t)] * sb) - 1.0;
    if (!std::isfinite(at(k + 2, n + t))) return kMissing;
  }
  std::vector<int> list(static_cast<std::size_t>(columns) + 1);
  for (int j = 0; j <= columns; ++j) list[static_cast<std::size_t>(j)] = j + 1;
  std::vector<double> b(static_cast<std::size_t>(columns)), fitted(static_cast<std::size_t>(rows)),
      work(static_cast<std::size_t>(rows)), inverse(static_cast<std::size_t>(columns) * (columns + 1) / 2);
  double rss = 0.0;
  int fail = 0;
  core::PACKEDXTXSOLVE(data, 0, y, list, columns, rows, rows, 0, 0, b, fitted, work, rss, inverse, fail);
  if (fail != 0) return kMissing;
  const double variance = rss / (rows - columns) * inverse[static_cast<std::size_t>(core::PACKEDINDEX(columns, columns) - 1)];
  if (!(variance > 0.0)) return kMissing;
  return core::finite_or_missing(b.back() / std::sqrt(variance));
}

/// Σ(d − d̄)² of the observation differences.
double centred_squares(std::span<const double> d) {
  long double mean = 0.0L;
  for (const double v : d) mean += v;
  mean /= static_cast<long double>(d.size());
  long double s = 0.0L;
  for (const double v : d) s += (v - mean) * (v - mean);
  return static_cast<double>(s);
}

}  // namespace

SimulationResult NNSIMULATE(const std::array<SimulatedModel, 2>& models, int replications, const DependentMap& map) {
  SimulationResult r;
  const int n = static_cast<int>(models[0].dependent.size());
  for (const SimulatedModel& m : models)
    if (n < 1 || static_cast<int>(m.dependent.size()) != n || static_cast<int>(m.derivative.size()) != n)
      throw std::invalid_argument("NNSIMULATE: models of unequal or no length");
  r.n = n;
  r.replications = replications;
  const auto un = static_cast<std::size_t>(n);
  std::array<Fitter, 2> fitters = {Fitter(models[0].regressors, n), Fitter(models[1].regressors, n)};

  // The data.
  std::array<std::vector<double>, 2> l = {std::vector<double>(un), std::vector<double>(un)};
  std::array<std::vector<double>, 2> e;
  std::array<double, 2> sigma{}, s{}, ll{};
  for (int i = 0; i < 2; ++i) {
    Fitter& f = fitters[static_cast<std::size_t>(i)];
    if (!f.fit(models[static_cast<std::size_t>(i)].dependent, true)) {
      r.failure = SimulationFailure::kSingular;
      r.failed_model = i;
      return r;
    }
    sigma[static_cast<std::size_t>(i)] = f.ml_sigma();
    if (!(sigma[static_cast<std::size_t>(i)] >= limits::kTolerance) || n - f.k < 1) {
      r.failure = SimulationFailure::kExactFit;
      r.failed_model = i;
      return r;
    }
    s[static_cast<std::size_t>(i)] = std::sqrt(f.rss / (n - f.k));
    ll[static_cast<std::size_t>(i)] =
        f.loglik(models[static_cast<std::size_t>(i)].dependent, models[static_cast<std::size_t>(i)].derivative,
                 l[static_cast<std::size_t>(i)]);
    if (ll[static_cast<std::size_t>(i)] == kMissing) {
      r.failure = SimulationFailure::kUndefined;
      return r;
    }
    e[static_cast<std::size_t>(i)].assign(f.residuals.begin(), f.residuals.begin() + n);
    SimulatedEstimates& out = r.models[static_cast<std::size_t>(i)];
    for (const double b : f.b) out.coefficients.push_back({b, kMissing});
    out.standard_error = {s[static_cast<std::size_t>(i)], kMissing};
    out.ml_standard_error = {sigma[static_cast<std::size_t>(i)], kMissing};
    out.loglik = {ll[static_cast<std::size_t>(i)], kMissing};
  }
  std::vector<double> d(un);
  for (std::size_t t = 0; t < un; ++t) d[t] = l[0][t] - l[1][t];
  const double squares = centred_squares(d);
  const double vd = n > 1 ? squares / (n - 1) : 0.0;
  r.sargan = ll[0] - ll[1];
  r.vuong = squares > 0.0 ? core::finite_or_missing(r.sargan / std::sqrt(squares)) : kMissing;

  // The artificial regressions: model a against model b.
  std::vector<double> other(un), d1(un), d2(un);
  for (int a = 0; a < 2; ++a) {
    const int b = 1 - a;
    const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
    Fitter& fa = fitters[ua];
    Fitter& fb = fitters[ub];
    // b's dependent variable at a's fitted values: g(f⁻¹(Xβ̂)).
    if (!map(a, std::span<const double>(fa.fitted).first(un), other, d1, d2)) {
      r.failure = SimulationFailure::kUndefined;
      return r;
    }
    // PE's added term runs model 1's side less model 2's in both directions.
    const double sign = a == 0 ? 1.0 : -1.0;
    std::vector<double> z(un);
    for (std::size_t t = 0; t < un; ++t) z[t] = sign * (other[t] - fb.fitted[t]);
    r.pe_test[ua] = added_t(fa, e[ua], fa.rss, z);
    Fitter on_b = fb;
    r.bm_test[ua] = on_b.fit(other) ? added_t(fa, e[ua], fa.rss, std::span<const double>(on_b.residuals).first(un))
                                    : kMissing;
    r.dl_test[ua] = double_length_t(fa, e[ua], e[ub], models[ua].derivative, models[ub].derivative, sigma[ua], sigma[ub]);
  }

  // The simulations: under model a, both models re-estimated on each sample.
  if (replications < 1) return r;
  std::array<std::vector<double>, 2> y = {std::vector<double>(un), std::vector<double>(un)};
  std::array<std::vector<double>, 2> derivative = {std::vector<double>(un), std::vector<double>(un)};
  for (int a = 0; a < 2; ++a) {
    const int b = 1 - a;
    const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
    std::array<Fitter, 2> refit = fitters;
    long double ratio_sum = 0.0L, s_sum = 0.0L, sigma_sum = 0.0L, ll_sum = 0.0L;
    std::vector<long double> b_sum(static_cast<std::size_t>(refit[ub].k), 0.0L);
    for (int rep = 0; rep < replications; ++rep) {
      for (std::size_t t = 0; t < un; ++t) y[ua][t] = fitters[ua].fitted[t] + s[ua] * core::RANDNORMAL();
      if (!map(a, y[ua], y[ub], derivative[0], derivative[1])) {
        r.failure = SimulationFailure::kBreakdown;
        return r;
      }
      std::array<double, 2> ll_rep{};
      for (std::size_t i = 0; i < 2; ++i) {
        if (!refit[i].fit(y[i]) || !(refit[i].ml_sigma() >= limits::kTolerance)) {
          r.failure = SimulationFailure::kBreakdown;
          return r;
        }
        ll_rep[i] = refit[i].loglik(y[i], derivative[i], l[i]);
        if (ll_rep[i] == kMissing) {
          r.failure = SimulationFailure::kBreakdown;
          return r;
        }
      }
      ratio_sum += (ll_rep[ua] - ll_rep[ub]) / n;
      for (std::size_t j = 0; j < b_sum.size(); ++j) b_sum[j] += refit[ub].b[j];
      s_sum += std::sqrt(refit[ub].rss / (n - refit[ub].k));
      sigma_sum += refit[ub].ml_sigma();
      ll_sum += ll_rep[ub];
    }
    const long double count = replications;
    const double centre = static_cast<double>(ratio_sum / count);
    const double t_value = (ll[ua] - ll[ub]) / n - centre;
    r.s_test[ua] = vd > 0.0 ? core::finite_or_missing(std::sqrt(static_cast<double>(n)) * t_value / std::sqrt(vd)) : kMissing;
    SimulatedEstimates& out = r.models[ub];
    for (std::size_t j = 0; j < b_sum.size(); ++j) out.coefficients[j][1] = static_cast<double>(b_sum[j] / count);
    out.standard_error[1] = static_cast<double>(s_sum / count);
    out.ml_standard_error[1] = static_cast<double>(sigma_sum / count);
    out.loglik[1] = static_cast<double>(ll_sum / count);
  }
  return r;
}

}  // namespace qorv::diagnostics
