#include "engine/single/ardl_forms.h"

#include <cmath>
#include <stdexcept>

namespace qorv::single {

namespace {

size_t at(long i) { return static_cast<size_t>(i); }

/// Column of the coefficient of ARDL variable `variable` at `lag` (lag ≥ 1 for the
/// dependent variable), of deterministic variable j with `variable` = −1 − j.
struct Columns {
  const ArdlLayout& layout;
  int of(int variable, int lag) const {
    int c = layout.orders[0];
    if (variable == 0) return lag - 1;
    for (int i = 1; i < variable; ++i) c += layout.orders[at(i)] + 1;
    return c + lag;
  }
  int deterministic(int j) const { return layout.coefficients() - layout.deterministic + j; }
};

void check(const ArdlLayout& layout, std::span<const double> b, std::span<const double> v) {
  if (layout.orders.empty()) throw std::invalid_argument("ARDL layout without variables");
  const size_t k = at(layout.coefficients());
  if (b.size() != k || v.size() != k * k) throw std::invalid_argument("ARDL coefficients do not fit the layout");
}

/// A·b + c and A·V·A' for a matrix A of m rows over k coefficients.
void transform(std::span<const double> a, int m, int k, std::span<const double> b, std::span<const double> v,
               std::vector<double>& coef, std::vector<double>& var) {
  coef.assign(at(m), 0.0);
  var.assign(at(m) * at(m), 0.0);
  std::vector<long double> av(at(m) * at(k), 0.0L);  // A·V
  for (int i = 0; i < m; ++i) {
    long double s = 0.0L;
    for (int j = 0; j < k; ++j) {
      const double aij = a[at(i * k + j)];
      if (aij == 0.0) continue;
      s += static_cast<long double>(aij) * b[at(j)];
      for (int c = 0; c < k; ++c) av[at(i * k + c)] += static_cast<long double>(aij) * v[at(j * k + c)];
    }
    coef[at(i)] = static_cast<double>(s);
  }
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < m; ++j) {
      long double s = 0.0L;
      for (int c = 0; c < k; ++c) s += av[at(i * k + c)] * a[at(j * k + c)];
      var[at(i * m + j)] = static_cast<double>(s);
    }
}

}  // namespace

int ArdlLayout::coefficients() const {
  if (orders.empty()) return deterministic;
  int k = orders[0] + deterministic;
  for (size_t i = 1; i < orders.size(); ++i) k += orders[i] + 1;
  return k;
}

LongRun ardl_long_run(const ArdlLayout& layout, std::span<const double> b, std::span<const double> v) {
  check(layout, b, v);
  const Columns col{layout};
  const int k = layout.coefficients();
  const int K = static_cast<int>(layout.orders.size());
  long double phi = 0.0L;
  for (int lag = 1; lag <= layout.orders[0]; ++lag) phi += b[at(col.of(0, lag))];
  LongRun out;
  const long double denominator = 1.0L - phi;
  if (!(std::fabs(denominator) >= kLongRunTolerance)) {
    out.refused = true;
    return out;
  }
  out.multiplier = static_cast<double>(1.0L / denominator);
  // θ_i = Σ_j β_ij / (1 − Σφ); its gradient is 1/(1 − Σφ) on β_i's columns and
  // θ_i/(1 − Σφ) on every φ column.
  const int m = K - 1 + layout.deterministic;
  std::vector<double> g(at(m) * at(k), 0.0);
  out.theta.assign(at(m), 0.0);
  for (int r = 0; r < m; ++r) {
    long double sum = 0.0L;
    if (r < K - 1) {
      for (int lag = 0; lag <= layout.orders[at(r + 1)]; ++lag) {
        const int c = col.of(r + 1, lag);
        sum += b[at(c)];
        g[at(r * k + c)] = out.multiplier;
      }
    } else {
      const int c = col.deterministic(r - (K - 1));
      sum = b[at(c)];
      g[at(r * k + c)] = out.multiplier;
    }
    const long double theta = sum / denominator;
    out.theta[at(r)] = static_cast<double>(theta);
    for (int lag = 1; lag <= layout.orders[0]; ++lag) g[at(r * k + col.of(0, lag))] = static_cast<double>(theta / denominator);
  }
  std::vector<double> unused;
  transform(g, m, k, b, v, unused, out.variance);
  return out;
}

EcmForm ecm_terms(const ArdlLayout& layout) {
  if (layout.orders.empty()) throw std::invalid_argument("ARDL layout without variables");
  const Columns col{layout};
  const int k = layout.coefficients();
  const int K = static_cast<int>(layout.orders.size());
  EcmForm out;
  std::vector<std::vector<double>> rows;
  const auto row = [&](EcmTerm term) {
    out.terms.push_back(term);
    rows.emplace_back(at(k), 0.0);
    return &rows.back();
  };
  for (int i = 1; i < K; ++i) (*row({EcmTerm::kDifference, i, 0}))[at(col.of(i, 0))] = 1.0;
  for (int i = 0; i < K; ++i) {
    const int q = layout.orders[at(i)];
    for (int j = 1; j < q; ++j) {
      auto* r = row({EcmTerm::kLaggedDifference, i, j});
      for (int lag = j + 1; lag <= q; ++lag) (*r)[at(col.of(i, lag))] = -1.0;
    }
  }
  for (int j = 0; j < layout.deterministic; ++j) (*row({EcmTerm::kDeterministic, j, 0}))[at(col.deterministic(j))] = 1.0;
  auto* r = row({EcmTerm::kCorrection, 0, 1});
  for (int lag = 1; lag <= layout.orders[0]; ++lag) (*r)[at(col.of(0, lag))] = 1.0;
  for (const auto& each : rows) out.a.insert(out.a.end(), each.begin(), each.end());
  return out;
}

EcmForm ardl_ecm(const ArdlLayout& layout, std::span<const double> b, std::span<const double> v) {
  check(layout, b, v);
  EcmForm out = ecm_terms(layout);
  const int m = static_cast<int>(out.terms.size());
  transform(out.a, m, layout.coefficients(), b, v, out.coef, out.variance);
  out.coef.back() -= 1.0;  // ecm(−1): Σφ − 1
  return out;
}

}  // namespace qorv::single
