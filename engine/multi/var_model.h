// The least-squares core of the unrestricted VAR: every equation on the same regressors
// (the lags 1..p of the m endogenous variables, then the d deterministic or exogenous
// variables), the residual covariance matrices and the system log-likelihood.
#pragma once

#include <span>
#include <vector>

#include "engine/multi/dynamic_response.h"

namespace qorv::multi {

/// Largest number of endogenous variables of a VAR.
inline constexpr int kMaxVarVariables = 12;
/// Largest number of deterministic/exogenous variables of a VAR.
inline constexpr int kMaxVarDeterministic = 18;
/// Largest order offered.
inline constexpr int kMaxVarOrder = 24;
/// Regressor limit of one equation.
inline constexpr int kMaxVarRegressors = 102;
/// Longest estimation sample.
inline constexpr int kMaxVarObservations = 3000;

/// min(24, (102 − d) div m): the largest order offered for m endogenous and d
/// deterministic/exogenous variables (0 when m < 1).
int max_var_order(int m, int d);

/// The data a VAR reads: column-major, observation t (from 1) of variable j (from 1) at
/// index (j − 1)·nobs + t − 1.
struct DataView {
  std::span<const double> values;
  int nobs = 0;
  double at(int t, int j) const;
};

/// What a VAR estimates over which sample.
struct VarLayout {
  std::vector<int> endogenous;     ///< the m variable numbers
  std::vector<int> deterministic;  ///< the d deterministic/exogenous variable numbers
  int p = 1;                       ///< order
  int first = 1;                   ///< first observation of the estimation sample
  int n = 0;                       ///< observations in the estimation sample
  int m() const { return static_cast<int>(endogenous.size()); }
  int d() const { return static_cast<int>(deterministic.size()); }
  int k() const { return m() * p + d(); }  ///< regressors of every equation
};

/// The estimated VAR.
struct VarFit {
  VarLayout layout;
  std::vector<double> coef;         ///< k × m column-major: column i is equation i; rows lag 1 of
                                    ///< every variable, lag 2, ..., then the deterministic ones
  std::vector<double> fitted;       ///< n × m column-major
  std::vector<double> residuals;    ///< n × m column-major
  std::vector<double> sigma_tilde;  ///< packed E'E/(n − k)
  std::vector<double> sigma_hat;    ///< packed E'E/n
  double loglik = 0.0;              ///< the missing code when it cannot be computed

  /// A_lag(i, j): the coefficient of variable j at `lag` in equation i (all from 1).
  double lag_coef(int lag, int i, int j) const;
  /// The coefficient of deterministic variable `r` (from 1) in equation i.
  double deterministic_coef(int r, int i) const;
};

enum class FitStatus { kOk, kCollinear, kNoLikelihood };

/// Estimates every equation of `layout` by least squares over its sample and fills `fit`.
/// kCollinear: the cross-product matrix is singular ("Two or more regressors are
/// collinear!" shown); kNoLikelihood: ln det Σ̂ failed (LOGDETERMINANT's message shown, LL
/// the missing code). Throws std::invalid_argument when a column or an observation lies
/// outside the data. Cost: n·k²/2 + k³/2 + 4·n·k·m multiply-adds.
FitStatus fit_var(const DataView& data, const VarLayout& layout, VarFit& fit);

/// The lag matrices A_1..A_p of the estimated VAR.
LagMatrices lag_matrices(const VarFit& fit);

/// A deterministic/exogenous value missing in the forecast period.
struct ForecastGap {
  int variable = 0;     ///< its variable number
  int observation = 0;  ///< the first observation without a value
};

/// The predictions of every variable over the estimation sample and the h observations
/// after it: (n + h) × m column-major, the fitted values, then the dynamic forecasts
/// (the lags of actual values while they lie in the sample or before it, of earlier
/// forecasts once they lie in the forecast period). False, with `gap` set and nothing
/// forecast, when a deterministic/exogenous variable has no value in the forecast period.
/// Throws std::invalid_argument when the forecast period runs past the data.
bool var_forecasts(const DataView& data, const VarFit& fit, int h, std::vector<double>& predictions, ForecastGap& gap);

/// The exact likelihood-ratio statistic of the hypothesis that the lags of the variables
/// `noncausal` (positions 1..m in the VAR) do not enter the equations of the other
/// variables: n·(ln det Σ̂_BB,r − ln det Σ̂_BB,u) over the block equations, the restricted
/// ones fitted without the non-causal lags. kCollinear when a restricted cross-product
/// matrix is singular (message shown).
struct NonCausality {
  double lr = 0.0;
  int df = 0;
  double restricted_loglik = 0.0;  ///< LL − LR/2
};
FitStatus non_causality(const DataView& data, const VarFit& fit, std::span<const int> noncausal, NonCausality& out);

}  // namespace qorv::multi
