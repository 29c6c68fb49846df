// Means, variances, extremes and average ranks of a vector, with and without the
// missing-value code.
#pragma once

#include <span>

namespace qorv::core {

/// mean = Σx / n and variance = Σ(x - mean)² / (n - 1) (two passes, extended precision).
/// With n = 0 both are the missing code; with n = 1 the variance is; so is a mean or a
/// variance too large for a double (values near the largest double). Cost: O(n).
void MEANVAR(std::span<const double> values, double& mean, double& variance);

/// ranks(i) = the mean of the positions j (from 1) at which y(j) equals x(i): with y the
/// sorted x, the average ranks with ties sharing their mean rank. A value of x found
/// nowhere in y gets the missing code. Throws std::invalid_argument unless x, y and ranks
/// have one length. Cost: O(n log n).
void AVERAGERANKS(std::span<const double> x, std::span<const double> y, std::span<double> ranks);

/// Mean and sample variance of the values that are not `missing`; `count` is their number.
/// With count 0 both results are `missing`, with count 1 the variance is, and so is a
/// result too large for a double. Cost: O(n).
void MEANSDMISSING(std::span<const double> values, double& mean, double& variance,
                   double missing, int& count);

/// The largest and smallest values that are not `missing`; both `missing` when there is
/// none. Cost: O(n).
void MINMAXSKIPMISS(std::span<const double> values, double& maximum, double& minimum,
                    double missing);

}  // namespace qorv::core
