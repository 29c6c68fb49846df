#include "engine/single/ardl_search.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "engine/core/likelihoods.h"
#include "engine/core/num/cross_products.h"
#include "engine/single/growing_least_squares.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

size_t at(long i) { return static_cast<size_t>(i); }

/// Position of element (i, j), 0-based, in a packed lower triangle.
size_t packed(int i, int j) {
  if (i < j) std::swap(i, j);
  return at(static_cast<long>(i) * (i + 1) / 2 + j);
}

/// Candidate columns of the search: the dependent variable at lag 0..p, each regressor at
/// lag 0..p, then the deterministic columns.
struct Candidates {
  int p = 0;
  int variables = 0;
  int count = 0;
  int of(int variable, int lag) const { return variable * (p + 1) + lag; }
  int deterministic(int j) const { return variables * (p + 1) + j; }
};

void check(const ArdlData& d) {
  if (d.variables.empty() || d.n < 1 || d.p < 0)
    throw std::invalid_argument("select_ardl_orders: no variable, no observation or a negative lag");
  for (const auto& v : d.variables)
    if (v.size() < at(d.n + d.p)) throw std::invalid_argument("select_ardl_orders: a variable is too short");
  for (const auto& v : d.deterministic)
    if (v.size() < at(d.n)) throw std::invalid_argument("select_ardl_orders: a deterministic column is too short");
}

double dependent_variance(const ArdlData& d) {
  if (d.n < 2) return 0.0;
  const auto y = d.variables.front().subspan(at(d.p), at(d.n));
  long double mean = 0.0L;
  for (const double v : y) mean += v;
  mean /= d.n;
  long double ss = 0.0L;
  for (const double v : y) ss += (v - mean) * (v - mean);
  return static_cast<double>(ss / (d.n - 1));
}

/// Share of y'y below which a model's sum of squares is summed from the data.
constexpr double kRecomputeShare = 1e-8;

/// Σ (y − x'b)² over the n observations, x the candidate columns `model` (the dependent
/// variable's last).
double data_rss(std::span<const double* const> columns, std::span<const int> model, std::span<const long double> b,
                int n) {
  const size_t k = b.size();
  long double rss = 0.0L;
  for (int t = 0; t < n; ++t) {
    long double r = columns[at(model[k])][t];
    for (size_t j = 0; j < k; ++j) r -= b[j] * columns[at(model[j])][t];
    rss += r * r;
  }
  return static_cast<double>(rss);
}

}  // namespace

std::uint64_t ardl_model_count(int k, int p) {
  if (k < 1 || p < 0) return 0;
  const std::uint64_t base = static_cast<std::uint64_t>(p) + 1;
  std::uint64_t count = 1;
  for (int i = 0; i < k; ++i) {
    if (count > std::numeric_limits<std::uint64_t>::max() / base) return std::numeric_limits<std::uint64_t>::max();
    count *= base;
  }
  return count;
}

std::array<double, kArdlCriteria> ardl_criteria(int n, int k, double rss, double loglik, double dep_variance) {
  std::array<double, kArdlCriteria> c{};
  c[0] = n > k && dep_variance > 0.0 ? 1.0 - (rss / (n - k)) / dep_variance : limits::kMissing;
  c[1] = loglik - k;
  c[2] = loglik - 0.5 * k * std::log(static_cast<double>(n));
  c[3] = loglik - k * std::log(std::log(static_cast<double>(n)));
  return c;
}

ArdlSelection select_ardl_orders(const ArdlData& d, bool keep_fits) {
  check(d);
  const int K = static_cast<int>(d.variables.size());
  const int s = static_cast<int>(d.deterministic.size());
  Candidates cand{d.p, K, K * (d.p + 1) + s};

  // Every candidate column over the common sample, summed once.
  std::vector<const double*> columns(at(cand.count));
  for (int v = 0; v < K; ++v)
    for (int lag = 0; lag <= d.p; ++lag) columns[at(cand.of(v, lag))] = d.variables[at(v)].data() + (d.p - lag);
  for (int j = 0; j < s; ++j) columns[at(cand.deterministic(j))] = d.deterministic[at(j)].data();
  std::vector<double> all(at(static_cast<long>(cand.count) * (cand.count + 1) / 2));
  core::symmetric_cross_products(columns, at(d.n), all);

  const double variance = dependent_variance(d);
  const double yy = all[packed(cand.of(0, 0), cand.of(0, 0))];
  ArdlSelection out;
  std::vector<int> orders(at(K), 0);
  std::vector<int> model;  // candidate columns of the model's regressors, then the dependent
  std::vector<double> sub;
  while (true) {
    model.clear();
    for (int lag = 1; lag <= orders[0]; ++lag) model.push_back(cand.of(0, lag));
    for (int v = 1; v < K; ++v)
      for (int lag = 0; lag <= orders[at(v)]; ++lag) model.push_back(cand.of(v, lag));
    for (int j = 0; j < s; ++j) model.push_back(cand.deterministic(j));
    const int k = static_cast<int>(model.size());
    model.push_back(cand.of(0, 0));
    sub.resize(at(static_cast<long>(k + 1) * (k + 2) / 2));
    for (int i = 0; i <= k; ++i)
      for (int j = 0; j <= i; ++j) sub[packed(i, j)] = all[packed(model[at(i)], model[at(j)])];

    ++out.models;
    if (k == 0) {
      out.stop = ArdlStop::kSingular;
      return out;
    }
    GrowingCrossProducts cp(k, 0);
    cp.assign_packed(sub, d.n);
    const StepEstimate fit = solve(cp, false);
    if (fit.fail != 0) {
      out.stop = ArdlStop::kSingular;
      return out;
    }
    // The sum of squares from the cross products loses its digits when the model fits
    // almost exactly: the residuals are then summed from the data.
    double rss = fit.rss;
    if (rss <= kRecomputeShare * yy) rss = data_rss(columns, model, fit.coef, d.n);
    double sigma = 0.0, loglik = 0.0;
    core::NORMALLOGLIK(d.n, k, rss, sigma, loglik);
    if (loglik == limits::kMissing) {
      out.stop = ArdlStop::kExactFit;
      return out;
    }
    const auto criteria = ardl_criteria(d.n, k, rss, loglik, variance);
    for (int c = 0; c < kArdlCriteria; ++c)
      if (criteria[at(c)] > out.best_value[at(c)]) {
        out.best_value[at(c)] = criteria[at(c)];
        out.best[at(c)] = orders;
      }
    if (keep_fits) out.fits.push_back(ArdlFit{orders, k, rss, loglik, criteria});

    // Next orders: the last regressor turns fastest.
    int v = K - 1;
    while (v >= 0 && orders[at(v)] == d.p) orders[at(v--)] = 0;
    if (v < 0) return out;
    ++orders[at(v)];
  }
}

