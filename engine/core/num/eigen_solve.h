// Eigenvalues and eigenvectors of a symmetric tridiagonal matrix by the implicit QL method
// with shifts, the step after PACKEDFACTOR's reduction in the cointegration analysis.
#pragma once

#include <span>

namespace qorv::core {

/// The most QL iterations one eigenvalue may take.
inline constexpr int kEigenIterations = 30;

/// What the caller tells the user when EIGENSOLVE fails.
inline constexpr const char* kEigenFailureText =
    "Eigenvalues cannot be calculated accurately! This is due to near multicollinearity or the "
    "presence of very small numbers";

/// On entry d (n) holds the diagonal and e (n) the sub-diagonal in e(2..n) (e(1) unused) of
/// a symmetric tridiagonal T, and z (n × n, column-major) a transformation Q (the identity,
/// or PACKEDFACTOR's Z for A = Z·T·Z'). On return d holds the eigenvalues in ascending order
/// (the first smallest first on a tie) and column j of z the eigenvector of d(j) carried by
/// Q, so that A = z·diag(d)·z'; e is destroyed. An off-diagonal element counts as zero once
/// it is at most tol·(|d(l)| + |e(l)|), the largest such bound met so far. fail = 0, or 1
/// when one eigenvalue needs more than kEigenIterations iterations (a NaN or infinite entry
/// never converges); d and z are then partly transformed. n below 2 returns at once.
/// Throws std::invalid_argument when an array is shorter than stated.
/// Cost: about 3n³ multiply-adds with the vectors.
void EIGENSOLVE(int n, double tol, std::span<double> d, std::span<double> e, std::span<double> z, int& fail);

}  // namespace qorv::core
