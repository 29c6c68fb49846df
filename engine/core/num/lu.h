// Inversion of a general square matrix by LU decomposition (Crout's method with implicit
// partial pivoting) and substitution. Matrices are n × n, column-major, n rows.
//
// A pivot that is zero, or below 1e-11 of the largest absolute element of its original row,
// makes the decomposition fail with status 1: a singular or numerically singular matrix is
// never "inverted". A NaN or infinite element fails the same way.
#pragma once

#include <span>

namespace qorv::core {

/// Status of INVERTLU, LUDECOMP and MATRANKTOL when their scratch space cannot be allocated
/// (the disk-space message has then been shown).
inline constexpr int kScratchAllocationFailed = 2;

/// Smallest accepted pivot relative to the largest element of its row.
inline constexpr double kLuPivotRatio = 1e-11;

/// Replaces A (n × n) by its inverse. status = 0 on success; 1 for a singular matrix (a row
/// of zeros, a negligible pivot or a non-finite element); kScratchAllocationFailed when the
/// n × n scratch cannot be allocated (after the disk-space message). A is unchanged on every
/// failure. Cost: about n³ multiply-adds and n² + n scratch values.
void INVERTLU(std::span<double> A, int n, int& status);

/// LU factors of the row-permuted A in place (L below the diagonal with unit diagonal, U on
/// and above it). pivots (n values) receives the row swapped into place at each column,
/// from 1; parity is +1 or −1 by the number of swaps. status = 0 on success; 1 with A
/// unchanged for a row of zeros or a non-finite element; 1 with A partly factored for a
/// pivot below 1e-11 of its row's largest element; kScratchAllocationFailed when the n row
/// scales cannot be allocated (after the disk-space message).
void LUDECOMP(std::span<double> A, int n, std::span<int> pivots, double& parity, int& status);

/// Replaces b (n values) by the solution x of A·x = b, A holding the factors and pivots of
/// a successful LUDECOMP.
void LUSUBST(std::span<const double> A, int n, std::span<const int> pivots, std::span<double> b);

}  // namespace qorv::core
