// Vector routines that move regression data in and out of the work array: the block
// re-layout of data columns, the copy of an equation's variables, residuals y − Xb and a
// regression through a stored triangular factor.
//
// Data columns as in packed_least_squares.h: observation t of variable v is element
// (v − 1)·ld + offset + t (from 1); regressor j is variable list[j], list[0] being the
// dependent variable. Arguments that do not fit their arrays throw std::invalid_argument.
#pragma once

#include <span>

namespace qorv::core {

/// Rewrites the nb consecutive blocks of g values that start after element `offset` of
/// `data` (0-based index offset is the first value) as nb blocks of f = lead + g + trail
/// values from the same start: each block becomes `lead` fill values, the old block, then
/// `trail` fill values. Blocks move from the last to the first through `work` (g values), so
/// the re-layout is done in place. Requires f = lead + g + trail with lead, trail >= 0.
void RELAYOUTBLOCKS(std::span<double> data, int lead, int trail, int nb, long offset, int g,
                    std::span<double> work, int f, double fill);

/// Copies, for the current estimation (current_estimation(): list, first_obs_offset, n, m,
/// k, prediction_offset), the dependent variable's n + m observations from the sample start
/// into y, and, when m > 0, the m observations after the sample of each regressor j = 1..k
/// into block j (m values each, one after another) at the prediction offset of `work`.
/// `work` is the work array: the data matrix at its head with leading dimension NOBS.
void EXTRACTVARIABLES(std::span<double> work, std::span<double> y);

/// out(t) = y(t) − Σ_j x_j(t)·b(j), t = 1..n, over the k regressors (extended precision).
void RESIDXB(std::span<const double> data, std::span<const double> y, std::span<const double> b,
             std::span<double> out, int n, int k, long offset, int ld, std::span<const int> list);

/// Regression of z through the packed upper-triangular factor T (T'T = (X'X)⁻¹) that the
/// caller has put in `data` at current_estimation().factor_offset, and residuals of y:
/// w1 (k) = T'T·X'z, the coefficients (w2 holds T·X'z on the way); the fitted values
/// X·w1 go to current_estimation().fitted, w2 (max(k, n)) = y − fitted, and
/// current_estimation().rss = Σ w2(t)² (0 when n <= 0).
void CROSSPRODUCTS(std::span<const double> data, std::span<const int> list, int n, int ld,
                   long offset, int k, std::span<const double> y, std::span<const double> z,
                   std::span<double> w1, std::span<double> w2);

}  // namespace qorv::core
