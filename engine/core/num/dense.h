// Full-storage matrix routines: product, Kronecker product and the largest element.
// Matrices are column-major with the row count as leading dimension: element (i, j), both
// from 1, of a matrix with n rows is at COLMAJORINDEX(n, i, j) = n·(j − 1) + i (0-based
// index one less). Arrays shorter than their stated shape throw std::invalid_argument.
#pragma once

#include <span>

namespace qorv::core {

/// C (m × n) = A (m × k) · B (k × n), each element summed in extended precision. C must not
/// overlap A or B (std::invalid_argument otherwise). k <= 0 gives a zero C.
/// Cost: m·k·n multiply-adds.
void MATMULT(std::span<const double> A, std::span<const double> B, int m, int k, int n,
             std::span<double> C);

/// C = A ⊗ B: C((r − 1)·rb + s, (c − 1)·cb + t) = A(r, c)·B(s, t), A being ra × ca and B
/// rb × cb; C has ra·rb rows and ca·cb columns.
void KRONECKER(std::span<const double> A, int ra, int ca, std::span<const double> B, int rb,
               int cb, std::span<double> C);

/// The element of x(1..n) of largest absolute value, with its sign, and its position: the
/// first element wins ties. n <= 0 gives value 0 and position 0.
void MAXABSELEMENT(std::span<const double> x, int n, double& value, int& position);

}  // namespace qorv::core
