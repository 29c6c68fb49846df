// The tables that follow the coefficient table of an estimate with AR or MA errors (the
// error equation with its standard errors and t-ratios) and of a GARCH estimate (the
// conditional-variance equation).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace qorv::diagnostics {

/// What the error-parameter table shows.
struct ErrorParameters {
  int method = 0;                 ///< method code: below 10 AR errors, otherwise MA errors
  std::vector<int> lags;          ///< lag of each error parameter
  std::vector<double> values;     ///< the estimates, one per lag
  std::vector<double> std_errors; ///< their standard errors (the missing value: none)
  std::array<double, 3> loglik{}; ///< log-likelihoods after OLS, the AR(1) and the AR(2) stage
  bool unstable = false;          ///< the AR process is not stationary: no t-ratios
  int roots_at_one = 0;           ///< MA roots at 1
  int roots_at_minus_one = 0;     ///< MA roots at −1
  int complex_unit_roots = 0;     ///< complex MA roots on the unit circle
};

/// The error-parameter table on `channel`:
///   the centred title "Parameters of the Autoregressive Error Specification" (AR) or
///   "Parameters of the Moving Average Error Specification" (MA);
///   the error equation " U=" value "*U(-" lag ")+" ... "E" (AR) or " U=E+" value "*E(-"
///   lag ")" "+" ... (MA), one blank before each term, values in 6 decimals without
///   leading blanks, a term that would pass column 79 starting a new line 5 columns in;
///   under each term its standard error "(" value ")" or "[NONE]", then the line
///   " Asymptotic T-Ratio" with the t-ratios in 9-column fields, six to a line ("[NONE]"
///   where a standard error is missing or below 1e-11, and for all when unstable), and
///   " T-ratio(s) based on asymptotic standard errors in brackets";
///   for exact ML (methods 3 and 4) the likelihood-ratio line of AR(1) against OLS, and
///   for method 4 that of AR(2) against AR(1), each with its chi-squared(1) probability;
///   the instability warning, the MA unit-root warnings, and a closing rule.
void ERRORPARAMETERTABLE(const ErrorParameters& table, int channel);

/// Forms of the conditional-variance equation.
enum class GarchForm {
  kPlain,        ///< explains H-SQ
  kAbsolute,     ///< explains H
  kExponential,  ///< explains log H-SQ
};

/// What the GARCH parameter table shows. Parameters come in this order: the constant,
/// the ARCH terms, the asymmetric terms (exponential form), the GARCH terms, the named
/// parameters, and with Student-t errors the degrees of freedom.
struct GarchParameters {
  GarchForm form = GarchForm::kPlain;  ///< the variance equation's form
  std::vector<int> arch_lags;          ///< lags of the ARCH terms
  std::vector<int> asymmetric_lags;    ///< lags of the asymmetric terms (exponential form)
  std::vector<int> garch_lags;         ///< lags of the GARCH terms
  bool student_t = false;              ///< Student-t errors: a last row of degrees of freedom
  std::vector<std::string> names;      ///< names of the in-mean and further parameters
  std::vector<double> values;          ///< the estimates in the order above
  std::vector<double> std_errors;      ///< their asymptotic standard errors
};

/// The parameter table of the conditional-variance equation on `channel`: the centred
/// title "Parameters of the Conditional Heteroscedastic Model" and the form's subtitle,
/// the headings "Coefficient" (columns 25-35) and "Asymptotic Standard Error" (43-67), one
/// row per parameter (label from column 2, the estimate in columns 27-35, its standard
/// error in 51-59), a rule, the legends of the form, and for the plain form whose ARCH and
/// GARCH coefficients sum to 1 or more the warning that the unconditional variance is
/// undefined. Rows missing from `values` print "*NONE*".
void GARCHPARAMETERTABLE(const GarchParameters& table, int channel);

}  // namespace qorv::diagnostics
