// The report of a single-equation estimate on the results page: the coefficient table,
// the fit block and the statistics block, and the numbers behind them.
//
// Column map of the 79-column lines (columns from 1):
//   heading    " Regressor" 2-10, "Coefficient" 25-35, "Standard Error" 43-56,
//              "T-Ratio[Prob]" 66-78
//   row        name from 2 (up to 14 characters), coefficient field 26-34, standard error
//              44-53 (field 45-53), T-ratio 63-72 (field 64-72), "[p]" 73-78
//   fit and statistics blocks: first label from 2, its value 28-37, second label from 41,
//              its value 69-78; where a probability follows the second value (F, Durbin's
//              h, Sargan) the value ends earlier so that "[p]" ends by column 78.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qorv::single {

/// The fit measures of an estimate (`FITSTATS`). Missing values hold the missing code.
struct FitStatistics {
  double rss = 0.0;            ///< Σ e²
  double dw = 0.0;             ///< Durbin-Watson statistic
  double sigma = 0.0;          ///< standard error of the regression
  int df = 0;                  ///< degrees of freedom of sigma
  double r2 = 0.0;             ///< R-squared
  double rbar2 = 0.0;          ///< R-bar-squared
  double gr2 = 0.0;            ///< generalised R-squared (IV-type methods)
  double grbar2 = 0.0;         ///< generalised R-bar-squared
  double f = 0.0;              ///< F statistic of the regressors but the intercept
};

/// The fit measures of n residuals `e`, k regressors, first residual index l, the
/// dependent variable's variance V (divisor n − 1) and, for IV-type methods, the sum of
/// squared generalised residuals `grss` (pass the missing code otherwise); with
/// `print` the fit block is written on `channel`:
///   " R-Squared" / "R-Bar-Squared", for IV-type methods " GR-Squared" /
///   "GR-Bar-Squared", then " S.E. of Regression" / "F-stat." F(k − 1, df) with its
///   probability ("N/A" when variances divide by n).
/// Cost: O(n).
FitStatistics FITSTATS(int method_code, std::span<const double> e, int k, int l, double variance,
                       double grss, bool print, int channel);

/// Durbin's h, (1 − DW/2)·sqrt(n/(1 − n·v)) for the variance v of the lagged dependent
/// variable's coefficient; missing when DW or v is missing or 1 − n·v is below 1e-11.
double durbin_h(double dw, int n, double v);

/// The statistics block of the current estimate (`REGSTATS`) on `channel`: means, RSS and
/// log-likelihood (or IV minimand), information criteria, DW with Durbin's h or Sargan's
/// statistic, and the closing rule.
void REGSTATS(const FitStatistics& fit, int channel);

/// The centred "Based on" line that names the adjusted variance kind in use
/// (globals().adjusted_variance_kind 2..6: White's, or Newey-West with its weights and
/// truncation lag) on `channel`; nothing for the standard matrix.
void ADJUSTEDVARIANCENOTE(int channel);

/// The coefficient table of the current estimate (`REGRESSIONTABLE`, mode 0): the title,
/// the equation and sample lines, and one row per regressor with the estimate, its
/// standard error (the missing code prints "*NONE*"), the T-ratio and its two-sided
/// probability on NUSED − NREGS degrees of freedom. Method code 50 leaves out the title.
/// An adjusted variance kind adds its note (ADJUSTEDVARIANCENOTE); `adjusted` (packed, absolute), when given, supplies the
/// standard errors in place of the estimate's own matrix.
void REGRESSIONTABLE(int method_code, int channel, std::span<const double> adjusted = {});

/// The three pieces written after an estimate: the table, the fit block and the
/// statistics block. Returns the fit measures.
FitStatistics write_estimate_report(int channel);

/// `FITSUMMARYLINE`: the one-line summary of a model in the model-comparison reports,
/// `label` (such as " Model M1:    DW") followed by the Durbin-Watson statistic,
/// ";R-Bar-Squared" and R-bar-squared, ";Log-likelihood" and the log-likelihood, each
/// number a 10-column piece (a blank and the 9-column field) directly after the text
/// before it. Written on `channel` and returned.
std::string FITSUMMARYLINE(std::string_view label, double dw, double rbar2, double loglik, int channel);

/// The one row of the coefficient table for `name`, `estimate` and `std_error` with
/// `df` degrees of freedom (79 columns).
std::string coefficient_row(const std::string& name, double estimate, double std_error, int df);

}  // namespace qorv::single
