// What the AR and MA estimators share: the equation's data over the sample, least squares
// on copied columns, and storing an estimate into the estimation state.
#pragma once

#include <span>
#include <vector>

#include "engine/core/ar_kernels.h"

namespace qorv::single {

/// The dependent variable and the regressors of the current equation over the sample.
core::RegressionColumns equation_columns();

/// Least squares of y on the columns of x (n rows, column-major, k columns).
struct ColumnFit {
  std::vector<double> b;
  std::vector<double> residuals;
  std::vector<double> inverse;  ///< packed (X'X)⁻¹
  double rss = 0.0;
};

/// Returns false when X'X is singular or a value is not finite.
bool fit_columns(std::span<const double> y, std::span<const double> x, int n, int k, ColumnFit& fit);

/// Stores the coefficients (regression, then error parameters), the packed variance
/// matrix and its scale, the residuals (one per observation) and fitted = actual − residual.
void store_estimate(std::span<const double> coefficients, std::vector<double> variance, bool scaled,
                    std::span<const double> residuals);

}  // namespace qorv::single
