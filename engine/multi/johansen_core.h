// The reduced-rank regression of a cointegrating VAR on plain arrays, free of dialogues and
// of the work array: the short-run regressors are concentrated out of the differences and
// of the lagged levels, and the generalised eigenvalue problem of the two residual blocks
// gives the eigenvalues, the cointegrating vectors and the adjustment matrix. The
// estimation dialogue, the critical-value simulation and the benchmark all call it.
#pragma once

#include <span>
#include <vector>

namespace qorv::multi {

/// Deterministic cases: 1 none, 2 restricted intercept, 3 unrestricted intercept,
/// 4 restricted trend, 5 unrestricted trend.
inline constexpr int kFirstCase = 1;
inline constexpr int kLastCase = 5;

/// The caller's tolerance: eigenvalues of S11 at most this fraction of the largest count as
/// zero (the direction is dropped), and so do final eigenvalues below its square.
inline constexpr double kJohansenTolerance = 1e-11;

/// The data of one estimation.
struct JohansenData {
  int m = 0;           ///< endogenous I(1) variables
  int e = 0;           ///< exogenous I(1) variables
  int d = 0;           ///< I(0) variables
  int p = 1;           ///< order of the VAR in levels
  int model_case = 3;  ///< 1 to 5
  int n = 0;           ///< usable observations
  /// The m endogenous then e exogenous I(1) series, column-major with n + p rows: row
  /// p + t - 1 (from 0) holds observation t = 1..n of the sample, the p rows before it the
  /// initial values.
  std::span<const double> levels;
  /// The d I(0) series at the sample's observations, column-major with n rows.
  std::span<const double> stationary;
};

/// Columns of the levels block: m + e, plus 1 in cases 2 and 4.
int levels_columns(const JohansenData& data);
/// Short-run regressors: (p - 1)(m + e) + d, plus 1 in cases 3 and 4, plus 2 in case 5.
int short_run_columns(const JohansenData& data);

/// What the estimation leaves (S matrices not divided by n).
struct JohansenFit {
  int m = 0;
  int k = 0;
  std::vector<double> eigenvalues;  ///< k, descending; below tol² or of a dropped direction 0
  std::vector<double> beta;         ///< k × k, column-major; β'S11β = I over the positive eigenvalues
  std::vector<double> alpha;        ///< m × k, S01·β
  std::vector<double> s00;          ///< packed m × m, R0'R0
  std::vector<double> s01;          ///< m × k, R0'R1
  std::vector<double> s11;          ///< packed k × k, R1'R1
  std::vector<double> r0;           ///< n × m residuals of the differences
  std::vector<double> r1;           ///< n × k residuals of the levels block
  double ll0 = 0.0;                 ///< log-likelihood of the model without cointegration
};

enum class JohansenFailure {
  kNone,
  kSingular,  ///< Z'Z or R0'R0 singular: message-file lines 13 and 14
  kEigen,     ///< the eigenvalues did not converge: kEigenFailureText
};

/// The short-run regressors Z (n × kreg, column-major) in their order: the I(0) variables;
/// the lagged differences, all lags of each I(1) variable together; ones in cases 3 and 4;
/// ones and the trend 1..n in case 5.
std::vector<double> short_run_regressors(const JohansenData& data);

/// Eigenvalues (descending) and eigenvectors (k × k, column-major, in the same order) of a
/// packed symmetric matrix, by the tridiagonal reduction and the QL solver at tolerance
/// `tol`. False when the solver did not converge.
bool symmetric_eigen(const std::vector<double>& packed, int k, double tol, std::vector<double>& values,
                     std::vector<double>& vectors);

/// The whole estimation. `fit` is complete only when the result is kNone.
/// Throws std::invalid_argument when the arrays do not hold the stated shape.
/// Cost: O(n·(kreg² + (m + k)·kreg + k²) + kreg³ + k³).
JohansenFailure johansen_estimate(const JohansenData& data, double tol, JohansenFit& fit);

/// The eigenvalue problem of given residual blocks r0 (n × m) and r1 (n × k), which `fit`
/// must hold: fills the S matrices, the eigenvalues, β, α and LL0.
JohansenFailure JOHANSENEIGEN(int n, double tol, JohansenFit& fit);

}  // namespace qorv::multi
