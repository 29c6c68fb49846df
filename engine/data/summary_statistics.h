// The figures of the COR command before they are formatted: summary statistics of a
// variable, the correlation matrix of several, and the autocorrelation function of one
// with its standard errors and portmanteau statistics.
#pragma once

#include <span>
#include <vector>

namespace qorv::data {

/// Summary statistics of one variable over n observations (d = x − mean,
/// m_k = Σd^k / n). A statistic that cannot be had is the missing value.
struct VariableStatistics {
  int n = 0;
  double maximum = 0.0;
  double minimum = 0.0;
  double mean = 0.0;
  double std_dev = 0.0;    ///< sqrt(Σd² / (n − 1)); missing for n < 2
  double skewness = 0.0;   ///< m3 / m2^1.5; missing when the standard deviation is below 1e-11
  double kurtosis3 = 0.0;  ///< m4 / m2² − 3; missing likewise
  double variation = 0.0;  ///< standard deviation / mean; missing when |mean| < 1e-11
};

/// The statistics of `x` (no missing values), summed in extended precision in two
/// passes. An empty `x` gives every figure missing. Cost: O(n).
VariableStatistics variable_statistics(std::span<const double> x);

/// Whether the statistics say the variable varies: a standard deviation of 1e-11 or more.
/// Correlations and autocorrelations of a variable that does not vary are missing.
bool varies(const VariableStatistics& s);

/// Pearson correlations of the columns of `data` (k columns of n values each, column
/// after column), packed lower triangle by rows: (i, j) at index i(i − 1)/2 + j − 1 for
/// j <= i (from 1). An entry involving a column that does not vary (see `varies`) is the
/// missing value; the other diagonal entries are 1. Cost: O(n·k²).
std::vector<double> correlation_matrix(std::span<const double> data, int n, int k);

/// The order of the autocorrelation function: the typed order capped at n − 1; n / 3
/// (integer division) when none was typed (`typed` below 1).
int autocorrelation_order(int typed, int n);

/// The autocorrelation function of `x` to order K with, for k = 1..K (index k − 1):
/// r_k = Σ_t d_t·d_(t−k) / Σ d_t², its standard error sqrt((1 + 2 Σ_(j<k) r_j²) / n),
/// the Box-Pierce statistic n Σ_(j<=k) r_j² and the Ljung-Box statistic
/// n(n + 2) Σ_(j<=k) r_j² / (n − j), each with its chi-squared(k) upper-tail probability.
/// Every figure is missing when x does not vary; a probability is missing when none can
/// be had.
struct Autocorrelations {
  int n = 0;
  int order = 0;
  std::vector<double> r;
  std::vector<double> std_error;
  std::vector<double> box_pierce;
  std::vector<double> box_pierce_prob;
  std::vector<double> ljung_box;
  std::vector<double> ljung_box_prob;
};

/// The autocorrelations of `x` (no missing values) to `order` (at most n − 1).
/// Cost: O(n·order) plus one chi-squared probability per statistic.
Autocorrelations autocorrelations(std::span<const double> x, int order);

}  // namespace qorv::data
