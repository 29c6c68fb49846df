// Sign agreement of two series and the directional-accuracy statistic built on it.
#pragma once

#include <span>

namespace qorv::core {

/// What `SIGNCOUNTS` counts over n pairs (x, y); a value counts as positive when > 0.
struct SignCounts {
  bool complete = false;  ///< false when n = 0 or a value is the missing code: nothing else is set
  double agreement = 0;   ///< share of pairs whose signs agree (0 counts as negative)
  double px = 0;          ///< share of positive x
  double py = 0;          ///< share of positive y
  double p = 0;           ///< Px·Py + (1 - Px)(1 - Py), the agreement expected by chance
  /// |P(1 - P)/n - (4·Px·Py(1 - Px)(1 - Py)/n² + (2Px - 1)²·Py(1 - Py)/n
  ///  + (2Py - 1)²·Px(1 - Px)/n)|, the variance term of the statistic.
  double variance = 0;
};

/// Counts signs over the pairs (x(t), y(t)); x and y must have one length (else
/// incomplete). Cost: O(n).
SignCounts SIGNCOUNTS(std::span<const double> x, std::span<const double> y, double missing);

/// The directional-accuracy statistic (agreement - P)/sqrt(variance), or `missing` when
/// the counts are incomplete or the variance is below `tolerance` (1e-11 in the engine).
double directional_accuracy(std::span<const double> x, std::span<const double> y,
                            double missing, double tolerance);

}  // namespace qorv::core
