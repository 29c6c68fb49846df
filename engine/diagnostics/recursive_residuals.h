// Recursive residuals of a least-squares estimate, for the CUSUM and CUSUM of squares
// plots.
#pragma once

#include <vector>

namespace qorv::diagnostics {

/// The recursive residuals of the current estimate.
struct RecursiveResiduals {
  int m = 0;              ///< observations of the first regression that could be solved
  std::vector<double> w;  ///< NUSED values: the missing value for 1..m, then w(m+1)..w(n)
};

/// `RECURSIVERESID`: m = k + 1; the regression on the first m observations is solved,
/// m growing while its cross products are singular. Then for t = m+1..n:
///   f(t) = 1 + x(t)'(X'X)⁻¹x(t) and w(t) = (y(t) − x(t)'b)/sqrt(f(t)), with the inverse
///   and the coefficients of observations 1..t−1, both then updated by the rank-one step
///   (X'X)⁻¹ − (X'X)⁻¹xx'(X'X)⁻¹/f(t), b + (X'X)⁻¹x·(y(t) − x(t)'b)/f(t)
/// (in extended precision). When m reaches n it shows the error box " First" m − 1
/// "observations are collinear!" and returns false with no series; false too, silently,
/// when the estimate has no regressor matrix. Cost: O(n·k²).
bool RECURSIVERESID(RecursiveResiduals& out);

}  // namespace qorv::diagnostics
