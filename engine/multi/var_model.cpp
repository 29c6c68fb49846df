#include "engine/multi/var_model.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/num/log_determinant.h"
#include "engine/core/num/packed_index.h"
#include "engine/multi/system_least_squares.h"
#include "shared/exchange_slots.h"

namespace qorv::multi {

using core::PACKEDINDEX;

int max_var_order(int m, int d) {
  if (m < 1) return 0;
  return std::min(kMaxVarOrder, (kMaxVarRegressors - d) / m);
}

double DataView::at(int t, int j) const {
  if (t < 1 || t > nobs || j < 1) throw std::invalid_argument("VAR: observation or variable out of range");
  const std::size_t index = static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nobs) + static_cast<std::size_t>(t - 1);
  if (index >= values.size()) throw std::invalid_argument("VAR: variable " + std::to_string(j) + " outside the data");
  return values[index];
}

double VarFit::lag_coef(int lag, int i, int j) const {
  const int m = layout.m();
  const int row = (lag - 1) * m + (j - 1);
  return coef[static_cast<std::size_t>((i - 1) * layout.k() + row)];
}

double VarFit::deterministic_coef(int r, int i) const {
  const int row = layout.m() * layout.p + (r - 1);
  return coef[static_cast<std::size_t>((i - 1) * layout.k() + row)];
}

namespace {

/// The regressor matrix of the lags 1..p of `lagged` and the columns `deterministic`.
std::vector<double> regressors(const DataView& data, std::span<const int> lagged, std::span<const int> deterministic,
                               int p, int first, int n) {
  std::vector<double> X;
  X.reserve(static_cast<std::size_t>(n) * (lagged.size() * static_cast<std::size_t>(p) + deterministic.size()));
  for (int lag = 1; lag <= p; ++lag)
    for (int v : lagged)
      for (int t = first; t < first + n; ++t) X.push_back(data.at(t - lag, v));
  for (int v : deterministic)
    for (int t = first; t < first + n; ++t) X.push_back(data.at(t, v));
  return X;
}

std::vector<std::vector<double>> dependents(const DataView& data, std::span<const int> variables, int first, int n) {
  std::vector<std::vector<double>> ys;
  for (int v : variables) {
    std::vector<double>& y = ys.emplace_back();
    for (int t = first; t < first + n; ++t) y.push_back(data.at(t, v));
  }
  return ys;
}

void show_collinear() { core::SHOWOK(core::kWarning, core::kNoHelp, "Two or more regressors are collinear!"); }

/// ln det of a packed matrix through its Cholesky factor; false on failure (message shown).
bool log_det(std::vector<double> S, int m, double& value) {
  int fail = 0;
  // LOGDETERMINANT gives −(T/2)(ln det + m(1 + ln 2π)); with T = −2 the constant is taken off.
  value = core::LOGDETERMINANT(S, m, -2.0, limits::kMissing, fail) - m * core::kOnePlusLogTwoPi;
  return fail == 0;
}

}  // namespace

FitStatus fit_var(const DataView& data, const VarLayout& layout, VarFit& fit) {
  const int m = layout.m();
  const int n = layout.n;
  const int k = layout.k();
  if (layout.first - layout.p < 1 || layout.first + n - 1 > data.nobs || n < 1)
    throw std::invalid_argument("VAR: the sample lies outside the data");
  fit.layout = layout;
  const std::vector<double> X = regressors(data, layout.endogenous, layout.deterministic, layout.p, layout.first, n);
  const auto ys = dependents(data, layout.endogenous, layout.first, n);
  if (!solve_columns(X, n, k, ys, fit.coef, fit.fitted, fit.residuals)) {
    show_collinear();
    return FitStatus::kCollinear;
  }
  fit.sigma_tilde = residual_moments(fit.residuals, n, m, n - k);
  fit.sigma_hat = residual_moments(fit.residuals, n, m, n);
  fit.loglik = limits::kMissing;
  int fail = 0;
  std::vector<double> S = fit.sigma_hat;
  const double ll = core::LOGDETERMINANT(S, m, n, limits::kMissing, fail);
  if (fail != 0) return FitStatus::kNoLikelihood;
  fit.loglik = ll;
  return FitStatus::kOk;
}

LagMatrices lag_matrices(const VarFit& fit) {
  const int m = fit.layout.m();
  LagMatrices lags{std::vector<double>(static_cast<std::size_t>(fit.layout.p * m * m)), m, fit.layout.p};
  for (int l = 1; l <= fit.layout.p; ++l)
    for (int j = 1; j <= m; ++j)
      for (int i = 1; i <= m; ++i)
        lags.a[static_cast<std::size_t>(((l - 1) * m + (j - 1)) * m + (i - 1))] = fit.lag_coef(l, i, j);
  return lags;
}

