// In-place Gauss–Jordan inversion with pivots on the diagonal, which doubles as the
// collinearity test of restriction matrices.
#pragma once

#include <span>

namespace qorv::core {

/// Relative pivot tolerance of MATRANKTOL.
inline constexpr double kRankTolerance = 1e-9;

/// Replaces A (n × n, column-major) by its inverse by Gauss–Jordan elimination, each pivot
/// taken on the diagonal: the unmarked diagonal element largest relative to the original
/// diagonal at its place (the first on ties). flag = 1 when a pivot is not above 1e-9 of its
/// original diagonal (a zero original diagonal is compared absolutely), or A holds a
/// non-finite value: the matrix is collinear and A is partly transformed. The verdict does
/// not depend on the units of the rows and columns. flag = kScratchAllocationFailed when
/// the n marks cannot be allocated (after the disk-space message). Cost: n³ multiply-adds.
void MATRANKTOL(std::span<double> A, int n, int& flag);

}  // namespace qorv::core
