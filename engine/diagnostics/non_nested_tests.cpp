#include "engine/diagnostics/non_nested_tests.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "engine/core/likelihoods.h"
#include "engine/core/num/matrices.h"
#include "engine/core/square_guard.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;

/// A squared norm below this fraction of the squared norm it came from is rounding: the
/// projected vector lies in the other model's column space.
constexpr double kNegligible = 1e-14;

/// True when a vector of squared norm `whole` keeps only `rest` after regression on a
/// model's regressors: it lies in that model's column space.
bool lies_in_columns(double rest, double whole) { return !(rest > kNegligible * whole); }

/// The columns of the three models laid out for the packed least-squares kernel: column 1
/// the dependent variable, then the union of the regressors, n rows each.
struct Layout {
  int n = 0;
  std::vector<double> data;
  std::vector<int> list1, list2, list12;  ///< dependent column first, as the kernel reads them
};

long double dot(std::span<const double> a, std::span<const double> b) {
  long double s = 0.0L;
  for (std::size_t t = 0; t < a.size(); ++t) s += static_cast<long double>(a[t]) * b[t];
  return s;
}

double squared_norm(std::span<const double> a) { return static_cast<double>(dot(a, a)); }

/// A fit with the inverse of its X'X kept for further dependent columns.
struct Regression {
  std::span<const int> list;
  int k = 0;
  std::vector<double> inverse;  ///< packed (X'X)⁻¹
  NonNestedFit fit;
};

/// Least squares of `y` on the regressors of `list` (writes fitted values, residuals and
/// RSS into `into`). With `reuse` the inverse in `r` serves. False on a singular X'X.
bool solve(const Layout& layout, Regression& r, std::span<const double> y, bool reuse, NonNestedFit& into) {
  const int n = layout.n, k = r.k;
  std::vector<double> b(static_cast<std::size_t>(k));
  into.fitted.assign(static_cast<std::size_t>(n), 0.0);
  std::vector<double> work(static_cast<std::size_t>(std::max(n, k)));
  int fail = 0;
  core::PACKEDXTXSOLVE(layout.data, 0, y, r.list, k, n, n, 0, reuse ? core::kSolveReuseInverse : 0, b, into.fitted,
                       work, into.rss, r.inverse, fail);
  if (fail != 0) return false;
  work.resize(static_cast<std::size_t>(n));
  into.residuals = std::move(work);
  into.k = k;
  return true;
}

bool estimate(const Layout& layout, Regression& r) {
  r.k = static_cast<int>(r.list.size()) - 1;
  r.inverse.assign(static_cast<std::size_t>(r.k) * (r.k + 1) / 2, 0.0);
  const std::span<const double> y(layout.data.data(), static_cast<std::size_t>(layout.n));
  if (!solve(layout, r, y, false, r.fit)) return false;
  double sigma = 0.0;
  core::NORMALLOGLIK(layout.n, r.k, r.fit.rss, sigma, r.fit.loglik);
  return true;
}

/// The regression of `z` on r's regressors through r's inverse.
NonNestedFit project(const Layout& layout, Regression& r, std::span<const double> z) {
  NonNestedFit out;
  if (!solve(layout, r, z, true, out)) throw std::logic_error("a kept inverse failed");
  return out;
}

/// Unpacks a packed symmetric matrix of order k into a full column-major one.
std::vector<double> unpack(std::span<const double> packed, int k) {
  std::vector<double> full(static_cast<std::size_t>(k) * k);
  for (int i = 1; i <= k; ++i)
    for (int j = 1; j <= k; ++j)
      full[static_cast<std::size_t>((j - 1) * k + i - 1)] = packed[static_cast<std::size_t>(core::PACKEDINDEX(i, j) - 1)];
  return full;
}

