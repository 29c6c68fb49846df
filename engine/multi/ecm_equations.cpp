#include "engine/multi/ecm_equations.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "engine/core/num/log_determinant.h"
#include "engine/core/num/matrices.h"
#include "shared/exchange_slots.h"
#include "engine/multi/system_least_squares.h"

namespace qorv::multi {

using core::PACKEDINDEX;

namespace {

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

EcmShape shape_of(const JohansenData& data, int r) {
  return EcmShape{data.m, data.e, data.d, data.p, data.model_case, r};
}

void check_shape(const EcmShape& s, std::span<const double> beta) {
  if (s.m < 1 || s.e < 0 || s.d < 0 || s.p < 1 || s.r < 1 || s.r > s.k() || s.model_case < kFirstCase ||
      s.model_case > kLastCase || beta.size() != idx(s.k()) * idx(s.r))
    throw std::invalid_argument("error-correction equations: bad shape");
}

/// X_l(t) of the levels block (observation t from 1, initial values at t ≤ 0).
double level(const EcmShape& s, std::span<const double> levels, int rows, int l, int t) {
  return levels[idx(l - 1) * idx(rows) + idx(s.p + t - 1)];
}

/// The regressors of observation t, in their order.
void regressor_row(const EcmShape& s, std::span<const double> beta, std::span<const double> levels, int rows,
                   std::span<const double> stationary, int stationary_rows, int t, std::vector<double>& row) {
  row.assign(idx(s.regressors()), 0.0);
  int at = 0;
  if (s.deterministic() >= 1) row[idx(at++)] = 1.0;
  if (s.deterministic() == 2) row[idx(at++)] = t;
  for (int j = 1; j < s.p; ++j)
    for (int l = 1; l <= s.m + s.e; ++l)
      row[idx(at++)] = level(s, levels, rows, l, t - j) - level(s, levels, rows, l, t - j - 1);
  for (int i = 1; i <= s.r; ++i) row[idx(at++)] = ecm_term(s, beta, levels, rows, i, t);
  for (int v = 1; v <= s.d; ++v) row[idx(at++)] = stationary[idx(v - 1) * idx(stationary_rows) + idx(t - 1)];
}

}  // namespace

int lagged_difference_position(const EcmShape& shape, int j, int l) {
  return shape.deterministic() + (j - 1) * (shape.m + shape.e) + (l - 1);
}

int ecm_position(const EcmShape& shape, int i) { return shape.deterministic() + (shape.p - 1) * (shape.m + shape.e) + i - 1; }

int stationary_position(const EcmShape& shape, int s) { return ecm_position(shape, shape.r + 1) + s - 1; }

double ecm_term(const EcmShape& shape, std::span<const double> beta, std::span<const double> levels, int rows, int i,
                int t) {
  const int k = shape.k();
  const auto column = idx(i - 1) * idx(k);
  double value = 0.0;
  for (int l = 1; l <= shape.m + shape.e; ++l) value += beta[column + idx(l - 1)] * level(shape, levels, rows, l, t - 1);
  if (shape.model_case == 2) value += beta[column + idx(k - 1)];
  if (shape.model_case == 4) value += beta[column + idx(k - 1)] * (t - 1);
  return value;
}

std::vector<double> ecm_regressors(const JohansenData& data, int r, std::span<const double> beta) {
  const EcmShape s = shape_of(data, r);
  check_shape(s, beta);
  const int n = data.n;
  const int rows = n + data.p;
  if (n < 1 || data.levels.size() != idx(s.m + s.e) * idx(rows) || data.stationary.size() != idx(s.d) * idx(n))
    throw std::invalid_argument("error-correction equations: the data do not hold the stated shape");
  const int K = s.regressors();
  std::vector<double> X(idx(n) * idx(K));
  std::vector<double> row;
  for (int t = 1; t <= n; ++t) {
    regressor_row(s, beta, data.levels, rows, data.stationary, n, t, row);
    for (int c = 0; c < K; ++c) X[idx(c) * idx(n) + idx(t - 1)] = row[idx(c)];
  }
  return X;
}

double EcmFit::coefficient(int position, int i) const {
  return coef.at(idx(i - 1) * idx(shape.regressors()) + idx(position));
}

bool fit_ecm(const JohansenData& data, int r, std::span<const double> beta, EcmFit& fit) {
  const std::vector<double> X = ecm_regressors(data, r, beta);
  const EcmShape s = shape_of(data, r);
  const int n = data.n;
  const int K = s.regressors();
  if (n <= K) return false;
  std::vector<std::vector<double>> ys(idx(s.m));
  for (int i = 1; i <= s.m; ++i)
    for (int t = 1; t <= n; ++t)
      ys[idx(i - 1)].push_back(level(s, data.levels, n + s.p, i, t) - level(s, data.levels, n + s.p, i, t - 1));
  fit.shape = s;
  fit.n = n;
  fit.beta.assign(beta.begin(), beta.end());
  if (!solve_columns(X, n, K, ys, fit.coef, fit.fitted, fit.residuals)) return false;
  fit.sigma = residual_moments(fit.residuals, n, s.m, n - K);
  std::vector<double> factor = residual_moments(fit.residuals, n, s.m, n);
  int fail = 0;
  core::PACKEDCHOLESKY(factor, s.m, fail);
  fit.loglik = limits::kMissing;
  if (fail == 0) {
    double log_det = 0.0;
    for (int i = 1; i <= s.m; ++i) log_det += 2.0 * std::log(factor[idx(PACKEDINDEX(i, i) - 1)]);
    fit.loglik = -0.5 * n * (s.m * core::kOnePlusLogTwoPi + log_det);
  }
  return true;
}

LagMatrices ecm_levels(const EcmFit& fit) {
  const EcmShape& s = fit.shape;
  const int m = s.m;
  const int k = s.k();
  LagMatrices lags{std::vector<double>(idx(s.p) * idx(m) * idx(m), 0.0), m, s.p};
  auto A = [&](int lag, int i, int l) -> double& { return lags.a[(idx(lag - 1) * idx(m) + idx(l - 1)) * idx(m) + idx(i - 1)]; };
  for (int i = 1; i <= m; ++i)
    for (int l = 1; l <= m; ++l) {
      double pi = 0.0;
      for (int v = 1; v <= s.r; ++v) pi += fit.alpha(i, v) * fit.beta[idx(v - 1) * idx(k) + idx(l - 1)];
      A(1, i, l) = (i == l ? 1.0 : 0.0) + pi;
      for (int j = 1; j < s.p; ++j) {
        A(j, i, l) += fit.gamma(j, i, l);
        A(j + 1, i, l) -= fit.gamma(j, i, l);
      }
    }
  return lags;
}

bool cvar_dynamic_response(const EcmFit& fit, int kind, int shock, int H, std::vector<double>& table) {
  const EcmShape& s = fit.shape;
  const int m = s.m;
  const int k = s.k();
  if (kind < kOrthogonalResponses || kind > kPersistenceProfiles || H < 0 ||
      (kind != kPersistenceProfiles && (shock < 1 || shock > m)))
    throw std::invalid_argument("cointegrating VAR dynamic response: bad arguments");
  const LagMatrices lags = ecm_levels(fit);
  if (kind <= kGeneralisedDecomposition) return dynamic_response(lags, fit.sigma, kind, shock, H, table);
  const auto rows = idx(H + 1);
  auto b = [&](int l, int i) { return fit.beta[idx(i - 1) * idx(k) + idx(l - 1)]; };
  if (kind != kPersistenceProfiles) {
    std::vector<double> variables;
    if (!dynamic_response(lags, fit.sigma, kind - 4, shock, H, variables)) return false;
    table.assign(rows * idx(s.r), 0.0);
    for (int i = 1; i <= s.r; ++i)
      for (std::size_t h = 0; h < rows; ++h) {
        double sum = 0.0;
        for (int l = 1; l <= m; ++l) sum += b(l, i) * variables[idx(l - 1) * rows + h];
        table[idx(i - 1) * rows + h] = sum;
      }
    return true;
  }
  // β_i'Φ_hΣΦ_h'β_i = w'Σw with w = Φ_h'β_i.
  const std::vector<double> phi = moving_average_matrices(lags, H);
  auto quadratic = [&](const std::vector<double>& w) {
    double sum = 0.0;
    for (int a = 1; a <= m; ++a)
      for (int c = 1; c <= m; ++c) sum += w[idx(a - 1)] * fit.sigma[idx(PACKEDINDEX(a, c) - 1)] * w[idx(c - 1)];
    return sum;
  };
  table.assign(rows * idx(s.r), 0.0);
  std::vector<double> w(idx(m));
  for (int i = 1; i <= s.r; ++i) {
    for (int l = 1; l <= m; ++l) w[idx(l - 1)] = b(l, i);
    const double scale = quadratic(w);
    if (!(scale > 0.0)) return false;
    for (std::size_t h = 0; h < rows; ++h) {
      const double* P = phi.data() + h * idx(m) * idx(m);
      for (int c = 1; c <= m; ++c) {
        double sum = 0.0;
        for (int l = 1; l <= m; ++l) sum += P[idx(c - 1) * idx(m) + idx(l - 1)] * b(l, i);
        w[idx(c - 1)] = sum;
      }
      table[idx(i - 1) * rows + h] = quadratic(w) / scale;
    }
  }
  return true;
}

bool ecm_forecasts(const EcmFit& fit, std::span<const double> levels, std::span<const double> stationary, int h,
                   double missing, std::vector<double>& predictions, EcmForecastGap& gap) {
  const EcmShape& s = fit.shape;
  const int n = fit.n;
  const int rows = s.p + n + h;
  if (h < 0 || levels.size() < idx(s.m + s.e) * idx(rows) || stationary.size() < idx(s.d) * idx(n + h))
    throw std::invalid_argument("error-correction forecasts: the arrays are too short");
  for (int l = s.m + 1; l <= s.m + s.e; ++l)
    for (int t = n + 1; t <= n + h; ++t)
      if (level(s, levels, rows, l, t) == missing) {
        gap = EcmForecastGap{l - s.m, t};
        return false;
      }
  for (int v = 1; v <= s.d; ++v)
    for (int t = n + 1; t <= n + h; ++t)
      if (stationary[idx(v - 1) * idx(n + h) + idx(t - 1)] == missing) {
        gap = EcmForecastGap{s.e + v, t};
        return false;
      }
  std::vector<double> work(levels.begin(), levels.begin() + static_cast<long>(idx(s.m + s.e) * idx(rows)));
  const auto out_rows = idx(n + h);
  predictions.assign(out_rows * idx(s.m), 0.0);
  for (int i = 1; i <= s.m; ++i)
    for (int t = 1; t <= n; ++t)
      predictions[idx(i - 1) * out_rows + idx(t - 1)] =
          level(s, work, rows, i, t - 1) + fit.fitted[idx(i - 1) * idx(n) + idx(t - 1)];
  const int K = s.regressors();
  std::vector<double> row, change(idx(s.m));
  for (int t = n + 1; t <= n + h; ++t) {
    regressor_row(s, fit.beta, work, rows, stationary, n + h, t, row);
    for (int i = 1; i <= s.m; ++i) {
      double sum = 0.0;
      for (int c = 0; c < K; ++c) sum += row[idx(c)] * fit.coefficient(c, i);
      change[idx(i - 1)] = sum;
    }
    for (int i = 1; i <= s.m; ++i) {
      const double value = level(s, work, rows, i, t - 1) + change[idx(i - 1)];
      work[idx(i - 1) * idx(rows) + idx(s.p + t - 1)] = value;
      predictions[idx(i - 1) * out_rows + idx(t - 1)] = value;
    }
  }
  return true;
}

}  // namespace qorv::multi
