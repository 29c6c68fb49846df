// The Hodrick-Prescott trend of a series.
#pragma once

#include <span>

namespace qorv::data {

/// Largest smoothing parameter the trend filter accepts.
inline constexpr double kMaxSmoothing = 1024000000.0;

/// The trend tau solving (I + lambda·D'D)·tau = x, D the (n - 2) × n second-difference
/// operator, by band elimination without pivoting on the five diagonals (the matrix is
/// symmetric positive definite). `lambda` holds the parameter once per observation and must
/// be the same number throughout. The whole trend is `missing` unless n >= 5,
/// 0 <= lambda <= 1.024e9, no x is missing and the work space can be had. `x`, `lambda`
/// and `trend` must have one length n (else the trend is left as it is).
/// Cost: O(n) time, 6n doubles.
void HPFILTER(std::span<const double> x, std::span<const double> lambda, double missing,
              std::span<double> trend);

}  // namespace qorv::data