bool var_forecasts(const DataView& data, const VarFit& fit, int h, std::vector<double>& predictions, ForecastGap& gap) {
  const VarLayout& layout = fit.layout;
  const int m = layout.m();
  const int n = layout.n;
  const int end = layout.first + n - 1;
  if (h < 0 || end + h > data.nobs) throw std::invalid_argument("VAR forecasts: the period runs past the data");
  for (int r = 1; r <= layout.d(); ++r)
    for (int t = end + 1; t <= end + h; ++t)
      if (data.at(t, layout.deterministic[static_cast<std::size_t>(r - 1)]) == limits::kMissing) {
        gap = ForecastGap{layout.deterministic[static_cast<std::size_t>(r - 1)], t};
        return false;
      }
  const auto rows = static_cast<std::size_t>(n + h);
  predictions.assign(rows * static_cast<std::size_t>(m), 0.0);
  for (int i = 0; i < m; ++i)
    std::copy_n(fit.fitted.begin() + static_cast<long>(i) * n, n, predictions.begin() + static_cast<long>(i * rows));
  // Row r (from 0) of the predictions is observation first + r.
  auto value = [&](int t, int j) {
    return t <= end ? data.at(t, layout.endogenous[static_cast<std::size_t>(j - 1)])
                    : predictions[static_cast<std::size_t>(j - 1) * rows + static_cast<std::size_t>(t - layout.first)];
  };
  for (int t = end + 1; t <= end + h; ++t)
    for (int i = 1; i <= m; ++i) {
      double y = 0.0;
      for (int r = 1; r <= layout.d(); ++r)
        y += fit.deterministic_coef(r, i) * data.at(t, layout.deterministic[static_cast<std::size_t>(r - 1)]);
      for (int l = 1; l <= layout.p; ++l)
        for (int j = 1; j <= m; ++j) y += fit.lag_coef(l, i, j) * value(t - l, j);
      predictions[static_cast<std::size_t>(i - 1) * rows + static_cast<std::size_t>(t - layout.first)] = y;
    }
  return true;
}

FitStatus non_causality(const DataView& data, const VarFit& fit, std::span<const int> noncausal, NonCausality& out) {
  const VarLayout& layout = fit.layout;
  const int m = layout.m();
  const int n = layout.n;
  std::vector<int> block_positions;
  for (int i = 1; i <= m; ++i)
    if (std::find(noncausal.begin(), noncausal.end(), i) == noncausal.end()) block_positions.push_back(i);
  const int k1 = m - static_cast<int>(block_positions.size());
  const int k2 = static_cast<int>(block_positions.size());
  if (k1 < 1 || k2 < 1) throw std::invalid_argument("non-causality: both groups must be non-empty");
  std::vector<int> block_variables;
  for (int i : block_positions) block_variables.push_back(layout.endogenous[static_cast<std::size_t>(i - 1)]);
  const std::vector<double> X = regressors(data, block_variables, layout.deterministic, layout.p, layout.first, n);
  const auto ys = dependents(data, block_variables, layout.first, n);
  std::vector<double> coef, fitted, residuals;
  if (!solve_columns(X, n, k2 * layout.p + layout.d(), ys, coef, fitted, residuals)) {
    show_collinear();
    return FitStatus::kCollinear;
  }
  const std::vector<double> restricted = residual_moments(residuals, n, k2, n);
  std::vector<double> unrestricted(static_cast<std::size_t>(k2 * (k2 + 1) / 2));
  for (int a = 1; a <= k2; ++a)
    for (int b = 1; b <= a; ++b)
      unrestricted[static_cast<std::size_t>(PACKEDINDEX(a, b) - 1)] =
          fit.sigma_hat[static_cast<std::size_t>(PACKEDINDEX(block_positions[static_cast<std::size_t>(a - 1)],
                                                              block_positions[static_cast<std::size_t>(b - 1)]) - 1)];
  double ld_r = 0.0, ld_u = 0.0;
  if (!log_det(restricted, k2, ld_r) || !log_det(unrestricted, k2, ld_u)) return FitStatus::kNoLikelihood;
  out.lr = n * (ld_r - ld_u);
  out.df = layout.p * k1 * k2;
  out.restricted_loglik = fit.loglik - out.lr / 2.0;
  return FitStatus::kOk;
}

}  // namespace qorv::multi
