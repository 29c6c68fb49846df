// Least squares through the packed cross-product matrix: the workhorse PACKEDXTXSOLVE, the
// GLS-type fit PACKEDPRODUCT and the one-observation quadratic form PACKEDQUADFORMS.
//
// Data columns: `data` is the work array (or any array laid out like it). Observation t
// (t = 1..n) of variable v is element (v − 1)·ld + offset + t, counting elements from 1,
// where offset is the sum of the offsets passed. Regressor j (1..k) is variable list[j] of
// the equation's variable-number list, whose entry list[0] is the dependent variable and is
// skipped. The cross-product matrix comes from symmetric_cross_products (cross_products.h);
// of the sums L'y of a fit, the first estimate's are compensated (compensated_sums.h) and
// the refinement step's run in extended precision.
//
// Arguments that do not fit (a column outside `data`, a list shorter than k + 1, an output
// shorter than stated, y sharing storage with fitted or work) throw std::invalid_argument
// before anything is written.
#pragma once

#include <span>

namespace qorv::core {

/// PACKEDXTXSOLVE modes.
inline constexpr int kSolveReuseInverse = 1;  ///< M already holds (X'X)⁻¹: build nothing
inline constexpr int kSolveInverseOnly = 2;   ///< build and invert X'X, then return

/// Least squares of y (n values) on the k regressors over n observations.
/// 1. Unless mode = 1: M (packed, order k) = X'X, then INVERTSYMPACKED(M); on failure
///    fail = 1 and the routine returns before it touches b, fitted, work or rss.
/// 2. mode = 2 returns here with M = (X'X)⁻¹.
/// 3. b (k) = M·X'y, refined once by b += M·X'(y − X·b) (this keeps the estimates and
///    residuals accurate to the data's precision where the explicit inverse alone loses the
///    digits that the condition of X'X costs); fitted (n) = X·b; work (max(k, n) values) =
///    the residuals y − X·b; rss = Σ residuals².
/// fail = 0 on success, 1 on a singular X'X (the numerical-failure word is then 1 too), on a
/// non-finite value of y (nothing written) or on estimates that overflow.
/// With mode 1 the same inverse serves several dependent columns.
/// Cost: n·k²/2 multiply-adds for X'X (none with mode 1), k³/2 for the inverse, 4·n·k for
/// the refined fit.
void PACKEDXTXSOLVE(std::span<const double> data, long offset1, std::span<const double> y,
                    std::span<const int> list, int k, int n, int ld, long offset2, int mode,
                    std::span<double> b, std::span<double> fitted, std::span<double> work,
                    double& rss, std::span<double> M, int& fail);

/// The regression of a column z (n values) on the k regressors through a given
/// M = (X'X)⁻¹, as PACKEDXTXSOLVE leaves it: b (k) = M·X'z refined once as there, work
/// (max(k, n) values) = z − X·b, taken as the first estimate's residuals less X times the
/// refinement step; `scratch` (n values) is working storage. The sums X'z run in the vector
/// units, the first estimate's as plain fused sums and the refinement step's compensated,
/// none in extended precision: this serves auxiliary regressions, which add columns to a
/// fitted regression and take their residuals off X explicitly. fail = 1 on a non-finite z
/// (nothing written) or non-finite estimates; the numerical-failure word is not touched.
/// Cost: 3·n·k plus k² for the products with M.
void regress_with_inverse(std::span<const double> data, long offset, std::span<const double> z,
                          std::span<const int> list, int k, int n, int ld, std::span<const double> M,
                          std::span<double> b, std::span<double> scratch, std::span<double> work, int& fail);

/// GLS-type fit with a caller's n × k matrix W of transformed regressors (such as Ω⁻¹X,
/// column-major) chosen so that W'X is symmetric. The regressors x_j are those of the
/// current equation (current_estimation().list, dependent variable first), observation t at
/// (list[j] − 1)·ld + offset + t.
/// 1. M (packed, order k) = W'X, element (i, j) = Σ_t W(t, i)·x_j(t) for j <= i; invert it.
/// 2. On failure fail = 1 and, when `show_message` is non-zero, lines 13 to 14 of the
///    message file are shown; nothing else is written.
/// 3. b (k) = M·W'y, refined once as in PACKEDXTXSOLVE (b += M·W'(y − X·b)); fitted (n) =
///    X·b and work (max(k, n) values) = y − fitted. A non-finite y fails like a singular M.
void PACKEDPRODUCT(std::span<const double> data, std::span<double> M, int k, int ld, long offset,
                   std::span<const double> W, std::span<const double> y, std::span<double> fitted,
                   std::span<double> b, std::span<double> work, int n, int& fail, int show_message);

/// x'·M·x for the regressor values x(j) of one observation, x(j) at element
/// (list[j] − 1)·ld + offset1 + offset2 (from 1); w (k) receives M·x. k <= 0 gives 0.
/// With M = (X'X)⁻¹ this is the prediction-variance factor of that observation.
double PACKEDQUADFORMS(std::span<const double> data, long offset1, std::span<const int> list,
                       long offset2, int ld, int k, std::span<const double> M, std::span<double> w);

}  // namespace qorv::core
