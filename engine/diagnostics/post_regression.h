// The post-regression dialogue: after a single-equation estimate (or the equation of a
// system the user chose to inspect) the results page, then the Post Regression Menu and its
// sub-menus (hypothesis tests, residuals and fitted values, leverage, forecasts) until the
// user leaves.
#pragma once

namespace qorv::diagnostics {

/// `POSTREGRESSION`: prepares the current estimate for its tests (the transformed
/// residuals and their sum of squares), writes and shows the results page, then loops on
/// the Post Regression Menu (1002). Returns when the user chooses option 0 (or cancels),
/// or when a refusal of the Hypothesis Testing Menu ends the dialogue as option 0 does.
/// Reads the estimation state; writes report pages, plot files and, through
/// `SAVERESULTSERIES`, new variables. Must only be called after a successful estimate.
void POSTREGRESSION();

}  // namespace qorv::diagnostics
