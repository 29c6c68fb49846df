// Distribution functions of the engine: the standard normal tail and quantile, Student's
// t, the incomplete gamma and beta ratios and ln Γ. Each follows a published algorithm
// with its own constants, so printed probabilities agree digit for digit with the
// algorithm (not with the exact function where the two differ).
//
// Upper-tail probabilities as the report writer prints them:
//   Student t, df n:      1 - TDISTRIBUTION(t, n, fault)       (two-sided: 2·(1 - T(|t|)))
//   chi-squared, df v:    1 - INCGAMMA(x / 2, v / 2, fault)
//   F, df (m, n):         1 - INCBETA(m·F / (n + m·F), m / 2, n / 2,
//                                     LOGGAMMA(m/2) + LOGGAMMA(n/2) - LOGGAMMA((m+n)/2))
//   normal, two-sided:    2 · NORMALTAIL(|z|, true)
#pragma once

namespace qorv::core {

/// Standard normal tail area (algorithm AS 66): above `x` when `upper`, else below `x`.
/// Absolute error about 1e-12 against the exact function. The area is exactly 0 beyond
/// 18.66 on its own side, and exactly 1 more than 7 into the other side (x > 7 below,
/// x < -7 above).
/// Cost: one exponential.
double NORMALTAIL(double x, bool upper);

/// Standard normal quantile of `p` (algorithm AS 111). Within 5e-6 of the exact quantile
/// for p in [1e-5, 1 - 1e-5]. A `p` outside (0, 1), the missing code or a NaN gives the
/// missing code. Cost: at most one logarithm and one square root.
double INVNORMAL(double p);

/// ln Γ(x): upward recurrence to 7, then the Stirling series to the 1/1680 term; absolute
/// error below 3e-11. `fault` is 1 and the result 0 when x is not a positive finite
/// number, else `fault` is 0. Cost: at most 7 multiplications and two logarithms.
double LOGGAMMA(double x, int& fault);

/// Incomplete beta ratio I_x(p, q) (algorithm AS 63, terms stop at 1e-8). `log_beta` is
/// ln B(p, q) = ln Γ(p) + ln Γ(q) - ln Γ(p + q), from `LOGGAMMA`.
/// Faults: 1 when p or q is not positive, 2 when x lies outside [0, 1] (also NaN); the
/// result is then x unchanged. x = 0 or 1 returns x exactly. Cost: O(q + (p + q)·x) terms
/// and a few more until they fall below the tolerance.
double INCBETA(double x, double p, double q, double log_beta, int& fault);

/// P(T <= t) for Student's t with `n` degrees of freedom (algorithm AS 3, its finite
/// series). `fault` is 1 and the result 0 when n < 1 or t is NaN; an infinite t gives 0 or
/// 1. Absolute error about 5e-11 for odd n (the 1/π constant has 10 digits), 1e-15 for
/// even n. Cost: at most n/2 terms.
double TDISTRIBUTION(double t, int n, int& fault);

/// Regularised lower incomplete gamma ratio P(a, x) by its power series, the terms summed
/// until one is no larger than 1e-6 times the sum (absolute error about 1e-6).
/// Faults: 1 and result 0 when x or a is not a positive finite number. 2 when the factor
/// exp(a·ln x - x - ln Γ(a + 1)) is below 1e-11: the ratio is then at its limit, 0 when
/// x < a and 1 otherwise. Else 0. Cost: about x terms.
double INCGAMMA(double x, double a, int& fault);

}  // namespace qorv::core
