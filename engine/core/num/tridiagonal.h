// Householder reduction of a packed symmetric matrix to tridiagonal form, with the
// transformations accumulated (Wilkinson–Reinsch), which precedes the tridiagonal
// eigenvalue solver of the cointegration analysis.
#pragma once

#include <span>

namespace qorv::core {

/// Reduces A (packed, order n) to the tridiagonal T = Z'·A·Z: d (n) receives the diagonal
/// of T, e (n) its sub-diagonal in e(2..n) with e(1) = 0, and Z (n × n, column-major) the
/// orthogonal transformation, so that A = Z·T·Z'. Row i = n down to 2 is transformed only
/// when the sum of squares of its elements left of the sub-diagonal exceeds tol·s², s being
/// the largest absolute element of A (the callers pass tol = 1e-14; measuring it against
/// the matrix's own scale keeps the result independent of the data's units); otherwise the
/// step keeps the sub-diagonal element. flag = 0, or 1 when A holds a NaN or infinite value
/// (then nothing is written). For n below 2 nothing is done. Cost: about 4n³/3 multiply-adds.
void PACKEDFACTOR(int n, double tol, std::span<const double> A, std::span<double> d,
                  std::span<double> e, std::span<double> Z, int& flag);

}  // namespace qorv::core
