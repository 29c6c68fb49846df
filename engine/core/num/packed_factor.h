// Inversion and Cholesky factorisation of packed symmetric matrices.
//
// Both routines factor A = U'U row by row with U upper triangular, and both decide
// singularity the same way, independently of the data's units: the matrix is first scaled
// to D·A·D, D = diag(2^-e_i) with 2^e_i close to sqrt(a_ii) (powers of two, so the scaling
// is exact and changes no digit of the result), and the only test is the relative one:
// the reduced pivot ratio t = 1 − s/a, with s the sum of squares above the diagonal in
// column i of U and a the diagonal of the scaled matrix, must not be below 1e-11 (the
// reduced pivot must be at least 1e-11 of its diagonal). A diagonal that is not positive
// and any NaN or infinite element are failures too. Inner sums run in extended precision.
#pragma once

#include <span>

namespace qorv::core {

/// Smallest accepted reduced pivot ratio of the packed factorisations.
inline constexpr double kPivotRatio = 1e-11;

/// Replaces the packed symmetric matrix `a` of order n (n(n+1)/2 values, PACKEDINDEX
/// layout) by its inverse. fail = 0 on success; fail = 1 when the matrix is not positive
/// definite to the relative pivot test, holds a non-finite value or has an inverse that
/// overflows. On failure `a` is partly overwritten (callers treat it as lost) and the
/// numerical-failure word is set to 1. n = 0 does nothing.
/// Cost: about n³/2 multiply-adds. Throws std::invalid_argument when n < 0 or `a` is too
/// short.
void INVERTSYMPACKED(std::span<double> a, int n, int& fail);

/// Replaces the packed symmetric matrix `a` of order n by its Cholesky factor U (A = U'U),
/// U(i, j), i <= j, at PACKEDINDEX(i, j): the same storage as the lower factor L = U'
/// (A = L·L') stored row by row. fail = 1 on entry and 0 on success; the failures and the
/// numerical-failure word are as for INVERTSYMPACKED. ln det A = 2·Σ ln U(i, i).
/// Cost: about n³/6 multiply-adds.
void PACKEDCHOLESKY(std::span<double> a, int n, int& fail);

}  // namespace qorv::core
