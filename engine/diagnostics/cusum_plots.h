// The cumulative sums of the recursive residuals and of their squares, with their 5%
// bounds, as the CUSUM and CUSUMSQ plots draw them.
#pragma once

#include <span>
#include <vector>

namespace qorv::diagnostics {

/// The three series of a CUSUM or CUSUMSQ plot over n observations: the statistic and its
/// upper and lower bound, the missing value where they are not defined.
struct CusumSeries {
  std::vector<double> statistic;  ///< from observation m + 1
  std::vector<double> upper;      ///< from observation m
  std::vector<double> lower;      ///< from observation m
};

/// CUSUM: W(r) = (w(m+1) + ... + w(r))/sigma for r = m+1 .. n, bounds
/// ±0.948·(sqrt(n − m) + 2(r − m)/sqrt(n − m)) for r = m .. n. `w` holds the n recursive
/// residuals (those up to m are not read). Empty when m < 1, m >= n or sigma is not positive.
CusumSeries cusum(std::span<const double> w, int m, double sigma);

/// CUSUMSQ: S(r) = (w(m+1)² + ... + w(r)²)/(w(m+1)² + ... + w(n)²) for r = m+1 .. n,
/// bounds c0 + (r − m)/(n − m) and (r − m)/(n − m) − c0 for r = m .. n, with c0 the 5%
/// critical value TABLEVALUE(n, m). Empty when m < 1, m >= n or the squares sum to 0.
CusumSeries cusum_of_squares(std::span<const double> w, int m);

}  // namespace qorv::diagnostics
