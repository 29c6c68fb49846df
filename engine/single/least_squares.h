// The linear estimators of a single equation: ordinary least squares, the residual summary
// that most methods start from, and the two-stage least-squares core of the IV methods.
// All of them read the current equation from the estimation state (EQVARLIST, INSTRLIST,
// NREGS, NINSTR, NUSED, the actual values of the dependent variable in the result array)
// and the data columns from the data matrix over the engine's sample, and write their
// results back into the estimation state.
#pragma once

namespace qorv::single {

/// Ordinary least squares of the dependent variable on the NREGS regressors over NUSED
/// observations from the sample start: the coefficients, fitted values, residuals, RSS and
/// the packed (X'X)⁻¹ as the scaled variance matrix. The cross products are summed in
/// extended precision and the solution is refined once, so that residuals keep the digits
/// of the data even when X'X is badly conditioned. Returns 0, or 1 when X'X is singular to
/// the packed inverse's relative pivot test (message-file lines 13-14 when `show_message`),
/// when a value is not finite or when scratch memory is short (the disk-space box); the
/// status word is then 1 and no result is written. Cost: n·k²/2 + k³/2 + 4·n·k.
/// Data whose squares overflow (the dependent variable or a regressor) are refused before
/// the cross products are formed: status 1 and, when `show_message`, an error box naming
/// the variable as too large to be used.
int ORDINARYLEASTSQUARES(bool show_message);

/// Unless the method is IV (5) or ARDL long run (80), runs `ORDINARYLEASTSQUARES` and
/// stops when it fails (status 1). Then RSS = Σ residuals² over NUSED observations, SIGMA
/// and LOGLIK from the normal log-likelihood (LOGLIK missing for a perfect fit).
/// `mean_square` = RSS / NUSED and `loglik` = LOGLIK on return.
void RESIDUALSUMMARY(double& mean_square, double& loglik, bool show_message);

/// Two-stage least squares of the dependent variable on the NREGS regressors with the
/// NINSTR instruments: b = (X'P X)⁻¹ X'P y, P the projection on the instruments.
/// Writes the coefficients, fitted values x'b, residuals y − x'b, RSS, the generalised
/// residuals y − x̂'b (x̂ the instrument projection of x) and GRSS, the IV minimand
/// (the second-stage residual sum of squares), SIGMA, LOGLIK and the scaled variance
/// matrix (X'P X)⁻¹. For the ARDL long run (code 80) the residuals are scaled by
/// LRMULTIPLIER and the fitted values become y minus them.
/// Fails (status 1) on a singular instrument or second-stage matrix (message-file lines
/// 11-12 when `show_message`) or short memory (the disk-space box), and refuses data whose
/// squares overflow (dependent variable, regressor or instrument) as ORDINARYLEASTSQUARES does.
/// Cost: n·l²/2 + l³ + n·l·k + l·k² + O(k³), l = NINSTR.
void LSQCORE(bool show_message);

/// The estimator of method 1: `RESIDUALSUMMARY`, whose log-likelihood is also the first
/// stage's.
void estimate_ols(bool interactive);

/// The estimator of method 5: `LSQCORE`.
void estimate_iv(bool interactive);

}  // namespace qorv::single
