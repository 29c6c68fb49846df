// The long-run coefficients and the error-correction form of an estimated ARDL model,
// from its coefficients and their variance matrix.
//
// The ARDL(q_0, ..., q_{K-1}) regressors stand in the order of the model's list: the
// dependent variable at lags 1..q_0, each regressor at lags 0..q_i, then the s
// deterministic variables. No dialog and no engine state.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace qorv::single {

/// The shape of an ARDL model.
struct ArdlLayout {
  std::vector<int> orders;  ///< q_0 (dependent variable) .. q_{K-1}
  int deterministic = 0;    ///< s
  /// Coefficients of the model: q_0 + Σ_{i≥1} (q_i + 1) + s.
  int coefficients() const;
};

/// The long-run multiplier 1/(1 − Σφ) is refused when |1 − Σφ| is below this.
inline constexpr double kLongRunTolerance = 1e-11;

/// θ of the regressors and the deterministic variables (K − 1 + s values), with their
/// variance matrix by the delta method (full, row-major).
struct LongRun {
  bool refused = false;        ///< |1 − Σφ| below kLongRunTolerance: nothing else is set
  double multiplier = 0.0;     ///< 1/(1 − Σφ)
  std::vector<double> theta;
  std::vector<double> variance;
};

/// `b` holds the model's coefficients, `v` their variance matrix (full, row-major).
/// Throws std::invalid_argument when their lengths do not fit the layout.
LongRun ardl_long_run(const ArdlLayout& layout, std::span<const double> b, std::span<const double> v);

/// The error-correction equation: Δy on Δx_i (i = 1..K − 1), the lagged differences of y
/// (lags 1..q_0 − 1) and of each x_i (lags 1..q_i − 1), the differenced deterministic
/// variables and ecm(−1). Its coefficients are A·b + c and their variance A·V·A', where A
/// carries the ARDL coefficients into the error-correction ones and c is −1 on the row of
/// ecm(−1), whose coefficient is −(1 − Σφ).
struct EcmTerm {
  enum Kind { kDifference, kLaggedDifference, kDeterministic, kCorrection } kind = kDifference;
  int variable = 0;  ///< ARDL variable (0 the dependent) or deterministic variable (0-based)
  int lag = 0;       ///< lag of a lagged difference
};
struct EcmForm {
  std::vector<EcmTerm> terms;
  std::vector<double> a;         ///< terms × coefficients, row-major
  std::vector<double> coef;      ///< A·b + c
  std::vector<double> variance;  ///< A·V·A', full, row-major
};

/// The error-correction terms of a layout and the matrix A (no coefficients).
EcmForm ecm_terms(const ArdlLayout& layout);

/// `ecm_terms` with the coefficients and variance of `b` and `v` (as for ardl_long_run).
EcmForm ardl_ecm(const ArdlLayout& layout, std::span<const double> b, std::span<const double> v);

}  // namespace qorv::single
