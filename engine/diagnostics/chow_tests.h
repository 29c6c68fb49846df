// The predictive-failure test and the structural-stability (Chow) test of an estimate
// whose sample is followed by observations kept back: as rows E and F of the diagnostic
// tests table, or as a block after the forecast summary.
#pragma once

namespace qorv::diagnostics {

/// The residual sums of squares the two tests compare.
struct ChowSums {
  double rss1 = 0.0;  ///< the estimate's (first part, T1 observations)
  double rss2 = 0.0;  ///< the same regression over the T2 kept-back observations alone
  double rss = 0.0;   ///< the same regression over all T1 + T2 observations
};

/// The sums for the current least-squares estimate with the `t2` observations after its
/// sample kept back: RSS1 from the estimate, RSS over the sample and the kept-back
/// observations, RSS2 over the kept-back observations alone (only when t2 > NREGS). A sum
/// that cannot be formed (a singular regression, observations outside the data set or
/// holding the missing value) is the missing value. Cost: (n + t2)·k²/2 + k³ for each
/// regression.
ChowSums chow_sums(int t2);

/// The two tests' statistics (the missing value where one is not computed).
struct ChowStatistics {
  double failure_f = 0.0;       ///< predictive failure F on (T2, T1 − k)
  double failure_chsq = 0.0;    ///< T2·F on T2
  bool stability = false;       ///< T2 > k: the stability test is made
  double stability_f = 0.0;     ///< Chow F on (k, T1 + T2 − 2k)
  double stability_chsq = 0.0;  ///< k·F on k
};

/// The statistics `CHOWTESTS` prints (see there). The predictive-failure test needs
/// T1 > k as well.
ChowStatistics chow_statistics(int t2, int t1, int k, const ChowSums& sums, double threshold);

/// `CHOWTESTS` modes.
enum ChowMode : int {
  kDiagnosticRows = 1,  ///< rows E and F of the diagnostic tests table
  kForecastBlock = 2,   ///< the lines after the forecast summary
};

/// The tests on `channel`, T1 = t1 observations in the first part, T2 = t2 kept back, k
/// regressors:
///   predictive failure F = (T1 − k)(RSS − RSS1)/(RSS1·T2) on (T2, T1 − k), CHSQ(T2) = T2·F;
///   missing when RSS1 < threshold or any sum is missing;
///   stability, only when T2 > k: F = (T1 + T2 − 2k)(RSS − RSS1 − RSS2)/((RSS1 + RSS2)·k)
///   on (k, T1 + T2 − 2k), CHSQ(k) = k·F; missing when RSS1 + RSS2 < threshold or any sum
///   is missing.
/// Mode 1 writes "* E:Predictive Failure*" and "* F:Chow Test         *" in the table's
/// columns; any other mode writes " Predictive failure test" and " Structural stability
/// test", each with its chi-squared form and, on the next line, its F form, the "=" of
/// both in column 40. A negative statistic prints "*NONE*". Writes nothing for t2 < 1.
void CHOWTESTS(int t2, int t1, int k, const ChowSums& sums, double threshold, int mode, int channel);

}  // namespace qorv::diagnostics
