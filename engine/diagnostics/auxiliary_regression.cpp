#include "engine/diagnostics/auxiliary_regression.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <span>

#include "engine/core/num/matrices.h"
#include "engine/core/square_guard.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

using single::estimation;
namespace method = single::method;
namespace block = single::block;

size_t at(int i) { return static_cast<size_t>(i); }

/// The list 0, 1, ..., k of a column-major matrix read as data columns.
std::vector<int> identity_list(int k) {
  std::vector<int> list(at(k) + 1);
  for (int j = 0; j <= k; ++j) list[at(j)] = j;
  return list;
}

/// Whether the estimate's sample lies inside the data set.
bool sample_fits(int n) {
  const auto& g = core::globals();
  return n >= 1 && n <= block::kMaxSeries && g.sample_start >= 1 && g.sample_start - 1 + n <= g.nobs;
}

/// Replaces each of the k columns of `x` (n × k) by its projection on the instruments of
/// the current estimate; false when the instruments' cross products are singular.
bool project_on_instruments(std::vector<double>& x, int n, int k) {
  const auto& s = estimation();
  const auto& g = core::globals();
  const int l = s.ninstr;
  if (l < 1 || s.instrlist.size() != at(l)) return false;
  for (int v : s.instrlist)
    if (v < 1 || v > g.nvars) return false;
  std::vector<int> list(at(l) + 1, 0);
  std::copy(s.instrlist.begin(), s.instrlist.end(), list.begin() + 1);
  std::vector<double> b(at(l)), fit(at(n)), work(at(std::max(l, n))), m(at(l) * at(l + 1) / 2);
  double rss = 0.0;
  int fail = 0;
  for (int j = 0; j < k; ++j) {
    const std::span<const double> column(x.data() + static_cast<long>(j) * n, at(n));
    core::PACKEDXTXSOLVE(core::work_array(), g.sample_start - 1, column, list, l, n, g.nobs, 0,
                         j == 0 ? 0 : core::kSolveReuseInverse, b, fit, work, rss, m, fail);
    if (fail != 0) return false;
    std::copy(fit.begin(), fit.end(), x.begin() + static_cast<long>(j) * n);
  }
  return true;
}

/// The fitted values the residual tests use: x̂'b for the IV methods (the actual value
/// less the generalised residual), the estimate's fitted values otherwise.
std::vector<double> test_fitted_values() {
  const auto& s = estimation();
  const int n = s.nused;
  std::vector<double> f(at(n));
  const bool iv = single::method_row(s.method).iv_tests;
  for (int t = 1; t <= n; ++t)
    f[at(t - 1)] = iv ? s.result[at(block::kActual + t - 1)] - s.result[at(block::kGeneralisedResiduals + t - 1)]
                      : s.result[at(block::kFitted + t - 1)];
  return f;
}

/// The regressor matrix as PACKEDXTXSOLVE reads it: an OLS estimate's own data columns in
/// the work array, otherwise a copy from regressor_matrix().
struct RegressorView {
  bool in_place = false;
  RegressorMatrix copy;
  std::vector<int> list;  ///< variable numbers, the dependent variable's place first
  int ld = 0;
  long offset = 0;
  int n = 0, k = 0;
  std::span<const double> data() const { return in_place ? std::span<const double>(core::work_array()) : copy.x; }
};

RegressorView regressor_view() {
  const auto& s = estimation();
  const auto& g = core::globals();
  RegressorView v;
  const auto known = [&](int var) { return var >= 1 && var <= g.nvars; };
  if (s.method == method::kOls && sample_fits(s.nused) && s.nregs >= 1 && s.eqvarlist.size() == at(s.nregs) + 1 &&
      std::all_of(s.eqvarlist.begin(), s.eqvarlist.end(), known)) {
    v.in_place = true;
    v.list = s.eqvarlist;
    v.ld = g.nobs;
    v.offset = g.sample_start - 1;
    v.n = s.nused;
    v.k = s.nregs;
    return v;
  }
  v.copy = regressor_matrix();
  v.list = identity_list(v.copy.k);
  v.ld = v.n = v.copy.n;
  v.k = v.copy.k;
  return v;
}

}  // namespace

bool holds_cross_inverse(int k) {
  const auto& s = estimation();
  return (s.method == method::kOls || s.method == method::kIv) && s.scale == single::VarianceScale::kScaled &&
         s.variance.size() == at(k) * at(k + 1) / 2;
}

