// Cross products of data columns, fast and accurate: the sums Σ_t a(t)·b(t) behind X'X
// of least squares (and so of the instrument cross products of the IV core) and W'X of
// the GLS-type fit.
//
// Method (an error-free split): each column x is split once into x = h + l, h holding
// the leading bits of x on a grid fixed by the column's largest magnitude, so that every
// product h_a·h_b and every partial sum of them is exact in double for the given number of
// observations; the remainder Σ (h_a·l_b + l_a·b) is accumulated by fused multiply-adds in
// blocks of 64 observations. Only that remainder, about 2^-20 of the sum or less, carries
// rounding errors, so an element is within little more than half an ulp of the exact sum
// (every element of the NIST StRD linear sets is the exact sum correctly rounded), at the
// speed of the vector units.
//
// The vectorised kernels (AVX-512, or AVX2 with fused multiply-add, chosen at run time)
// and the portable one perform the same operations on each element in the same order, so
// all give the same result to the last bit. A non-finite value in a column gives a non-finite
// element wherever that column enters. The columns are split a chunk of observations at a
// time, in panels of the kernel's vector width, so that the split values stay in the cache
// while they are summed; each thread keeps that working storage for its next call.
#pragma once

#include <cstddef>
#include <span>

namespace qorv::core {

/// Packed lower triangle of A'A for the k = columns.size() columns of n observations each
/// (columns[j] points at observation 1 of column j + 1): element (i, j), i >= j, at 0-based
/// position i(i − 1)/2 + j − 1 of `packed` (the PACKEDINDEX layout).
/// Throws std::invalid_argument when `packed` holds fewer than k(k + 1)/2 values.
/// Cost: n·k²/2 products (three fused multiply-adds each) plus a pass over the data.
void symmetric_cross_products(std::span<const double* const> columns, std::size_t n,
                              std::span<double> packed);

/// out(i, j) = Σ_t left_i(t)·right_j(t), column-major with left.size() rows: out[i + j·ka]
/// (0-based). Throws std::invalid_argument when `out` is too short.
/// Cost: n·ka·kb products.
void cross_products(std::span<const double* const> left, std::span<const double* const> right,
                    std::size_t n, std::span<double> out);

namespace cross_detail {

/// Which kernels serve: the widest vector kernels the machine has (AVX-512, else AVX2 with
/// fused multiply-add), the AVX2 ones even where wider exist, or the portable ones. For
/// tests that compare them.
enum class KernelChoice { kBest, kAvx2, kPortable };
void choose_kernel(KernelChoice choice);

/// The vector instructions the kernels use under the current choice; the compensated sums
/// follow the same choice.
enum class VectorLevel { kNone, kAvx2, kAvx512 };
VectorLevel vector_level();

}  // namespace cross_detail

}  // namespace qorv::core
