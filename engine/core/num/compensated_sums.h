// Compensated sums of products for least squares, each as accurate as if it were summed in
// twice the double precision and then rounded once: the fitted values X·b and residuals
// y − X·b, and the sums X'z of data columns with a vector (beside them, plain fused sums
// X'z and a plain correction of residuals, for first estimates and refinement steps).
//
// Method: every product a·b is split exactly into p + e by a fused multiply-add, and the
// running sum s of the p is kept with its rounding errors (the two-sum of s and p), which
// join the e in a second running sum c; the result is s + c. The error is at most about
// half an ulp of the sum plus k²·2^-106 of Σ|a·b| for k terms (an extended-precision
// sum leaves k·2^-64 of it), and sixteen or more observations proceed side by side in the
// vector units.
//
// The vector paths (AVX-512, or AVX2 with fused multiply-add, chosen at run time with the
// cross-product kernels) and the portable one perform the same operations on each sum in
// the same order, so all give the same result to the last bit.
#pragma once

#include <cstddef>
#include <span>

namespace qorv::core {

/// fitted(t) = Σ_j x_j(t)·coef_j and residual(t) = y(t) − Σ_j x_j(t)·coef_j for t < n,
/// each from one compensated sum over the columns in order (the residual is not rounded
/// through the fitted value). `fitted` and `residual` must not share storage with the
/// columns or y.
void compensated_fit(std::span<const double* const> x, std::span<const double> coef, const double* y,
                     std::size_t n, double* fitted, double* residual);

/// out[j] = Σ_t x_j(t)·z(t), t < n, for the columns of x, each a compensated sum (as
/// accurate as if summed in twice the double precision, then rounded): sixteen running
/// sums side by side, observation t in sum t mod 16, joined in order at the end.
/// Throws std::invalid_argument when `out` is shorter than x.
void compensated_products(std::span<const double* const> x, const double* z, std::size_t n,
                          std::span<double> out);

/// The same sums with plain fused multiply-adds in the sixteen running sums (relative error
/// up to about n/16 · 2^-53 of Σ_t |x_j(t)·z(t)|), joined as above: a fast first estimate
/// that a compensated step corrects.
void fused_products(std::span<const double* const> x, const double* z, std::size_t n, std::span<double> out);

/// residual(t) −= Σ_j x_j(t)·coef_j for t < n, the columns in order, each product rounded
/// and then subtracted: a small correction to residuals already computed (the vector paths
/// and the portable one give the same bits). `residual` must not share storage with the
/// columns.
void subtract_products(std::span<const double* const> x, std::span<const double> coef, std::size_t n,
                       double* residual);

}  // namespace qorv::core