RegressorMatrix regressor_matrix() {
  const auto& s = estimation();
  RegressorMatrix r;
  const int n = s.nused;
  if (!sample_fits(n) || s.result.size() != at(block::kSize)) return r;
  try {
    if (single::method_row(s.method).family == single::Family::kNonLinear) {
      if (s.jacobian.empty() || s.jacobian.size() % at(n) != 0) return r;
      r.k = static_cast<int>(s.jacobian.size() / at(n));
      r.x = s.jacobian;
    } else {
      const int k = s.nregs;
      const auto& g = core::globals();
      if (k < 1 || s.eqvarlist.size() != at(k) + 1) return r;
      r.x.resize(at(n) * at(k));
      for (int j = 1; j <= k; ++j) {
        const int v = s.eqvarlist[at(j)];
        if (v < 1 || v > g.nvars) return RegressorMatrix{};
        for (int t = 1; t <= n; ++t)
          r.x[at((j - 1) * n + t - 1)] = core::data_at(g.sample_start - 1 + t, v);
      }
      r.k = k;
    }
    r.n = n;
    const bool instrumented = single::method_row(s.method).iv_tests;
    if (instrumented && !project_on_instruments(r.x, n, r.k)) return RegressorMatrix{};
  } catch (const std::bad_alloc&) {
    return RegressorMatrix{};
  }
  return r;
}

