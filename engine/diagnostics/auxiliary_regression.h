// The auxiliary regressions of the residual tests: the regressor matrix of the current
// estimate, and the Lagrange-multiplier quadratic form of residuals on those regressors
// and added ones (lagged residuals for serial correlation, squared fitted values for the
// functional form).
#pragma once

#include <vector>

namespace qorv::diagnostics {

/// The columns that stand for the regressors of the current estimate in its residual
/// tests, over the estimation sample.
struct RegressorMatrix {
  int n = 0;              ///< observations (NUSED)
  int k = 0;              ///< columns
  std::vector<double> x;  ///< n × k, column-major
};

/// The regressor matrix of the current estimate: the regressors' data columns (least
/// squares and the equations of systems), their projections on the instruments (IV
/// methods 5 and 80), the derivative matrix at the estimates (non-linear least squares)
/// or its projection on the instruments (code 15). Empty (k = 0) when the estimate does
/// not hold what its method needs or a projection is singular.
/// Cost: n·k for data columns; n·l²/2 + l³/2 + 4·n·l·k with l instruments.
RegressorMatrix regressor_matrix();

/// Whether the estimate's stored variance matrix is (X'X)⁻¹ of the regressor matrix of
/// its residual tests, as formed by the least-squares and instrumental-variable cores for
/// OLS and IV (k regressors): the same columns give the same matrix to the last bit.
bool holds_cross_inverse(int k);

/// `QUADFORMS` modes.
enum QuadMode : int {
  kSerialCorrelation = 1,  ///< added regressors e(t−1) .. e(t−p), zero before the sample
  kFunctionalForm = 2,     ///< the one added regressor ŷ(t)²
};

/// The auxiliary regression of a residual test: the residuals on the regressor matrix X
/// and the added columns Z.
struct AuxiliaryRegression {
  int fail = 1;                 ///< 0 computed; 1 singular cross products or no regressors
  int k = 0;                    ///< columns of X
  int p = 0;                    ///< added columns
  double lm = 0.0;              ///< n·g'Ag/RSS
  double explained = 0.0;       ///< g'Ag: the fall in the residual sum of squares
  std::vector<double> coef;     ///< k + p coefficients of y on [X, Z] (X part: b + that of e on [X, Z])
  std::vector<double> inverse;  ///< packed inverse of the (k + p) partitioned cross-product matrix
};

/// The auxiliary regression of mode `mode` with `p` added columns (mode 2: p = 1) for the
/// current estimate, over its residuals, fitted values and RSS. With g = Z'e and A the
/// block of the partitioned inverse that belongs to Z, A = (Z'MZ)⁻¹ with M the projection
/// off X, computed from Z with its projection on X taken out (so that an error of the
/// estimate's residuals along X does not enter g); LM = n·g'Ag/RSS.
/// fail = 1 when X'X or Z'MZ is singular, p < 1, the estimate has no regressor matrix,
/// RSS is not positive, or a column of X or Z is too large to be squared.
/// The OLS and IV estimates hand over their (X'X)⁻¹, so only the border X'Z is formed.
/// Cost: p·(4·n·k + n·p/2) + p³/2, plus n·k²/2 + k³/2 for other estimates.
AuxiliaryRegression auxiliary_regression(int mode, int p);

/// `QUADFORMS`: the LM statistic of `auxiliary_regression(mode, p)`; fail = 1 (and the
/// missing value returned) when it cannot be computed.
double QUADFORMS(int mode, int p, int& fail);

}  // namespace qorv::diagnostics
