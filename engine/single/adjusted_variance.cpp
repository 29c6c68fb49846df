#include "engine/single/adjusted_variance.h"

#include <algorithm>
#include <span>

#include "engine/core/num/matrices.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/lag_windows.h"

namespace qorv::single {

namespace {

std::size_t at(long i) { return static_cast<std::size_t>(i); }

bool is_instrumental(int code) { return code == method::kIv || code == method::kNl2sls || code == method::kArdlLongRun; }

/// The columns of variables `list` over the NUSED observations of the sample (n × count).
std::vector<double> data_columns(std::span<const int> list, int n) {
  const auto& g = core::globals();
  std::vector<double> out;
  out.reserve(at(long{n} * static_cast<long>(list.size())));
  for (int v : list) {
    if (v < 1 || v > g.nvars) return {};
    for (int t = 1; t <= n; ++t) out.push_back(core::data_at(g.sample_start - 1 + t, v));
  }
  return out;
}

/// P = (W'W)⁻¹W'X (l × k, column-major): each column of X regressed on the instruments.
std::vector<double> instrument_projection(std::span<const double> w, int l, std::span<const double> x, int k, int n) {
  std::vector<int> list(at(l) + 1);
  for (int i = 0; i <= l; ++i) list[at(i)] = i;
  std::vector<double> p(at(long{l} * k)), b(at(l)), fit(at(n)), work(at(std::max(l, n))),
      m(at(long{l} * (l + 1) / 2));
  double rss = 0.0;
  int fail = 0;
  for (int j = 0; j < k; ++j) {
    const auto y = x.subspan(at(long{j} * n), at(n));
    core::PACKEDXTXSOLVE(w, 0, y, list, l, n, n, 0, j == 0 ? 0 : core::kSolveReuseInverse, b, fit, work, rss, m,
                         fail);
    if (fail != 0) return {};
    std::copy(b.begin(), b.end(), p.begin() + static_cast<long>(j) * l);
  }
  return p;
}

}  // namespace

bool has_adjusted_variance(int code) {
  switch (code) {
    case method::kOls: case method::kIv: case method::kNls: case method::kNl2sls:
    case 17:  // an equation of the cointegrating VAR's error-correction model
    case method::kArdl: case method::kArdlLongRun: case method::kVar:
      return true;
    default:
      return false;
  }
}

std::vector<double> estimate_adjusted_variance(int option, int m) {
  const auto& s = estimation();
  const int n = s.nused, k = s.nregs;
  if (!has_adjusted_variance(s.method) || s.scale != VarianceScale::kScaled || n < 1 || k < 1 ||
      s.variance.size() < at(long{k} * (k + 1) / 2))
    return {};

  // X: the Jacobian of the non-linear estimators, else the regressors' data columns.
  std::vector<double> x;
  if (s.method == method::kNls || s.method == method::kNl2sls) {
    if (s.jacobian.size() < at(long{n} * k)) return {};
    x.assign(s.jacobian.begin(), s.jacobian.begin() + static_cast<long>(n) * k);
  } else {
    if (s.eqvarlist.size() < at(k) + 1) return {};
    x = data_columns(std::span(s.eqvarlist).subspan(1, at(k)), n);
    if (x.empty()) return {};
  }

  std::vector<double> e(series_block(block::kResiduals).begin(), series_block(block::kResiduals).end());
  if (s.method == method::kArdlLongRun && s.lr_multiplier != 0.0)
    for (double& v : e) v /= s.lr_multiplier;

  SandwichInput input;
  input.residuals = e;
  input.inverse = s.variance;
  input.n = n;
  input.k = k;
  std::vector<double> w, projection;
  if (is_instrumental(s.method)) {
    const int l = static_cast<int>(s.instrlist.size());
    if (l < 1) return {};
    w = data_columns(s.instrlist, n);
    if (w.empty()) return {};
    projection = instrument_projection(w, l, x, k, n);
    if (projection.empty()) return {};
    input.columns = w;
    input.projection = projection;
    input.p = l;
  } else {
    input.columns = x;
    input.p = k;
  }
  return adjusted_variance(input, option, m);
}

}  // namespace qorv::single
