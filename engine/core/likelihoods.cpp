#include "engine/core/likelihoods.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

#include "engine/core/workspace.h"

namespace qorv::core {

void NORMALLOGLIK(int n, int k, double rss, double& sigma, double& loglik) {
  constexpr double kPerfectFit = 1e-11;
  const Globals& g = globals();
  const int df = g.df_divide_by_n == 1 ? n : n - k + g.df_adjustment;
  const bool usable = rss >= 0.0;
  sigma = usable && df >= 1 ? std::sqrt(rss / df) : limits::kMissing;
  if (!usable || n < 1 || std::sqrt(rss / n) < kPerfectFit) {
    loglik = limits::kMissing;
    return;
  }
  loglik = -(n * 0.5) * (std::log(2.0 * std::numbers::pi * rss / n) + 1.0);
}

void GAUSSLOGLIK(std::span<const double> data, std::span<const double> jacobian,
                 std::span<const double> y, std::span<const int> list,
                 std::span<const double> beta, int n, int k, int ld, int offset, double sigma,
                 std::span<double> loglik, double& sum) {
  constexpr double kHalfLog2Pi = 0.9189385332046727;
  sum = 0.0;
  if (n < 1) return;
  const auto un = static_cast<std::size_t>(n);
  if (k < 0 || ld < 1 || offset < 0 || jacobian.size() < un || y.size() < un ||
      loglik.size() < un || list.size() < static_cast<std::size_t>(k) + 1 ||
      beta.size() < static_cast<std::size_t>(k) || offset + n > ld)
    throw std::invalid_argument("GAUSSLOGLIK: argument shorter than the sample");
  for (int j = 1; j <= k; ++j)
    if (list[j] < 1 || static_cast<std::size_t>(list[j]) * ld > data.size())
      throw std::invalid_argument("GAUSSLOGLIK: regressor column outside the data");

  if (!(sigma > 0.0)) {
    for (std::size_t t = 0; t < un; ++t) loglik[t] = limits::kMissing;
    sum = limits::kMissing;
    return;
  }
  const double c0 = -std::log(sigma) - kHalfLog2Pi;
  bool complete = true;
  for (int t = 1; t <= n; ++t) {
    double fit = 0.0;
    for (int j = 1; j <= k; ++j)
      fit += data[static_cast<std::size_t>(list[j] - 1) * ld + (offset + t - 1)] * beta[j - 1];
    const double e = (y[t - 1] - fit) / sigma;
    const double l = c0 - 0.5 * e * e + std::log(std::fabs(jacobian[t - 1]));
    if (!std::isfinite(l)) {  // a zero Jacobian term or an overflowing residual
      loglik[t - 1] = limits::kMissing;
      complete = false;
      continue;
    }
    loglik[t - 1] = l;
    sum += l;
  }
  if (!complete) sum = limits::kMissing;
}

}  // namespace qorv::core
