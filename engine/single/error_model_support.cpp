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
