// The residual statistics of the diagnostic table that need no auxiliary regression, and
// the rule that turns a Lagrange-multiplier statistic into its F version.
#pragma once

#include <span>

namespace qorv::diagnostics {

/// The F version of an LM statistic on q restrictions with d denominator degrees of
/// freedom over n observations: (d/q)·LM/(n − LM); −1 when |LM − n| < 1e-10 or q < 1.
/// Callers print a negative result as the missing value.
double lm_to_f(double lm, int n, int q, int d);

/// `HETEROTEST`: n times the squared correlation of the squared residuals e² with the
/// squared fitted values f², both divided by sigma² and centred on their means (divisor
/// n). Returns the statistic and sets fail = 0, or sets fail = 1 (and returns the missing
/// value) when n < 4, the spans differ in length, sigma is below `tolerance`, or either
/// centred sum of squares is below `tolerance`. Cost: O(n).
double HETEROTEST(std::span<const double> e, std::span<const double> f, double sigma, double tolerance,
                  int& fail);

/// `NORMALITYTEST`: from the raw moments m_j = Σe^j/n, n·[m3²/(6·m2³) + (m4/m2² − 3)²/24 +
/// 1.5·m1²/m2 − m1·m3/m2²], chi-squared on 2 degrees of freedom. fail = 0; the missing value
/// when m2 is 0 or n < 1. Cost: O(n).
double NORMALITYTEST(std::span<const double> e, int& fail);

}  // namespace qorv::diagnostics
