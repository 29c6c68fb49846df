// Gaussian log-likelihoods of a regression.
#pragma once

#include <span>

namespace qorv::core {

/// Log-likelihood of a regression with normal errors from its residual sum of squares:
/// LL = -(n/2)·(ln(2π·RSS/n) + 1) and sigma = sqrt(RSS/df), df = n - k plus the
/// degrees-of-freedom adjustment, or n when variances divide by n (`globals()`).
/// LL is the missing code when n < 1, RSS is negative or sqrt(RSS/n) < 1e-11 (a perfect
/// fit); sigma is the missing code when df < 1 or RSS is negative. Cost: constant.
void NORMALLOGLIK(int n, int k, double rss, double& sigma, double& loglik);

/// Per-observation Gaussian log-likelihood of a transformed regression,
///   l(t) = -ln σ - ½·ln 2π - ½·((y(t) - fit(t))/σ)² + ln|J(t)|,  t = 1..n,
/// with fit(t) = Σ_{j=1..k} X(offset + t, list(j + 1))·β(j), X column-major in `data` with
/// leading dimension `ld` (list(1) = list[0] is the dependent variable and is not read);
/// `sum` = Σ l(t), 0 for n < 1. When σ is not positive, a Jacobian term is 0 or a term
/// overflows, the affected l(t) and the sum are the missing code.
/// Throws std::invalid_argument when a span is too short or a column lies outside `data`.
/// Cost: O(n·k).
void GAUSSLOGLIK(std::span<const double> data, std::span<const double> jacobian,
                 std::span<const double> y, std::span<const int> list,
                 std::span<const double> beta, int n, int k, int ld, int offset, double sigma,
                 std::span<double> loglik, double& sum);

}  // namespace qorv::core
