#include "engine/single/recursive_rolling.h"

#include <cmath>
#include <stdexcept>

#include "engine/core/num/cross_products.h"
#include "engine/single/growing_least_squares.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

size_t at(int i) { return static_cast<size_t>(i); }

void check(const EquationData& eq) {
  if (eq.n < 0 || eq.k < 1 || eq.l < 0 || eq.x.size() != at(eq.n) * at(eq.k) ||
      eq.z.size() != at(eq.n) * at(eq.l) || eq.y.size() != at(eq.n))
    throw std::invalid_argument("EquationData: shape does not fit n, k and l");
}

/// Observation t (0-based) of an n × c column-major matrix.
void row_of(std::span<const double> m, int n, int c, int t, std::vector<double>& out) {
  out.resize(at(c));
  for (int j = 0; j < c; ++j) out[at(j)] = m[at(j) * at(n) + at(t)];
}

}  // namespace

RecursiveSeries recursive_estimates(const EquationData& eq, bool standard_errors) {
  check(eq);
  const int n = eq.n, k = eq.k;
  RecursiveSeries r;
  r.k = k;
  r.coef.assign(at(n) * at(k), limits::kMissing);
  r.coef_se.assign(at(n) * at(k), limits::kMissing);
  r.s2.assign(at(n), limits::kMissing);
  r.resid.assign(at(n), limits::kMissing);
  r.pred.assign(at(n), limits::kMissing);
  GrowingCrossProducts cp(k, eq.l);
  std::vector<double> x, z;
  StepEstimate last;
  for (int t = 1; t <= n; ++t) {
    row_of(eq.x, n, k, t - 1, x);
    row_of(eq.z, n, eq.l, t - 1, z);
    const double y = eq.y[at(t - 1)];
    if (r.m > 0 && last.fail == 0) {
      const long double p = last.predict(x);
      r.pred[at(t - 1)] = static_cast<double>(p);
      r.resid[at(t - 1)] = static_cast<double>((y - p) / std::sqrt(1.0L + last.variance_factor(x)));
    }
    cp.add(x, z, y);
    if (t < k + 1 || (r.m == 0 && t >= n)) continue;
    StepEstimate step = solve(cp, standard_errors && r.m > 0);
    if (step.fail != 0) continue;
    if (r.m == 0) r.m = t;
    const double s2 = step.rss / (t - k);
    r.s2[at(t - 1)] = s2;
    for (int j = 0; j < k; ++j) {
      r.coef[at(j) * at(n) + at(t - 1)] = step.b[at(j)];
      if (!step.inverse_diag.empty())
        r.coef_se[at(j) * at(n) + at(t - 1)] = std::sqrt(s2 * step.inverse_diag[at(j)]);
    }
    last = std::move(step);
  }
  if (r.m == 0) {
    r = RecursiveSeries{};
    r.k = k;
  }
  return r;
}

RollingSeries rolling_estimates(const EquationData& eq, int h) {
  check(eq);
  const int n = eq.n, k = eq.k;
  RollingSeries out;
  out.h = h;
  out.k = k;
  if (h < 1 || h > n) return out;
  const int windows = n - h + 1;
  out.windows = windows;
  out.coef.assign(at(windows) * at(k), limits::kMissing);
  out.se.assign(at(windows) * at(k), limits::kMissing);
  out.sigma.assign(at(windows), limits::kMissing);
  if (h <= k) return out;
  // Each window's cross products of [Z | X | y] by the engine's kernel, from the columns in place.
  GrowingCrossProducts cp(k, eq.l);
  const int p = eq.l + k + 1;
  std::vector<const double*> columns(at(p));
  std::vector<double> packed(at(p) * at(p + 1) / 2);
  for (int w = 0; w < windows; ++w) {
    for (int i = 0; i < eq.l; ++i) columns[at(i)] = eq.z.data() + at(i) * at(n) + at(w);
    for (int j = 0; j < k; ++j) columns[at(eq.l + j)] = eq.x.data() + at(j) * at(n) + at(w);
    columns[at(p - 1)] = eq.y.data() + at(w);
    core::symmetric_cross_products(columns, at(h), packed);
    cp.assign_packed(packed, h);
    const StepEstimate step = solve(cp, true);
    if (step.fail != 0) continue;
    const double s = std::sqrt(step.rss / (h - k));
    out.sigma[at(w)] = s;
    for (int j = 0; j < k; ++j) {
      out.coef[at(j) * at(windows) + at(w)] = step.b[at(j)];
      out.se[at(j) * at(windows) + at(w)] = s * std::sqrt(step.inverse_diag[at(j)]);
    }
  }
  return out;
}

std::vector<double> recursive_predictions(const RecursiveSeries& r, std::span<const double> v) {
  const size_t n = r.s2.size();
  const int k = r.k;
  if (v.size() != n * at(k)) throw std::invalid_argument("recursive_predictions: v must be n × k");
  std::vector<double> out(n, limits::kMissing);
  for (size_t t = 1; t < n; ++t) {
    if (r.m == 0 || t < at(r.m)) continue;
    long double s = 0.0L;
    bool known = true;
    for (int j = 0; j < k && known; ++j) {
      const double b = r.coef[at(j) * n + t - 1];
      known = b != limits::kMissing;
      s += static_cast<long double>(v[at(j) * n + t]) * b;
    }
    if (known) out[t] = static_cast<double>(s);
  }
  return out;
}

}  // namespace qorv::single
