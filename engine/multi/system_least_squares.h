// Least squares of the equations of a system that share one regressor matrix, and the
// cross products of their residuals.
#pragma once

#include <span>
#include <vector>

namespace qorv::multi {

/// Least squares of several dependent columns on one regressor matrix X (n × k,
/// column-major). Writes k × (number of dependents) coefficients, the fitted values and the
/// residuals (n × dependents). With k = 0 the residuals are the dependents. False on a
/// singular cross-product matrix. Cost: n·k²/2 + k³/2 + 2·n·k per dependent.
bool solve_columns(std::span<const double> X, int n, int k, std::span<const std::vector<double>> ys,
                   std::vector<double>& coef, std::vector<double>& fitted, std::vector<double>& residuals);

/// Packed E'E / divisor of the n × m residual matrix E (column-major).
std::vector<double> residual_moments(std::span<const double> E, int n, int m, double divisor);

}  // namespace qorv::multi
