// The estimator of one equation of a system estimated as a whole: the runner takes the
// equation's share of the system estimate instead of estimating it.
#pragma once

namespace qorv::single {

/// Puts the system's share (`estimation().system_share`) of the current equation into
/// the estimation state: the coefficients and their absolute variance matrix, the fitted
/// values and residuals over the sample, the residual sum of squares, and the standard
/// error and log-likelihood of the regression (degrees of freedom n − k plus the
/// engine's adjustment). Fails (status 1) when the share does not fit the equation.
void estimate_system_share(bool interactive);

}  // namespace qorv::single
