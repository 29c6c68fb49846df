// What the AR and MA estimators share: the equation's data over the sample, least squares
// on copied columns, and storing an estimate into the estimation state.
#pragma once

#include <span>
#include <vector>

#include "engine/core/ar_kernels.h"

namespace qorv::single {

/// The dependent variable and the regressors of the current equation over the sample.
core::RegressionColumns equation_columns();

/// The instrument columns of the current equation over the sample (column-major, NUSED
/// rows, NINSTR columns); empty for a method without instruments.
std::vector<double> instrument_columns();

/// Least squares (or two-stage least squares) of y on the columns of x (n rows,
/// column-major, k columns).
struct ColumnFit {
  std::vector<double> b;
  std::vector<double> residuals;  ///< y − X·b
  std::vector<double> inverse;    ///< packed (X'X)⁻¹, or (X̂'X̂)⁻¹ with instruments
  double rss = 0.0;               ///< Σ residuals²
  double grss = 0.0;              ///< instruments: Σ (y − X̂·b)², X̂ the projection of X
  double minimand = 0.0;          ///< instruments: the IV minimand, Σ (ŷ − X̂·b)²
};

/// Returns false when X'X is singular or a value is not finite.
bool fit_columns(std::span<const double> y, std::span<const double> x, int n, int k, ColumnFit& fit);

/// Two-stage least squares of y on x with the l instrument columns w (n rows each); with
/// w empty, least squares. False when a stage is singular.
bool fit_instrumented(std::span<const double> y, std::span<const double> x, std::span<const double> w, int n,
                      int k, ColumnFit& fit);

/// The IV statistics of coefficients b: the sum of squared generalised residuals
/// Σ (y − X̂·b)² (X̂ the projection of X on the instruments w) into `grss` and the IV
/// minimand, the squared length of the projection of y − X·b, into `minimand`. False
/// when the instrument cross products are singular.
bool iv_statistics(std::span<const double> y, std::span<const double> x, std::span<const double> w, int n, int k,
                   std::span<const double> b, double& grss, double& minimand);

/// Stores the coefficients (regression, then error parameters), the packed variance
/// matrix and its scale, the residuals (one per observation) and fitted = actual − residual.
void store_estimate(std::span<const double> coefficients, std::vector<double> variance, bool scaled,
                    std::span<const double> residuals);

}  // namespace qorv::single
