// Recursive and rolling estimates of one equation, from its data columns: the series that
// the recursive and rolling result menus plot and save. No dialog and no engine state.
#pragma once

#include <span>
#include <vector>

namespace qorv::single {

/// The data of an equation over its sample: n observations, k regressors, l instruments
/// (0 for least squares), columns in observation order (column-major).
struct EquationData {
  int n = 0;
  int k = 0;
  int l = 0;
  std::vector<double> x;  ///< n × k
  std::vector<double> z;  ///< n × l
  std::vector<double> y;  ///< n
};

/// Recursive estimates: the estimate on observations 1..t for t = m..n. Every series has n
/// values, the missing value where it is not defined.
struct RecursiveSeries {
  int m = 0;                    ///< first estimable size; 0 when none before n
  int k = 0;
  std::vector<double> coef;     ///< n × k: b_t, from m
  std::vector<double> coef_se;  ///< n × k: sqrt(RSS_t/(t−k)·[(X'X)⁻¹]_jj), from m + 1
  std::vector<double> s2;       ///< RSS_t/(t − k), from m
  std::vector<double> resid;    ///< (y_t − x_t'b_{t−1})/sqrt(1 + x_t'(X'X)_{t−1}⁻¹x_t), from m + 1
  std::vector<double> pred;     ///< x_t'b_{t−1}, from m + 1
};

/// m = k + 1, growing while the estimate on 1..m is singular; m = 0 when it reaches n.
/// The cross products are carried forward one observation at a time and every step is
/// solved afresh in extended precision (least squares, or two-stage least squares with the
/// instruments, whose variance factor uses (X̂'X̂)⁻¹). `standard_errors` = false leaves
/// coef_se missing and saves k³/3 per step. A step after m that is singular (an IV step
/// can be) leaves that observation missing and the next step predicts from the last
/// estimate. Cost: n·(p²/2 + k³/2), p = k + l + 1.
RecursiveSeries recursive_estimates(const EquationData& eq, bool standard_errors);

/// Rolling estimates over the W = n − h + 1 windows of h observations, window w covering
/// observations w..w + h − 1. Every series has W values; a singular window (or h ≤ k)
/// is missing in all of them.
struct RollingSeries {
  int h = 0;
  int windows = 0;
  int k = 0;
  std::vector<double> coef;   ///< W × k
  std::vector<double> se;     ///< W × k: s·sqrt([(X'X)⁻¹]_jj)
  std::vector<double> sigma;  ///< W: s = sqrt(RSS/(h − k))
};

/// Each window from its own cross products. h outside 1..n gives no window.
/// Cost: W·(h·p²/2 + k³/2).
RollingSeries rolling_estimates(const EquationData& eq, int h);

/// x'b_(t−1) for caller's variables v (n × k, column-major) and the recursive
/// coefficients: the missing value up to m and where b_(t−1) is missing.
std::vector<double> recursive_predictions(const RecursiveSeries& r, std::span<const double> v);

}  // namespace qorv::single
