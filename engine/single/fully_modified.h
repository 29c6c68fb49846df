// Fully modified least squares of one cointegrating regression: the numerical part, on
// caller-owned arrays, with no dialog and no estimation state. y is regressed on an
// intercept and k stochastic regressors x; the long-run covariance of the least-squares
// residual and the regressors' differences corrects the dependent variable and the
// cross products for endogeneity and serial correlation.
#pragma once

#include <span>
#include <vector>

namespace qorv::single {

/// What the estimate is made from.
struct FullyModifiedInput {
  std::span<const double> y;   ///< n values
  std::span<const double> x;   ///< n × k stochastic regressors, column-major
  std::span<const double> dx;  ///< n × k first differences x_t − x_(t−1), column-major
  int n = 0;
  int k = 0;
  int window = 0;      ///< lag-window type 1..4
  int m = 0;           ///< window length (truncation point), 0..n − 1
  bool drift = false;  ///< centre each difference on its mean
  double threshold = 1e-11;  ///< omega at or below threshold² is refused
};

/// How the estimate ended.
enum class FullyModifiedStatus {
  kEstimated,
  kCollinear,          ///< the cross products of [1, x] cannot be inverted
  kSingularLongRun,    ///< the long-run covariance of the differences cannot be inverted
  kSmallOmega,         ///< omega not above threshold²
  kBadShape,           ///< counts or lengths that do not fit
};

/// The estimate: k + 1 coefficients (intercept first), the packed (X'X)⁻¹ (variance =
/// omega times it), omega, residuals y − X·beta+, their sum of squares and
/// −(n/2)·ln(2π·omega).
struct FullyModifiedResult {
  FullyModifiedStatus status = FullyModifiedStatus::kBadShape;
  std::vector<double> coefficients;
  std::vector<double> inverse;
  double omega = 0.0;
  std::vector<double> residuals;
  double rss = 0.0;
  double loglik = 0.0;
};

/// The fully modified estimate. Cost: n·(k+1)² for the cross products, n·(k+1)²·m for the
/// lagged covariances.
FullyModifiedResult fully_modified(const FullyModifiedInput& input);

}  // namespace qorv::single
