#include "engine/single/error_model_support.h"

#include <algorithm>

#include "engine/core/num/matrices.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

namespace qorv::single {

core::RegressionColumns equation_columns() {
  const auto& s = estimation();
  const int start = core::globals().sample_start;
  core::RegressionColumns d;
  d.n = s.nused;
  d.k = s.nregs;
  d.y.resize(static_cast<std::size_t>(d.n));
  d.x.resize(static_cast<std::size_t>(d.n) * static_cast<std::size_t>(d.k));
  for (int t = 0; t < d.n; ++t) d.y[static_cast<std::size_t>(t)] = core::data_at(start + t, s.eqvarlist[0]);
  for (int j = 0; j < d.k; ++j)
    for (int t = 0; t < d.n; ++t)
      d.x[static_cast<std::size_t>(j) * static_cast<std::size_t>(d.n) + static_cast<std::size_t>(t)] =
          core::data_at(start + t, s.eqvarlist[static_cast<std::size_t>(j) + 1]);
  return d;
}

std::vector<double> instrument_columns() {
  const auto& s = estimation();
  if (!is_iv_method(s.method)) return {};
  const int start = core::globals().sample_start;
  const auto& g = core::globals();
  std::vector<double> w;
  w.reserve(static_cast<std::size_t>(s.nused) * s.instrlist.size());
  for (const int v : s.instrlist) {
    if (v < 1 || v > g.nvars) return {};
    for (int t = 0; t < s.nused; ++t) w.push_back(core::data_at(start + t, v));
  }
  return w;
}

bool fit_columns(std::span<const double> y, std::span<const double> x, int n, int k, ColumnFit& fit) {
  std::vector<int> list(static_cast<std::size_t>(k) + 1);
  for (int j = 0; j <= k; ++j) list[static_cast<std::size_t>(j)] = j;
  std::vector<double> fitted(static_cast<std::size_t>(n)), work(static_cast<std::size_t>(std::max(n, k)));
  fit.b.assign(static_cast<std::size_t>(k), 0.0);
  fit.inverse.assign(static_cast<std::size_t>(k) * static_cast<std::size_t>(k + 1) / 2, 0.0);
  int fail = 0;
  core::PACKEDXTXSOLVE(x, 0, y, list, k, n, n, 0, 0, fit.b, fitted, work, fit.rss, fit.inverse, fail);
  if (fail != 0) return false;
  fit.residuals.assign(work.begin(), work.begin() + n);
  return true;
}

bool fit_instrumented(std::span<const double> y, std::span<const double> x, std::span<const double> w, int n,
                      int k, ColumnFit& fit) {
  if (w.empty()) return fit_columns(y, x, n, k, fit);
  const int l = static_cast<int>(w.size() / static_cast<std::size_t>(n));
  if (l < k) return false;
  // First stage: each regressor and y projected on the instruments.
  ColumnFit stage;
  std::vector<double> hat(x.size()), yhat(static_cast<std::size_t>(n));
  for (int j = 0; j <= k; ++j) {
    const auto column = j == 0 ? y : x.subspan(static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(n),
                                               static_cast<std::size_t>(n));
    if (!fit_columns(column, w, n, l, stage)) return false;
    auto out = j == 0 ? std::span<double>(yhat)
                      : std::span<double>(hat).subspan(static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(n),
                                                       static_cast<std::size_t>(n));
    for (int t = 0; t < n; ++t) out[static_cast<std::size_t>(t)] = column[static_cast<std::size_t>(t)] - stage.residuals[static_cast<std::size_t>(t)];
  }
  // Second stage: y on the projected regressors.
  ColumnFit second;
  if (!fit_columns(y, hat, n, k, second)) return false;
  fit.b = second.b;
  fit.inverse = second.inverse;
  fit.grss = second.rss;
  fit.residuals.assign(y.begin(), y.end());
  long double rss = 0.0L, minimand = 0.0L;
  for (int t = 0; t < n; ++t) {
    double projected = yhat[static_cast<std::size_t>(t)];
    for (int j = 0; j < k; ++j) {
      const std::size_t at = static_cast<std::size_t>(j) * static_cast<std::size_t>(n) + static_cast<std::size_t>(t);
      fit.residuals[static_cast<std::size_t>(t)] -= fit.b[static_cast<std::size_t>(j)] * x[at];
      projected -= fit.b[static_cast<std::size_t>(j)] * hat[at];
    }
    rss += static_cast<long double>(fit.residuals[static_cast<std::size_t>(t)]) * fit.residuals[static_cast<std::size_t>(t)];
    minimand += static_cast<long double>(projected) * projected;
  }
  fit.rss = static_cast<double>(rss);
  fit.minimand = static_cast<double>(minimand);
  return true;
}

bool iv_statistics(std::span<const double> y, std::span<const double> x, std::span<const double> w, int n, int k,
                   std::span<const double> b, double& grss, double& minimand) {
  const int l = static_cast<int>(w.size() / static_cast<std::size_t>(n));
  std::vector<double> residual(y.begin(), y.end()), generalised(y.begin(), y.end());
  ColumnFit stage;
  for (int j = 0; j < k; ++j) {
    const auto column = x.subspan(static_cast<std::size_t>(j) * static_cast<std::size_t>(n), static_cast<std::size_t>(n));
    if (!fit_columns(column, w, n, l, stage)) return false;
    for (int t = 0; t < n; ++t) {
      const std::size_t i = static_cast<std::size_t>(t);
      residual[i] -= b[static_cast<std::size_t>(j)] * column[i];
      generalised[i] -= b[static_cast<std::size_t>(j)] * (column[i] - stage.residuals[i]);
    }
  }
  if (!fit_columns(residual, w, n, l, stage)) return false;
  long double g = 0.0L, m = 0.0L;
  for (int t = 0; t < n; ++t) {
    const std::size_t i = static_cast<std::size_t>(t);
    g += static_cast<long double>(generalised[i]) * generalised[i];
    const long double projected = static_cast<long double>(residual[i]) - stage.residuals[i];
    m += projected * projected;
  }
  grss = static_cast<double>(g);
  minimand = static_cast<double>(m);
  return true;
}

void store_estimate(std::span<const double> coefficients, std::vector<double> variance, bool scaled,
                    std::span<const double> residuals) {
  auto& s = estimation();
  std::copy(coefficients.begin(), coefficients.end(), s.result.begin() + block::kCoefficients);
  for (int t = 1; t <= s.nused; ++t) {
    residual(t) = residuals[static_cast<std::size_t>(t - 1)];
    fitted(t) = actual(t) - residual(t);
  }
  s.variance = std::move(variance);
  s.scale = scaled ? VarianceScale::kScaled : VarianceScale::kAbsolute;
}

}  // namespace qorv::single
