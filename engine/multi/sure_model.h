// Seemingly unrelated regressions: iterated feasible GLS of a system of linear equations
// whose regressors are all predetermined, with or without linear restrictions on the
// stacked coefficients, and the dynamic forecasts of the system.
//
// Every iteration works on the moments of the K predetermined variables X, not on the n
// observations: the normal equations of equation blocks i, j are s^ij X_i'X_j and
// Σ_j s^ij X_i'y_j, the blocks of Z'(S⁻¹ ⊗ I_K)Z and Z'(S⁻¹ ⊗ I_K)w for the
// pseudo-observations Z_i = F'X'X_i, w_i = F'X'y_i (F F' = (X'X)⁻¹), because X_i is a
// set of columns of X. Only the residuals of each pass read the observations.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "engine/multi/var_model.h"

namespace qorv::multi {

/// Limits of a system.
inline constexpr int kMaxSureParameters = 200;    ///< coefficients of all equations
inline constexpr int kMaxSureRegressors = 102;    ///< regressors of one equation
inline constexpr int kMaxSureObservations = 3000;
inline constexpr int kSureIterationLimit = 40;    ///< raised by 20 at a time by the user

/// A system over one contiguous sample.
struct SureLayout {
  std::vector<std::vector<int>> equations;  ///< variable numbers, dependent first, per equation
  int first = 1;                            ///< first observation of the sample
  int n = 0;                                ///< observations
  int m() const { return static_cast<int>(equations.size()); }
  int k(int i) const { return static_cast<int>(equations[static_cast<std::size_t>(i)].size()) - 1; }
  int p() const;  ///< coefficients of all equations
};

/// The distinct regressors of all equations that are not the dependent variable of any
/// equation, in order of first appearance.
std::vector<int> predetermined_variables(const SureLayout& layout);

/// Linear restrictions R b = r on the stacked coefficients (q rows, p columns, R
/// column-major with q rows) and the p × (p − q) matrix N (column-major) whose columns
/// span the solutions of R b = 0.
struct SureRestrictions {
  int q = 0;
  std::vector<double> R;
  std::vector<double> r;
  std::vector<double> N;
};

/// Restricted least squares on the cross products A (packed p × p) and c (p):
/// b = b0 + N (N'AN)⁻¹ N'(c − A b0), b0 = R'(RR')⁻¹ r, with the variance matrix
/// N (N'AN)⁻¹ N' (packed). False when RR' or N'AN cannot be inverted.
/// Cost: O(p²(p − q) + q³).
bool LINRESTRICT(const SureRestrictions& restrictions, int p, std::span<const double> A, std::span<const double> c,
                 std::vector<double>& b, std::vector<double>& variance);

/// The restrictions that bind one equation alone, per equation, and whether any spans
/// two or more (the count stops at the first that does).
struct RestrictionBlocks {
  std::vector<int> own;    ///< r_i
  bool cross = false;
};
RestrictionBlocks restriction_blocks(const SureRestrictions& restrictions, std::span<const int> block_sizes);

/// How a system estimate ended.
enum class SureStatus {
  kOk,
  kCollinearPredetermined,  ///< X'X singular
  kStartFailed,             ///< the first solution (least squares, or LINRESTRICT) failed
  kSingularCovariance,      ///< the error covariance cannot be inverted
  kNoLikelihood,            ///< ln det of the error covariance failed (its message shown)
  kSolveFailed,             ///< a later solution failed
  kAbandoned,               ///< the user abandoned the iteration at its limit
};

/// The estimate.
struct SureFit {
  SureLayout layout;
  std::vector<int> predetermined;    ///< the K predetermined variable numbers
  std::vector<double> b;             ///< stacked coefficients, equation 1 first
  std::vector<double> variance;      ///< packed p × p, adjusted
  std::vector<double> sigma;         ///< packed m × m error covariance, adjusted
  std::vector<double> sigma_ml;      ///< packed m × m E'E/n of the last pass
  double loglik = 0.0;               ///< system log-likelihood of the last pass
  int iterations = 0;                ///< passes before the final one
  bool converged = false;            ///< false when the user printed results at the limit
  int q = 0;                         ///< restrictions
  RestrictionBlocks blocks;          ///< r_i and the cross-equation flag
  int free_parameters() const { return layout.p() - q; }
  /// Coefficient j (from 0) of equation i (from 0).
  double coefficient(int i, int j) const;
  /// The first stacked index of equation i (from 0).
  int offset(int i) const;
};

/// Called when the iteration count reaches `limit`: raise the limit, or set `abandon`, or
/// `print` the current estimates.
using SureLimitHandler = std::function<void(int& limit, bool& abandon, bool& print)>;

/// Estimates the system (`restrictions` with q = 0 for none) from the starting values of
/// least squares with an identity error covariance, iterating until, for every equation,
/// the sum of the absolute changes of its coefficients is at most k_i·1e-5, then once
/// more; the displayed matrices are scaled by n/√((n − f_i)(n − f_j)), f_i = k_i − r_i,
/// or by 1 when a restriction spans equations. Cost per pass: O(n·p + p³).
SureStatus fit_sure(const DataView& data, const SureLayout& layout, const SureRestrictions& restrictions,
                    const SureLimitHandler& at_limit, SureFit& fit);

/// How a regressor is forecast: from the data, or as the lag `lag` of the system's
/// dependent variable `equation` (from 0), taken from earlier forecasts once that lag
/// falls in the forecast period.
struct ForecastSource {
  int equation = -1;
  int lag = 0;
};

/// The predictions of every dependent variable over the sample and the h observations
/// after it: (n + h) × m column-major, the fitted values, then the dynamic forecasts.
/// `sources` holds one entry per regressor of every equation, stacked as the coefficients.
/// Throws std::invalid_argument when the forecast period runs past the data.
std::vector<double> sure_predictions(const DataView& data, const SureFit& fit, std::span<const ForecastSource> sources,
                                     int h);

}  // namespace qorv::multi
