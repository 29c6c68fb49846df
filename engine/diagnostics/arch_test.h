// The test of autoregressive conditional heteroscedasticity of the residuals: the squared
// residuals regressed on an intercept and their own lags.
#pragma once

#include <span>
#include <vector>

namespace qorv::diagnostics {

/// The auxiliary regression of the ARCH test of order p and its statistics.
struct ArchTest {
  int fail = 1;                 ///< 0 computed; 1 too few observations, p < 1 or a singular regression
  int p = 0;                    ///< order: lags of the squared residuals
  int n = 0;                    ///< observations of the auxiliary regression, n − p
  int df = 0;                   ///< its residual degrees of freedom, n − 2p − 1
  std::vector<double> coef;     ///< intercept, then the coefficients of e²(t−1) .. e²(t−p)
  std::vector<double> se;       ///< their standard errors
  double r2 = 0.0;              ///< R-squared of the auxiliary regression
  double lm = 0.0;              ///< (n − p)·R², chi-squared(p); the missing value when not computed
  double f = 0.0;               ///< (R²/p)/((1 − R²)/(n − 2p − 1)) on (p, n − 2p − 1); missing likewise
};

/// `ARCHTEST`: e(t)² on 1 and e(t−1)² .. e(t−p)² over t = p+1 .. n of the residuals `e`.
/// LM and F are the missing value when the squared residuals do not vary, R² is 1 or the
/// squared residuals are too large to be squared again.
/// Cost: (n − p)·(p + 1)²/2 + (p + 1)³/2.
ArchTest ARCHTEST(std::span<const double> e, int p);

/// The results page of the ARCH test of order p on the current estimate's residuals:
/// the title, the "Based on" header, the auxiliary regression's table and the LM and F
/// statistics.
void write_arch_page(int p);

}  // namespace qorv::diagnostics
