// The Lagrange-multiplier test of residual serial correlation of an order the user
// chooses: the regression with the lagged residuals added and the statistic block.
#pragma once

#include <string>
#include <string_view>

namespace qorv::diagnostics {

/// A statistic line of the test blocks: `label`, `gap` blank columns, "CHSQ(" df in 4
/// columns ")" "=" the 9-column value and its probability (none for a missing or negative
/// value, which prints "*NONE*"); 79 columns.
std::string chi_squared_line(std::string_view label, int gap, double value, int df);

/// The F line of the test blocks: " F Statistic", `gap` blank columns, "F(" df1 in 3
/// columns "," df2 in 4 columns ")" "=" the value and its probability as above.
std::string f_statistic_line(int gap, double value, int df1, int df2);

/// `SARGANTEST`: the statistic block of the test of order p on `channel`, between two rules
/// of 79 "*":
///   least-squares methods (1, 14, 17, 79, 82): " Lagrange Multiplier Statistic" then,
///   4 columns on, "CHSQ(" p ")=" LM [prob]; " F Statistic", 19 columns on, "F(" p in 3
///   columns "," n − k − p in 4 ")=" F [prob], F = ((n − k − p)/p)·LM/(n − LM);
///   IV methods (5, 15, 80): " Sargan's test statistic for serial correlation" and the
///   chi-squared form only;
///   any other method: the opening rule and the closing rule.
/// A missing or negative statistic prints "*NONE*" without a probability.
void SARGANTEST(int method_code, double lm, int p, int n, int k, int channel);

/// The serial-correlation test of order `order` on the current estimate, written on
/// `channel`: the title ("Test of Serial Correlation of Residuals (OLS case)", "(IV case)",
/// "(NLS case)" or "(IV-NLS case)"), the regression table of the dependent variable on the
/// regressors and the lagged residuals " OLS RES(-j)" (" NLS RES(-j)" for the non-linear
/// methods), j = 1..order, lagged residuals before the sample being 0, with the standard
/// errors of that regression on n − k − order degrees of freedom, then `SARGANTEST` with
/// LM = `QUADFORMS` mode 1. When the auxiliary regression cannot be computed (singular cross
/// products, order outside 1..n − k − 1) it shows message-file lines 13-14, writes nothing
/// and returns false. The estimation state is left as it was.
bool SERIALCORRELATIONTEST(int order, int channel);

}  // namespace qorv::diagnostics
