#include "engine/multi/johansen_core.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numeric>
#include <stdexcept>

#include "engine/core/num/matrices.h"

namespace qorv::multi {

namespace {

using core::PACKEDINDEX;

constexpr double kOnePlusLogTwoPi = 2.8378770664093453;
constexpr double kReductionTolerance = 1e-14;

std::size_t packed_size(int k) { return static_cast<std::size_t>(k) * static_cast<std::size_t>(k + 1) / 2; }

double& at(std::vector<double>& packed, int i, int j) { return packed[static_cast<std::size_t>(PACKEDINDEX(i, j) - 1)]; }

/// Pointers to the columns of an n-row column-major block.
std::vector<const double*> columns_of(const std::vector<double>& block, std::size_t n, int count) {
  std::vector<const double*> out(static_cast<std::size_t>(count));
  for (int j = 0; j < count; ++j) out[static_cast<std::size_t>(j)] = block.data() + static_cast<std::size_t>(j) * n;
  return out;
}

/// Packed X'X of an n-row block of `count` columns.
std::vector<double> packed_cross(const std::vector<double>& block, std::size_t n, int count) {
  std::vector<double> out(packed_size(count));
  const std::vector<const double*> cols = columns_of(block, n, count);
  core::symmetric_cross_products(cols, n, out);
  return out;
}

/// A block of n-row columns to concentrate and where its residuals go.
struct Concentration {
  const std::vector<double>& y;
  int count;
  std::vector<double>& residuals;
};

/// Residuals of each column of every block on the short-run regressors, Z'Z inverted once
/// for all of them; the columns are copied when there are none. False when Z'Z is singular.
bool concentrate(const std::vector<double>& z, int kreg, std::size_t n, std::initializer_list<Concentration> blocks) {
  if (kreg == 0) {
    for (const Concentration& c : blocks) c.residuals = c.y;
    return true;
  }
  std::vector<int> list(static_cast<std::size_t>(kreg) + 1);
  std::iota(list.begin(), list.end(), 0);
  std::vector<double> b(static_cast<std::size_t>(kreg)), fitted(n), work(std::max<std::size_t>(n, kreg));
  std::vector<double> inverse(packed_size(kreg));
  bool inverted = false;
  for (const Concentration& c : blocks) {
    c.residuals.assign(n * static_cast<std::size_t>(c.count), 0.0);
    for (int j = 0; j < c.count; ++j) {
      const std::span<const double> column(c.y.data() + static_cast<std::size_t>(j) * n, n);
      double rss = 0.0;
      int fail = 0;
      core::PACKEDXTXSOLVE(z, 0, column, list, kreg, static_cast<int>(n), static_cast<int>(n), 0,
                           inverted ? core::kSolveReuseInverse : 0, b, fitted, work, rss, inverse, fail);
      if (fail != 0) return false;
      inverted = true;
      std::copy_n(work.begin(), n, c.residuals.begin() + static_cast<long>(static_cast<std::size_t>(j) * n));
    }
  }
  return true;
}

}  // namespace

bool symmetric_eigen(const std::vector<double>& packed, int k, double tol, std::vector<double>& values,
                     std::vector<double>& vectors) {
  const auto uk = static_cast<std::size_t>(k);
  values.assign(uk, 0.0);
  vectors.assign(uk * uk, 0.0);
  if (k == 1) {
    values[0] = packed[0];
    vectors[0] = 1.0;
    return true;
  }
  std::vector<double> diagonal(uk), sub(uk), z(uk * uk);
  int flag = 0;
  core::PACKEDFACTOR(k, kReductionTolerance, packed, diagonal, sub, z, flag);
  if (flag != 0) return false;
  core::EIGENSOLVE(k, tol, diagonal, sub, z, flag);
  if (flag != 0) return false;
  for (std::size_t j = 0; j < uk; ++j) {  // ascending to descending
    const std::size_t from = uk - 1 - j;
    values[j] = diagonal[from];
    std::copy_n(z.begin() + static_cast<long>(from * uk), uk, vectors.begin() + static_cast<long>(j * uk));
  }
  return true;
}

int levels_columns(const JohansenData& data) {
  return data.m + data.e + (data.model_case == 2 || data.model_case == 4 ? 1 : 0);
}

int short_run_columns(const JohansenData& data) {
  const int deterministic = data.model_case == 3 || data.model_case == 4 ? 1 : data.model_case == 5 ? 2 : 0;
  return (data.p - 1) * (data.m + data.e) + data.d + deterministic;
}

std::vector<double> short_run_regressors(const JohansenData& data) {
  const auto n = static_cast<std::size_t>(data.n);
  const auto rows = n + static_cast<std::size_t>(data.p);
  std::vector<double> z;
  z.reserve(n * static_cast<std::size_t>(short_run_columns(data)));
  z.insert(z.end(), data.stationary.begin(), data.stationary.begin() + static_cast<long>(n * static_cast<std::size_t>(data.d)));
  for (int v = 0; v < data.m + data.e; ++v) {
    const double* x = data.levels.data() + static_cast<std::size_t>(v) * rows;
    for (int lag = 1; lag < data.p; ++lag)
      for (std::size_t t = 0; t < n; ++t) {
        const std::size_t row = static_cast<std::size_t>(data.p) + t - static_cast<std::size_t>(lag);
        z.push_back(x[row] - x[row - 1]);
      }
  }
  if (data.model_case >= 3) z.insert(z.end(), n, 1.0);
  if (data.model_case == 5)
    for (std::size_t t = 1; t <= n; ++t) z.push_back(static_cast<double>(t));
  return z;
}

JohansenFailure johansen_estimate(const JohansenData& data, double tol, JohansenFit& fit) {
  if (data.m < 1 || data.e < 0 || data.d < 0 || data.p < 1 || data.n < 1 || data.model_case < kFirstCase ||
      data.model_case > kLastCase)
    throw std::invalid_argument("johansen_estimate: dimensions out of range");
  const auto n = static_cast<std::size_t>(data.n);
  const auto rows = n + static_cast<std::size_t>(data.p);
  if (data.levels.size() < rows * static_cast<std::size_t>(data.m + data.e) ||
      data.stationary.size() < n * static_cast<std::size_t>(data.d))
    throw std::invalid_argument("johansen_estimate: data shorter than stated");

  const int k = levels_columns(data);
  const int kreg = short_run_columns(data);
  const std::vector<double> z = short_run_regressors(data);

  std::vector<double> differences, lagged;
  differences.reserve(n * static_cast<std::size_t>(data.m));
  lagged.reserve(n * static_cast<std::size_t>(k));
  for (int v = 0; v < data.m + data.e; ++v) {
    const double* x = data.levels.data() + static_cast<std::size_t>(v) * rows;
    for (std::size_t t = 0; t < n; ++t) {
      const std::size_t row = static_cast<std::size_t>(data.p) + t;
      if (v < data.m) differences.push_back(x[row] - x[row - 1]);
      lagged.push_back(x[t]);
    }
  }
  if (data.model_case == 2) lagged.insert(lagged.end(), n, 1.0);
  if (data.model_case == 4)
    for (std::size_t t = 1; t <= n; ++t) lagged.push_back(static_cast<double>(t));

  fit = JohansenFit{};
  fit.m = data.m;
  fit.k = k;
  if (!concentrate(z, kreg, n, {{differences, data.m, fit.r0}, {lagged, k, fit.r1}}))
    return JohansenFailure::kSingular;
  return JOHANSENEIGEN(data.n, tol, fit);
}

JohansenFailure JOHANSENEIGEN(int n_obs, double tol, JohansenFit& fit) {
  const int m = fit.m;
  const int k = fit.k;
  const auto n = static_cast<std::size_t>(n_obs);
  const auto um = static_cast<std::size_t>(m);
  const auto uk = static_cast<std::size_t>(k);
  if (m < 1 || k < 1 || n_obs < 1 || fit.r0.size() < n * um || fit.r1.size() < n * uk)
    throw std::invalid_argument("JOHANSENEIGEN: residual blocks shorter than stated");

  fit.s00 = packed_cross(fit.r0, n, m);
  fit.s11 = packed_cross(fit.r1, n, k);
  fit.s01.assign(um * uk, 0.0);
  core::cross_products(columns_of(fit.r0, n, m), columns_of(fit.r1, n, k), n, fit.s01);

  std::vector<double> s00_inverse = fit.s00;
  int fail = 0;
  core::INVERTSYMPACKED(s00_inverse, m, fail);
  if (fail != 0) return JohansenFailure::kSingular;
  std::vector<double> factor = fit.s00;
  core::PACKEDCHOLESKY(factor, m, fail);
  if (fail != 0) return JohansenFailure::kSingular;
  long double log_det = 0.0L;
  for (int i = 1; i <= m; ++i) log_det += 2.0L * std::log(static_cast<long double>(at(factor, i, i)));
  fit.ll0 = -(static_cast<double>(n_obs) * 0.5) *
            (m * kOnePlusLogTwoPi + static_cast<double>(log_det) - m * std::log(static_cast<double>(n_obs)));

  // M = S10·S00⁻¹·S01 (k × k, packed).
  std::vector<double> a(um * uk);  // S00⁻¹·S01
  for (std::size_t j = 0; j < uk; ++j)
    for (int i = 1; i <= m; ++i) {
      long double sum = 0.0L;
      for (int l = 1; l <= m; ++l) sum += static_cast<long double>(at(s00_inverse, i, l)) * fit.s01[static_cast<std::size_t>(l - 1) + j * um];
      a[static_cast<std::size_t>(i - 1) + j * um] = static_cast<double>(sum);
    }
  std::vector<double> mm(packed_size(k));
  for (int i = 1; i <= k; ++i)
    for (int j = 1; j <= i; ++j) {
      long double sum = 0.0L;
      for (std::size_t l = 0; l < um; ++l)
        sum += static_cast<long double>(fit.s01[l + static_cast<std::size_t>(i - 1) * um]) *
               a[l + static_cast<std::size_t>(j - 1) * um];
      at(mm, i, j) = static_cast<double>(sum);
    }

  // S11 = V·Λ·V': W = V·Λ^(-1/2) over the positive eigenvalues, so that W'S11W = I.
  std::vector<double> lambda, v;
  if (!symmetric_eigen(fit.s11, k, tol, lambda, v)) return JohansenFailure::kEigen;
  // A direction of the lagged levels without variance is dropped; measured against the
  // largest eigenvalue, the test does not depend on the data's units.
  const double floor = tol * tol;
  const double dropped = tol * std::max(lambda.front(), 0.0);
  int kp = 0;
  for (double& l : lambda) {
    if (l <= dropped) l = 0.0;
    if (l > 0.0) ++kp;
  }
  const auto ukp = static_cast<std::size_t>(kp);
  std::vector<double> w(uk * ukp);
  for (std::size_t j = 0, col = 0; j < uk; ++j) {
    if (lambda[j] <= 0.0) continue;
    const double scale = 1.0 / std::sqrt(lambda[j]);
    for (std::size_t r = 0; r < uk; ++r) w[r + col * uk] = v[r + j * uk] * scale;
    ++col;
  }

  // C = W'·M·W and its eigenvectors give β = W·z.
  fit.eigenvalues.assign(uk, 0.0);
  fit.beta.assign(uk * uk, 0.0);
  fit.alpha.assign(um * uk, 0.0);
  if (kp > 0) {
    std::vector<double> mw(uk * ukp);
    for (std::size_t j = 0; j < ukp; ++j)
      for (int r = 1; r <= k; ++r) {
        long double sum = 0.0L;
        for (int l = 1; l <= k; ++l) sum += static_cast<long double>(at(mm, r, l)) * w[static_cast<std::size_t>(l - 1) + j * uk];
        mw[static_cast<std::size_t>(r - 1) + j * uk] = static_cast<double>(sum);
      }
    std::vector<double> c(packed_size(kp));
    for (int i = 1; i <= kp; ++i)
      for (int j = 1; j <= i; ++j) {
        long double sum = 0.0L;
        for (std::size_t r = 0; r < uk; ++r)
          sum += static_cast<long double>(w[r + static_cast<std::size_t>(i - 1) * uk]) * mw[r + static_cast<std::size_t>(j - 1) * uk];
        at(c, i, j) = static_cast<double>(sum);
      }
    std::vector<double> mu, zc;
    if (!symmetric_eigen(c, kp, tol, mu, zc)) return JohansenFailure::kEigen;
    for (std::size_t j = 0; j < ukp; ++j) {
      fit.eigenvalues[j] = mu[j] < floor ? 0.0 : mu[j];
      for (std::size_t r = 0; r < uk; ++r) {
        long double sum = 0.0L;
        for (std::size_t l = 0; l < ukp; ++l) sum += static_cast<long double>(w[r + l * uk]) * zc[l + j * ukp];
        fit.beta[r + j * uk] = static_cast<double>(sum);
      }
    }
  }
  for (std::size_t j = 0; j < uk; ++j)
    for (std::size_t i = 0; i < um; ++i) {
      long double sum = 0.0L;
      for (std::size_t l = 0; l < uk; ++l) sum += static_cast<long double>(fit.s01[i + l * um]) * fit.beta[l + j * uk];
      fit.alpha[i + j * um] = static_cast<double>(sum);
    }
  return JohansenFailure::kNone;
}

}  // namespace qorv::multi
