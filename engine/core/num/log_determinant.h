// The Gaussian log-likelihood of a multivariate system from the log-determinant of its
// residual covariance matrix.
#pragma once

#include <span>

namespace qorv::core {

/// 1 + ln 2π.
inline constexpr double kOnePlusLogTwoPi = 2.8378770664093453;

/// −(T/2)·(ln det A + n·(1 + ln 2π)): the log-likelihood of T observations of an
/// n-variable system with residual covariance A (packed, order n). ln det A comes from
/// PACKEDCHOLESKY, which leaves its factor U in A. When the factorisation fails (the
/// variables are exactly or almost exactly related, or A holds a non-finite value) the
/// message "An almost exact relationship between variables in the model exists!" is shown,
/// fail = 1 and `fallback` is returned. Cost: n³/6 multiply-adds.
double LOGDETERMINANT(std::span<double> A, int n, double T, double fallback, int& fail);

}  // namespace qorv::core