AuxiliaryRegression auxiliary_regression(int mode, int p) {
  AuxiliaryRegression a;
  const auto& s = estimation();
  if (mode == kFunctionalForm) p = 1;
  if (p < 1 || (mode != kSerialCorrelation && mode != kFunctionalForm)) return a;
  if (!(s.rss > 0.0) || s.rss == limits::kMissing) return a;
  try {
    const RegressorView x = regressor_view();
    if (x.k < 1 || x.n != s.nused) return a;
    const int n = x.n, k = x.k;
    const auto e = std::span<const double>(s.result).subspan(at(block::kResiduals), at(n));
    // The added columns.
    std::vector<double> z(at(n) * at(p), 0.0);
    if (mode == kSerialCorrelation) {
      for (int j = 1; j <= p; ++j)
        for (int t = j + 1; t <= n; ++t) z[at((j - 1) * n + t - 1)] = e[at(t - j - 1)];
    } else {
      const auto f = test_fitted_values();
      for (int t = 0; t < n; ++t) z[at(t)] = f[at(t)] * f[at(t)];
    }
    // Columns whose squares overflow give no statistic, not a false singularity.
    if (core::first_unsquarable(x.data(), x.offset, x.list, 1, k, n, x.ld) >= 0 || !core::squares_finite(z))
      return a;
    // Each added column with its projection on X taken out: Z̃ = MZ, and Γ = (X'X)⁻¹X'Z.
    // (X'X)⁻¹ is the estimate's own where it holds it, so only X'Z is formed here. The
    // statistic hangs on Z̃'e and Z̃'Z̃ alone, in which an error of Γ enters only through
    // X's part of Z̃ (orthogonal to e and to Z̃): the sums X'Z need not be extended.
    std::vector<double> own, gamma(at(k) * at(p)), fit(at(n)), work(at(std::max(k, n)));
    const bool reuse = holds_cross_inverse(k);
    if (!reuse) {
      own.resize(at(k) * at(k + 1) / 2);
      double rss = 0.0;
      int fail = 0;
      core::PACKEDXTXSOLVE(x.data(), x.offset, {}, x.list, k, n, x.ld, 0, core::kSolveInverseOnly, {}, {}, {}, rss,
                           own, fail);
      if (fail != 0) return a;
    }
    const std::vector<double>& m = reuse ? s.variance : own;
    std::vector<double> zt(at(n) * at(p));
    for (int j = 0; j < p; ++j) {
      int fail = 0;
      const std::span<const double> column(z.data() + static_cast<long>(j) * n, at(n));
      core::regress_with_inverse(x.data(), x.offset, column, x.list, k, n, x.ld, m,
                                 std::span<double>(gamma).subspan(at(j * k), at(k)), fit, work, fail);
      if (fail != 0) return a;
      std::copy(work.begin(), work.begin() + n, zt.begin() + static_cast<long>(j) * n);
    }
    // A = (Z̃'Z̃)⁻¹ and g = Z̃'e.
    std::vector<double> inv_a(at(p) * at(p + 1) / 2), g(at(p));
    for (int i = 1; i <= p; ++i) {
      const double* zi = zt.data() + static_cast<long>(i - 1) * n;
      long double ge = 0.0L;
      for (int t = 0; t < n; ++t) ge += static_cast<long double>(zi[t]) * e[at(t)];
      g[at(i - 1)] = static_cast<double>(ge);
      for (int j = 1; j <= i; ++j) {
        const double* zj = zt.data() + static_cast<long>(j - 1) * n;
        long double sum = 0.0L;
        for (int t = 0; t < n; ++t) sum += static_cast<long double>(zi[t]) * zj[t];
        inv_a[at(core::PACKEDINDEX(i, j) - 1)] = static_cast<double>(sum);
      }
    }
    int fail = 0;
    core::INVERTSYMPACKED(inv_a, p, fail);
    if (fail != 0) return a;
    const auto A = [&](int i, int j) { return inv_a[at(core::PACKEDINDEX(i, j) - 1)]; };
    // The partitioned matrix is singular when an added column is (nearly) a combination of
    // the others: its pivot, 1/A(j, j), is below 1e-11 of its diagonal Z_j'Z_j.
    for (int j = 1; j <= p; ++j) {
      const double* zj = z.data() + static_cast<long>(j - 1) * n;
      long double zz = 0.0L;
      for (int t = 0; t < n; ++t) zz += static_cast<long double>(zj[t]) * zj[t];
      if (!(A(j, j) > 0.0) || A(j, j) * zz > 1.0L / core::kPivotRatio) return a;
    }
    // c_Z = A·g, g'Ag.
    std::vector<double> cz(at(p));
    long double explained = 0.0L;
    for (int i = 1; i <= p; ++i) {
      long double sum = 0.0L;
      for (int j = 1; j <= p; ++j) sum += static_cast<long double>(A(i, j)) * g[at(j - 1)];
      cz[at(i - 1)] = static_cast<double>(sum);
      explained += sum * g[at(i - 1)];
    }
    a.explained = static_cast<double>(explained);
    a.lm = n * a.explained / s.rss;
    // The whole regression: X part b − Γ·c_Z; inverse blocks M + ΓAΓ', −ΓA and A.
    const auto G = [&](int r, int j) { return gamma[at((j - 1) * k + r - 1)]; };  // r-th coefficient of column j
    std::vector<double> ga(at(k) * at(p));  // (ΓA)(r, j)
    for (int r = 1; r <= k; ++r)
      for (int j = 1; j <= p; ++j) {
        long double sum = 0.0L;
        for (int i = 1; i <= p; ++i) sum += static_cast<long double>(G(r, i)) * A(i, j);
        ga[at((j - 1) * k + r - 1)] = static_cast<double>(sum);
      }
    a.k = k;
    a.p = p;
    a.coef.resize(at(k + p));
    for (int r = 1; r <= k; ++r) {
      long double sum = 0.0L;
      for (int j = 1; j <= p; ++j) sum += static_cast<long double>(G(r, j)) * cz[at(j - 1)];
      a.coef[at(r - 1)] = static_cast<double>(s.result[at(block::kCoefficients + r - 1)] - sum);
    }
    for (int j = 1; j <= p; ++j) a.coef[at(k + j - 1)] = cz[at(j - 1)];
    const int q = k + p;
    a.inverse.assign(at(q) * at(q + 1) / 2, 0.0);
    for (int r = 1; r <= k; ++r)
      for (int c = 1; c <= r; ++c) {
        long double sum = m[at(core::PACKEDINDEX(r, c) - 1)];
        for (int j = 1; j <= p; ++j) sum += static_cast<long double>(ga[at((j - 1) * k + r - 1)]) * G(c, j);
        a.inverse[at(core::PACKEDINDEX(r, c) - 1)] = static_cast<double>(sum);
      }
    for (int i = 1; i <= p; ++i) {
      for (int r = 1; r <= k; ++r) a.inverse[at(core::PACKEDINDEX(k + i, r) - 1)] = -ga[at((i - 1) * k + r - 1)];
      for (int j = 1; j <= i; ++j) a.inverse[at(core::PACKEDINDEX(k + i, k + j) - 1)] = A(i, j);
    }
    a.fail = std::isfinite(a.lm) ? 0 : 1;
  } catch (const std::bad_alloc&) {
    a.fail = 1;
  }
  return a;
}

double QUADFORMS(int mode, int p, int& fail) {
  const AuxiliaryRegression a = auxiliary_regression(mode, p);
  fail = a.fail;
  return fail != 0 ? limits::kMissing : a.lm;
}

}  // namespace qorv::diagnostics
