// Regressions with autoregressive (AR) or moving-average (MA) errors: Cochrane-Orcutt
// (code 2), exact maximum likelihood with AR(1) and AR(2) errors (3, 4), Gauss-Newton AR
// (6, 7), with instruments (8, 9), and exact maximum likelihood with MA errors (10, 11),
// with instruments (12, 13). The instrumented variants filter the instruments with the
// same AR or MA filter as the regressors (the lagged residuals of the Gauss-Newton step
// instrument themselves), so that instruments equal to the regressors give the
// least-squares estimate.
//
// Each estimator reads the current equation, its sample and lag list from the estimation
// state (with the user's initial values in the coefficient block after the regression
// coefficients when `user_initial_values` is set), fills the state and returns how it
// ended; it shows no message of its own. The caller shows the message that goes with a
// failure and the iteration-limit dialogue through `on_limit`.
#pragma once

#include <span>

#include "engine/core/ar_kernels.h"
#include "engine/single/optimiser.h"

namespace qorv::single {

/// How an AR or MA estimate ended.
enum class ErrorModelOutcome {
  kEstimated,        ///< the state holds the estimate (convergence word 0, 1 or 2)
  kFirstStepFailed,  ///< the first regression is singular: nothing stored
  kStepFailed,       ///< a regression inside the iteration is singular
  kNoMaStart,        ///< no usable start of the MA recursion
  kNotPositiveDefinite,  ///< the MA variance matrix is not positive definite
  kShortOfMemory,    ///< scratch memory could not be had
  kFailed,           ///< abandoned at the iteration limit, or the search failed
};

/// Codes 2 and 6-9: the Cochrane-Orcutt or Gauss-Newton iteration (limit 40, tolerance
/// 0.001 per AR coefficient); 8 and 9 leave the IV minimand and GRSS of the filtered
/// regression.
ErrorModelOutcome ESTIMATEARITERATIVE(const LimitHandler& on_limit);

/// Codes 3 and 4: the AR(1) false-position search on (1 − r²)·dLL/dr, then (4) the AR(2)
/// scoring search from the lagged cross sums of the OLS residuals. With `interactive`
/// false, same-sign slopes at both ends fail; otherwise the end they point to is taken
/// with the convergence word 2.
ErrorModelOutcome ESTIMATEAREXACT(bool interactive, const LimitHandler& on_limit);

/// Codes 10-13: exact maximum likelihood with MA errors through the optimiser; 12 and 13
/// use the structural residuals of the filtered two-stage least squares and leave its IV
/// minimand and GRSS.
ErrorModelOutcome ESTIMATEMA(const LimitHandler& on_limit);

/// The concentrated criterion of an equation with one AR error lag `lag` at the AR
/// coefficient `r`, the regression coefficients concentrated out, for method `code`:
/// 3 and 4 the exact AR(1) log-likelihood; 2, 6 and 7 the normal log-likelihood of the
/// regression of the filtered data (n − lag observations); 8 and 9 the IV minimand of the
/// filtered two-stage least squares with the instruments `w` (filtered alike). `d` and `w`
/// hold the equation's data over the sample. False when the point cannot be evaluated
/// (outside the stationary region, a singular regression, a perfect fit).
bool concentrated_ar_criterion(const core::RegressionColumns& d, std::span<const double> w, int code, int lag,
                               double r, double& criterion);

/// The same for one MA error lag at the MA coefficient `theta`: the exact log-likelihood
/// with the regression coefficients and the innovation variance concentrated out
/// (methods 10 and 11), its negative, the adjusted IV minimand, with the instruments `w`
/// (12 and 13). False when the point cannot be evaluated.
bool concentrated_ma_criterion(const core::RegressionColumns& d, std::span<const double> w, int code, int lag,
                               double theta, double& criterion);

}  // namespace qorv::single