/// tr(Pa·Pb) and tr(Pa·Pb·Pa·Pb) from H = (Xa'Xa)⁻¹·Xa'Xb·(Xb'Xb)⁻¹·Xb'Xa, whose trace and
/// trace of its square they are.
std::array<double, 2> projection_traces(const Layout& layout, const Regression& a, const Regression& b) {
  const int n = layout.n, ka = a.k, kb = b.k;
  const auto column = [&](int v) { return layout.data.data() + static_cast<std::size_t>(v - 1) * n; };
  std::vector<const double*> left, right;
  for (int j = 1; j <= ka; ++j) left.push_back(column(a.list[static_cast<std::size_t>(j)]));
  for (int j = 1; j <= kb; ++j) right.push_back(column(b.list[static_cast<std::size_t>(j)]));
  std::vector<double> c(static_cast<std::size_t>(ka) * kb);  // Xa'Xb, ka × kb
  core::cross_products(left, right, static_cast<std::size_t>(n), c);
  const std::vector<double> ia = unpack(a.inverse, ka), ib = unpack(b.inverse, kb);
  const auto at = [](const std::vector<double>& m, int rows, int i, int j) { return m[static_cast<std::size_t>(j * rows + i)]; };
  // G = C·Ib (ka × kb), then H = Ia·G·C' (ka × ka).
  std::vector<double> g(static_cast<std::size_t>(ka) * kb), gc(static_cast<std::size_t>(ka) * ka), h(gc.size());
  for (int i = 0; i < ka; ++i)
    for (int j = 0; j < kb; ++j) {
      long double s = 0.0L;
      for (int l = 0; l < kb; ++l) s += static_cast<long double>(at(c, ka, i, l)) * at(ib, kb, l, j);
      g[static_cast<std::size_t>(j * ka + i)] = static_cast<double>(s);
    }
  for (int i = 0; i < ka; ++i)
    for (int j = 0; j < ka; ++j) {
      long double s = 0.0L;
      for (int l = 0; l < kb; ++l) s += static_cast<long double>(at(g, ka, i, l)) * at(c, ka, j, l);
      gc[static_cast<std::size_t>(j * ka + i)] = static_cast<double>(s);
    }
  for (int i = 0; i < ka; ++i)
    for (int j = 0; j < ka; ++j) {
      long double s = 0.0L;
      for (int l = 0; l < ka; ++l) s += static_cast<long double>(at(ia, ka, i, l)) * at(gc, ka, l, j);
      h[static_cast<std::size_t>(j * ka + i)] = static_cast<double>(s);
    }
  long double trace = 0.0L, trace_square = 0.0L;
  for (int i = 0; i < ka; ++i) {
    trace += at(h, ka, i, i);
    for (int j = 0; j < ka; ++j) trace_square += static_cast<long double>(at(h, ka, i, j)) * at(h, ka, j, i);
  }
  return {static_cast<double>(trace), static_cast<double>(trace_square)};
}

/// True when model a nests model b: every regressor of b lies in a's column space.
bool nests(const Layout& layout, Regression& a, const Regression& b) {
  const auto n = static_cast<std::size_t>(layout.n);
  for (std::size_t j = 1; j < b.list.size(); ++j) {
    const int v = b.list[j];
    if (std::find(a.list.begin() + 1, a.list.end(), v) != a.list.end()) continue;
    const std::span<const double> column(layout.data.data() + static_cast<std::size_t>(v - 1) * n, n);
    if (!lies_in_columns(project(layout, a, column).rss, squared_norm(column))) return false;
  }
  return true;
}

/// w·sqrt((n − k − 1)/(RSS·S − w²)) for the t-ratio of `z` added to model a; missing when
/// z lies in a's column space or the ratio is not positive and finite.
double added_t_ratio(const Layout& layout, Regression& a, std::span<const double> z) {
  const NonNestedFit rest = project(layout, a, z);
  return added_column_t_ratio(static_cast<double>(dot(a.fit.residuals, z)), a.fit.rss, rest.rss, squared_norm(z),
                              layout.n - a.k - 1);
}