ArdlEstimate fit_ardl_model(const ArdlData& d, std::span<const int> orders) {
  check(d);
  const int K = static_cast<int>(d.variables.size());
  if (orders.size() != at(K)) throw std::invalid_argument("fit_ardl_model: one order per variable");
  for (const int q : orders)
    if (q < 0 || q > d.p) throw std::invalid_argument("fit_ardl_model: an order outside 0..p");
  std::vector<const double*> columns;
  for (int lag = 1; lag <= orders[0]; ++lag) columns.push_back(d.variables[0].data() + (d.p - lag));
  for (int v = 1; v < K; ++v)
    for (int lag = 0; lag <= orders[at(v)]; ++lag) columns.push_back(d.variables[at(v)].data() + (d.p - lag));
  for (const auto& det : d.deterministic) columns.push_back(det.data());
  const int k = static_cast<int>(columns.size());
  columns.push_back(d.variables[0].data() + d.p);
  std::vector<double> sums(at(static_cast<long>(k + 1) * (k + 2) / 2));
  core::symmetric_cross_products(columns, at(d.n), sums);

  ArdlEstimate out;
  if (k == 0 || d.n <= k) return out;
  GrowingCrossProducts cp(k, 0);
  cp.assign_packed(sums, d.n);
  const StepEstimate fit = solve(cp, false);
  if (fit.fail != 0) return out;
  out.singular = false;
  // The coefficients from the cross products, refined once against the data: residuals
  // and X'e summed in extended precision, the correction solved with the same factor.
  const auto u = [&fit, k](int i, int j) { return fit.factor[at(static_cast<long>(i) * k + j)]; };
  std::vector<long double> b = fit.coef, e(at(d.n)), g(at(k));
  const auto residuals = [&] {
    long double rss = 0.0L;
    for (int t = 0; t < d.n; ++t) {
      long double r = columns[at(k)][t];
      for (int j = 0; j < k; ++j) r -= b[at(j)] * columns[at(j)][t];
      e[at(t)] = r;
      rss += r * r;
    }
    return rss;
  };
  residuals();
  for (int j = 0; j < k; ++j) {
    long double s = 0.0L;
    for (int t = 0; t < d.n; ++t) s += columns[at(j)][t] * e[at(t)];
    g[at(j)] = s;
  }
  for (int i = 0; i < k; ++i) {  // U'w = g
    for (int r = 0; r < i; ++r) g[at(i)] -= u(r, i) * g[at(r)];
    g[at(i)] /= u(i, i);
  }
  for (int i = k - 1; i >= 0; --i) {  // U δ = w
    for (int c = i + 1; c < k; ++c) g[at(i)] -= u(i, c) * g[at(c)];
    g[at(i)] /= u(i, i);
  }
  for (int j = 0; j < k; ++j) b[at(j)] += g[at(j)];
  const long double rss = residuals();
  out.b.assign(b.begin(), b.end());
  out.rss = static_cast<double>(rss);
  out.residuals.assign(e.begin(), e.end());
  double sigma = 0.0;
  core::NORMALLOGLIK(d.n, k, out.rss, sigma, out.loglik);
  // (U'U)⁻¹ = U⁻¹U⁻ᵀ with U upper triangular, U⁻¹ built column by column.
  std::vector<long double> inv(at(k) * at(k), 0.0L);  // U⁻¹, row-major, upper
  for (int j = 0; j < k; ++j) {
    inv[at(j * k + j)] = 1.0L / u(j, j);
    for (int i = j - 1; i >= 0; --i) {
      long double s = 0.0L;
      for (int c = i + 1; c <= j; ++c) s += u(i, c) * inv[at(c * k + j)];
      inv[at(i * k + j)] = -s / u(i, i);
    }
  }
  const long double s2 = rss / (d.n - k);
  out.variance.assign(at(k) * at(k), 0.0);
  for (int i = 0; i < k; ++i)
    for (int j = i; j < k; ++j) {
      long double s = 0.0L;
      for (int c = j; c < k; ++c) s += inv[at(i * k + c)] * inv[at(j * k + c)];
      out.variance[at(i * k + j)] = out.variance[at(j * k + i)] = static_cast<double>(s * s2);
    }
  return out;
}

}  // namespace qorv::single
