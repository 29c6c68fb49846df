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
///   w(t) = (y(t) − x(t)'b)/sqrt(1 + x(t)'(X'X)⁻¹x(t)), with the coefficients and cross
///   products of observations 1..t−1, the cross products grown by one observation per
///   step and each step solved afresh in extended precision (the recursive estimator's
///   kernel). When m reaches n it shows the error box " First" n − 1 "observations are
///   collinear!" and returns false with no series; false too, silently, when the estimate
///   has no regressor matrix or k + 1 ≥ n. Cost: O(n·k³).
bool RECURSIVERESID(RecursiveResiduals& out);

}  // namespace qorv::diagnostics