/// The statistics of model a against model b (see the header for the formulas).
struct OneWay {
  double n_test = kMissing, nt_test = kMissing, w_test = kMissing, j_test = kMissing, ja_test = kMissing;
};

double ratio(double numerator, double variance) {
  if (!(variance > 0.0) || !std::isfinite(numerator)) return kMissing;
  return core::finite_or_missing(numerator / std::sqrt(variance));
}

OneWay one_way(const Layout& layout, Regression& a, Regression& b, const std::array<double, 2>& traces) {
  OneWay r;
  const double n = layout.n, ka = a.k, kb = b.k;
  const std::vector<double>& ya = a.fit.fitted;
  r.j_test = added_t_ratio(layout, a, b.fit.fitted);
  const NonNestedFit on_b = project(layout, b, ya);  // Pb·ŷa and Mb·ŷa
  const double ja = added_t_ratio(layout, a, on_b.fitted);
  r.ja_test = ja == kMissing ? kMissing : -ja;
  const double d = on_b.rss;
  double e = project(layout, a, on_b.residuals).rss;  // ‖Ma·Mb·ŷa‖²
  // N: variances over n. Its variance is E alone, which vanishes when one model nests the other.
  if (!lies_in_columns(e, squared_norm(ya))) {
    const double va = a.fit.rss / n, vb = b.fit.rss / n, vba = va + d / n;
    r.n_test = ratio((n / 2.0) * std::log(vb / vba), va * e / (vba * vba));
  } else {
    e = 0.0;
  }
  // NT and W: variances over the degrees of freedom. When a nests b, sb² − sba² and its
  // variance are both exactly zero, and what the formulas give is rounding.
  if (n - ka < 1 || n - kb < 1 || nests(layout, a, b)) return r;
  const double tr_mm = n - ka - kb + traces[0], tr_mm2 = n - ka - kb + traces[1];
  const double sa = a.fit.rss / (n - ka), sb = b.fit.rss / (n - kb);
  const double sba = (sa * tr_mm + d) / (n - kb);
  const double tau = std::max(0.0, tr_mm2 - tr_mm * tr_mm / (n - ka));
  r.nt_test = ratio(((n - kb) / 2.0) * std::log(sb / sba), (sa / (sba * sba)) * (e + sa * tau / 2.0));
  r.w_test = ratio((n - kb) * (sb - sba), 2.0 * sa * sa * tau + 4.0 * sa * e);
  return r;
}

/// ((RSSr − RSS12)/k*) / (RSS12/(n − k12)); missing with no numerator degrees of freedom.
double encompassing_f(double rss_r, double rss12, int k_only, int df) {
  if (k_only < 1 || df < 1 || !(rss12 > 0.0)) return kMissing;
  const double f = ((rss_r - rss12) / k_only) / (rss12 / df);
  return f < 0.0 ? kMissing : core::finite_or_missing(f);
}

}  // namespace

double added_column_t_ratio(double w, double rss, double s, double zz, int df) {
  const double denominator = rss * s - w * w;
  if (lies_in_columns(s, zz) || !(denominator > 0.0) || df < 1) return kMissing;
  return core::finite_or_missing(w * std::sqrt(df / denominator));
}

