// Linear restrictions R·θ = c on a parameter vector turned into a partition: k parameters
// determined by the restrictions (the pivots) and n − k free ones, with the matrix whose
// columns span the parameter vectors that satisfy R·θ = 0. The restricted cointegrating
// vectors and restricted SURE share it.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace qorv::multi {

/// Smallest pivot, relative to the largest element of its restriction as typed.
inline constexpr double kSetupPivotTolerance = 1e-10;

inline constexpr std::string_view kCollinearRestrictionsText = " Restrictions are collinear!";

/// The partition of the parameters.
struct RestrictionPartition {
  int n = 0;  ///< parameters
  int k = 0;  ///< restrictions
  /// The parameter numbers (from 1): the pivot of restriction 1..k first, then the n − k
  /// free parameters in ascending order.
  std::vector<int> order;
  int free = 0;  ///< n − k
  /// The reduced restrictions (k × n, column-major, leading dimension k): each pivot
  /// column a unit column, so that θ_pivot(i) = reduced_constants(i) − Σ_free E(i, f)·θ_f.
  std::vector<double> reduced;
  std::vector<double> reduced_constants;
  /// n × (n − k), column-major: column j sets free parameter j to 1, the other free ones to
  /// 0 and the pivots as the restrictions demand; R times it is zero.
  std::vector<double> null_space;
  /// A parameter vector that satisfies R·θ = c (the free parameters zero).
  std::vector<double> particular;
};

/// The partition of R (k × n, column-major, leading dimension k) and its constants (k
/// values; empty for zeros). False when the restrictions are collinear: a pivot below
/// kSetupPivotTolerance of its row's largest element, or a pivot block the rank test
/// refuses. Nothing is shown. Throws std::invalid_argument for arrays shorter than stated
/// or k outside 0..n. Cost: O(k²·n + k³).
bool restriction_partition(std::span<const double> R, std::span<const double> constants, int k, int n,
                           RestrictionPartition& out);

/// `RESTRICTSETUP`: restriction_partition, showing " Restrictions are collinear!" in an
/// information box when it fails.
bool RESTRICTSETUP(std::span<const double> R, std::span<const double> constants, int k, int n,
                   RestrictionPartition& out);

}  // namespace qorv::multi
