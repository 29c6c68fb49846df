// The White and Newey-West adjusted variance matrix of the current estimate: the lag-window
// sandwich fed from the estimation state (regressors, instruments or the non-linear
// Jacobian, residuals and the unscaled variance matrix). No dialog.
#pragma once

#include <vector>

namespace qorv::single {

/// Whether the estimate of method `code` has an adjusted variance matrix (OLS, IV, NLS,
/// IV-NLS, an error-correction equation, ARDL, the ARDL long run, a VAR equation).
bool has_adjusted_variance(int code);

/// The adjusted variance matrix (packed, NREGS × NREGS) of the current estimate for
/// option 2 (White) or 3..6 (Newey-West, window option − 2) and truncation point m. The
/// instrumental-variable codes 5, 15 and 80 build S on the instruments and map it with
/// P = (W'W)⁻¹W'X; codes 14 and 15 use the Jacobian the estimator kept as X; code 80's
/// residuals are divided by LRMULTIPLIER. Empty when the method has none, the stored
/// matrix is not the scaled one, the option or m is out of range, or the instruments'
/// cross products are singular.
std::vector<double> estimate_adjusted_variance(int option, int m);

}  // namespace qorv::single