NonNestedStatistics NONNESTEDSTATS(std::span<const double> y, std::span<const std::vector<double>> columns,
                                   std::span<const int> x1, std::span<const int> x2) {
  NonNestedStatistics s;
  const int n = static_cast<int>(y.size());
  if (x1.empty() || x2.empty()) throw std::invalid_argument("NONNESTEDSTATS: an empty regressor list");
  for (const std::span<const int> list : {x1, x2})
    for (const int c : list)
      if (c < 0 || static_cast<std::size_t>(c) >= columns.size() || columns[static_cast<std::size_t>(c)].size() != y.size())
        throw std::invalid_argument("NONNESTEDSTATS: a regressor column outside the columns given");
  s.n = n;
  // The union: M1's regressors, then M2's that M1 lacks.
  std::vector<int> both(x1.begin(), x1.end());
  const auto in = [](std::span<const int> list, int c) { return std::find(list.begin(), list.end(), c) != list.end(); };
  for (const int c : x2)
    if (!in(both, c)) both.push_back(c);
  s.k12 = static_cast<int>(both.size());
  if (s.k12 > limits::kMaxRegressors) {
    s.refusal = NonNestedRefusal::kTooManyRegressors;
    return s;
  }
  s.k_only[0] = s.k12 - static_cast<int>(x1.size());
  int shared = 0;
  for (const int c : x1) shared += in(x2, c) ? 1 : 0;
  s.k_only[1] = static_cast<int>(x1.size()) - shared;
  if (s.k_only[0] == 0 && s.k_only[1] == 0) {
    s.refusal = NonNestedRefusal::kSameModels;
    return s;
  }
  if (n - s.k12 < 1) {
    s.refusal = NonNestedRefusal::kTooFewObservations;
    return s;
  }

  Layout layout;
  layout.n = n;
  layout.data.assign(y.begin(), y.end());
  for (const int c : both) {
    const std::vector<double>& column = columns[static_cast<std::size_t>(c)];
    layout.data.insert(layout.data.end(), column.begin(), column.end());
  }
  const auto position = [&](int c) { return static_cast<int>(std::find(both.begin(), both.end(), c) - both.begin()) + 2; };
  for (auto [list, regressors] : {std::pair{&layout.list1, x1}, std::pair{&layout.list2, x2}}) {
    list->push_back(1);
    for (const int c : regressors) list->push_back(position(c));
  }
  layout.list12.push_back(1);
  for (std::size_t j = 0; j < both.size(); ++j) layout.list12.push_back(static_cast<int>(j) + 2);

  Regression r1, r2, r12;
  r1.list = layout.list1;
  r2.list = layout.list2;
  r12.list = layout.list12;
  if (!estimate(layout, r1) || !estimate(layout, r2) || !estimate(layout, r12)) {
    s.refusal = NonNestedRefusal::kSingular;
    return s;
  }
  double gap = 0.0;
  for (int t = 0; t < n; ++t) {
    const double d = r1.fit.fitted[static_cast<std::size_t>(t)] - r2.fit.fitted[static_cast<std::size_t>(t)];
    gap += d * d;
  }
  if (!(gap > kNegligible * squared_norm(r1.fit.fitted))) {
    s.refusal = NonNestedRefusal::kSameFit;
    return s;
  }
  const std::array<double, 2> traces = projection_traces(layout, r1, r2);
  const OneWay forward = one_way(layout, r1, r2, traces), backward = one_way(layout, r2, r1, traces);
  s.n_test = {forward.n_test, backward.n_test};
  s.nt_test = {forward.nt_test, backward.nt_test};
  s.w_test = {forward.w_test, backward.w_test};
  s.j_test = {forward.j_test, backward.j_test};
  s.ja_test = {forward.ja_test, backward.ja_test};
  const int df = n - s.k12;
  s.f_test = {encompassing_f(r1.fit.rss, r12.fit.rss, s.k_only[0], df),
              encompassing_f(r2.fit.rss, r12.fit.rss, s.k_only[1], df)};
  const double ll1 = r1.fit.loglik, ll2 = r2.fit.loglik;
  if (ll1 == kMissing || ll2 == kMissing) {
    s.akaike = s.schwarz = kMissing;
  } else {
    s.akaike = (ll1 - r1.k) - (ll2 - r2.k);
    s.schwarz = (ll1 - ll2) - ((r1.k - r2.k) / 2.0) * std::log(static_cast<double>(n));
  }
  s.m1 = std::move(r1.fit);
  s.m2 = std::move(r2.fit);
  s.m12 = std::move(r12.fit);
  return s;
}

}  // namespace qorv::diagnostics
