// The error-correction equations of a cointegrating VAR for given cointegrating vectors:
// the regressors of every equation, their least-squares estimates, the short-run and
// adjustment coefficients and the error covariance matrix, the levels form of the model
// and the dynamic forecasts that iterate it. Plain arrays, no dialogue.
#pragma once

#include <span>
#include <vector>

#include "engine/multi/dynamic_response.h"
#include "engine/multi/johansen_core.h"

namespace qorv::multi {

/// The shape of the equations: the model of the estimation and r vectors of k rows.
struct EcmShape {
  int m = 0, e = 0, d = 0, p = 1, model_case = 3, r = 0;
  int k() const { return m + e + ((model_case == 2 || model_case == 4) ? 1 : 0); }
  /// Unrestricted deterministic regressors: 1 in cases 3 and 4, 2 in case 5, else 0.
  int deterministic() const { return model_case == 5 ? 2 : (model_case >= 3 ? 1 : 0); }
  /// Regressors of every equation: u + (p − 1)(m + e) + r + d.
  int regressors() const { return deterministic() + (p - 1) * (m + e) + r + d; }
};

/// Regressor positions (from 0) in the order of the equations: Intercept (cases 3 to 5),
/// Trend (case 5), the lagged differences (lag j outer, I(1) variable l inner), the r
/// error-correction terms, the d I(0) variables.
int lagged_difference_position(const EcmShape& shape, int j, int l);
int ecm_position(const EcmShape& shape, int i);
int stationary_position(const EcmShape& shape, int s);

/// The values of error-correction term i (from 1) over observations t = 1..count of the
/// levels block `levels` (m + e columns of `rows` values, observation t at row p + t − 1):
/// Σ_l β(l, i)·X_l(t − 1), plus β(m + e + 1, i) in case 2, plus β(m + e + 1, i)·(t − 1) in
/// case 4 (the trend of the previous period, 0 at the first observation).
double ecm_term(const EcmShape& shape, std::span<const double> beta, std::span<const double> levels, int rows, int i,
                int t);

/// The regressor matrix (n × regressors, column-major) over the sample of `data` and the
/// dependent differences ΔX_i(t) of the m endogenous variables. Throws
/// std::invalid_argument when β does not hold k × r values or the data's shape disagrees.
std::vector<double> ecm_regressors(const JohansenData& data, int r, std::span<const double> beta);

/// The estimated equations.
struct EcmFit {
  EcmShape shape;
  int n = 0;
  std::vector<double> beta;       ///< k × r, the vectors as given
  std::vector<double> coef;       ///< regressors × m: column i is equation i
  std::vector<double> fitted;     ///< n × m fitted differences
  std::vector<double> residuals;  ///< n × m
  std::vector<double> sigma;      ///< packed E'E / (n − regressors)
  /// The system's maximised log-likelihood −(n/2)(m(1 + ln 2π) + ln det(E'E/n)); the
  /// missing code when E'E is not positive definite.
  double loglik = 0.0;

  /// The coefficient of regressor `position` (from 0) in equation i (from 1).
  double coefficient(int position, int i) const;
  /// Γ_j(i, l): the coefficient of ΔX_l(t − j) in equation i.
  double gamma(int j, int i, int l) const { return coefficient(lagged_difference_position(shape, j, l), i); }
  /// α(i, v): the coefficient of ecm_v(−1) in equation i.
  double alpha(int i, int v) const { return coefficient(ecm_position(shape, v), i); }
};

/// Least squares of the m equations over the sample of `data` with the vectors β (k × r,
/// column-major, entering unnormalised). False when the regressors are collinear or
/// leave no degrees of freedom. Throws std::invalid_argument as `ecm_regressors`.
bool fit_ecm(const JohansenData& data, int r, std::span<const double> beta, EcmFit& fit);

/// The levels form of the endogenous variables: A_1 = I + Π + Γ_1, A_i = Γ_i − Γ_{i−1}
/// (2 ≤ i ≤ p − 1), A_p = −Γ_{p−1}; A_1 = I + Π when p = 1; Π = αβ_m' over the m endogenous
/// rows of the vectors, Γ_i over the endogenous columns.
LagMatrices ecm_levels(const EcmFit& fit);

/// Kinds of the cointegrating relations' analyses, beyond the variables' kinds 1 to 4.
enum CvResponseKind : int {
  kOrthogonalCvResponses = 5,
  kGeneralisedCvResponses = 6,
  kPersistenceProfiles = 7,
};

/// The table of analysis `kind` (1 to 7) over horizons 0..H, column-major. Kinds 1 to 4 as
/// for a VAR on the levels form and Σ ((H + 1) × m); kinds 5 and 6 the response of β_i'x,
/// i = 1..r, to a one-S.E. shock in equation `shock` ((H + 1) × r); kind 7 the persistence
/// profiles β_i'Φ_hΣΦ_h'β_i / β_i'Σβ_i ((H + 1) × r; `shock` unused). False when Σ is not
/// positive definite (orthogonalised kinds) or β_i'Σβ_i is not positive (kind 7). Throws
/// std::invalid_argument for a kind outside 1..7, a shock outside 1..m (kinds 1 to 6) or
/// H < 0.
bool cvar_dynamic_response(const EcmFit& fit, int kind, int shock, int H, std::vector<double>& table);

/// A forecast that needs a value the data do not hold.
struct EcmForecastGap {
  int column = 0;       ///< 1..e an exogenous I(1) variable, e + 1..e + d an I(0) one
  int observation = 0;  ///< the first observation without a value (n + 1 is the first forecast)
};

/// The predicted levels of the m endogenous variables over the sample and the h
/// observations after it: (n + h) × m column-major. In the sample ŷ_t = X(t − 1) + the
/// fitted difference; after it the error-correction form is iterated, the endogenous
/// levels of earlier forecasts entering its lags and error-correction terms. `levels` is
/// the levels block of the estimation extended by h rows (p + n + h rows, m + e columns;
/// the endogenous values after the sample are not read), `stationary` the I(0) variables
/// over n + h rows. False, with `gap` set, when an exogenous I(1) or I(0) value of the
/// forecast period holds `missing`. Throws std::invalid_argument when the arrays are too
/// short or h < 0.
bool ecm_forecasts(const EcmFit& fit, std::span<const double> levels, std::span<const double> stationary, int h,
                   double missing, std::vector<double>& predictions, EcmForecastGap& gap);

}  // namespace qorv::multi
