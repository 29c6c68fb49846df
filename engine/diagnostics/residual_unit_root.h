// The unit-root tests of the residuals of a levels regression (a residual-based test of
// cointegration): Dickey-Fuller and augmented Dickey-Fuller statistics of every order up
// to the one chosen, their information criteria and the 95% critical value for the
// regression's deterministic terms and number of variables.
#pragma once

#include <span>
#include <vector>

#include "engine/core/unit_root_regressions.h"

namespace qorv::diagnostics {

/// The deterministic terms found among the regressors and the stochastic ones left.
struct RegressorTerms {
  bool intercept = false;  ///< some regressor column is constant
  bool trend = false;      ///< some regressor column is a linear trend
  int stochastic = 0;      ///< u: the regressors less the intercept and the trend
};

/// Whether `column` is a linear trend: its first differences are not all zero and agree
/// within 1e-9 of their largest magnitude (so that a trend made as T/10, whose differences
/// are unequal in binary, is still found). False for fewer than 2 values.
bool is_trend(std::span<const double> column);

/// The terms of the current estimate's regressor columns over the engine's sample; the
/// non-linear methods have no regressor columns (no terms, u = 0).
RegressorTerms regressor_terms();

/// Row of the critical-value table: 2(u + 1) + trend with an intercept and u <= 5; 1
/// without an intercept, trend or stochastic regressor; otherwise 0 (no critical value).
int residual_table_index(const RegressorTerms& terms, bool non_linear);

/// The statistics of orders 0..h of the residuals `e`.
struct ResidualUnitRoot {
  int h = 0;                 ///< highest order
  int observations = 0;      ///< N = n − h − 1, common to every order
  int table_index = 0;       ///< row of the critical-value table, 0 for none
  double critical_value = 0.0;  ///< −(b0 + b1/N + b2/N²), missing when the index is 0
  std::vector<core::AdfRegression> orders;  ///< j = 0..h: statistic, LL, AIC, SBC, HQC (c = j + 1)
};

/// Runs `DIFFTRATIO` for j = 0..h over the common N observations of `e` and forms the
/// criteria and the critical value of row `table_index`. Cost: about Σ_j N·(j + 2)³/2.
ResidualUnitRoot residual_unit_root(std::span<const double> e, int h, int table_index);

/// `RESIDUNITROOT`: the page of the tests of order 0..h on the current estimate's
/// residuals, written on the open results page: the centred title "Unit root tests for
/// residuals", the "Based on" header, the table, the critical value, the warning
/// " ***WARNING: No intercept in original regression!***" for the least-squares methods
/// without an intercept, " Critical value not available for the number of regressors in
/// the regression!" when u > 5, and the legend. The estimate is not changed.
void RESIDUNITROOT(int h);

/// Hypothesis Testing Menu option 3 after its order question: the busy notice, then
/// `RESIDUNITROOT` on a page of its own.
void write_residual_unit_root_page(int h);

}  // namespace qorv::diagnostics
