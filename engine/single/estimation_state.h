// The current single-equation estimate. Every estimator leaves its result here and every
// report, test, forecast and save routine reads it from here; there is one current
// equation, and the next estimate overwrites it.
//
// Result array (`EstimationState::result`), one block per offset of the estimation
// services' offset table (core::kResultOffsets), observation t (1..n) of a series block at
// block offset + t − 1, so that the fitted value and the residual of an observation lie
// 15000 and 18000 elements after its actual value:
//
//   offset  length  block
//        0    3000  actual values of the dependent variable over the sample
//     3000    3000  coefficient estimates: NREGS regression coefficients, then AR/MA,
//                   GARCH or other parameters
//     6000    1500  standard errors of the estimates, in the same order
//     7500    3000  transformed residuals (AR and MA error models)
//    10500    1500  T-ratios of the estimates
//    12000    1500  forecasts
//    13500    1500  standard errors of the forecasts
//    15000    3000  fitted values
//    18000    3000  residuals
//    21000    3000  generalised residuals (IV-type methods: y − x̂'b)
//
// A series block holds at most 3000 observations: an estimation sample longer than that
// is refused before anything is estimated. The packed variance matrix of the estimates
// and the Jacobian of the non-linear estimators are kept in their own vectors, because
// their length grows with the square of the parameter count.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/single/method_table.h"

namespace qorv::single {

/// `ESTSTATUS` values.
namespace status {
inline constexpr int kEstimated = 0;   ///< the estimate succeeded
inline constexpr int kFailed = 1;      ///< the estimator failed and has told the user why
inline constexpr int kRespecify = -1;  ///< GARCH: the user asked to re-specify the model
}  // namespace status

/// Block offsets of the result array (see the file comment).
namespace block {
inline constexpr int kActual = 0;
inline constexpr int kCoefficients = core::kResultOffsets[0];
inline constexpr int kStdErrors = core::kResultOffsets[1];
inline constexpr int kTransformedResiduals = core::kResultOffsets[2];
inline constexpr int kTRatios = core::kResultOffsets[3];
inline constexpr int kForecasts = core::kResultOffsets[4];
inline constexpr int kForecastErrors = core::kResultOffsets[5];
inline constexpr int kFitted = core::kResultOffsets[6];
inline constexpr int kResiduals = core::kResultOffsets[7];
inline constexpr int kGeneralisedResiduals = core::kResultOffsets[8];
inline constexpr int kSize = kGeneralisedResiduals + 3000;  ///< length of the result array
inline constexpr int kMaxSeries = 3000;  ///< longest series block: the longest estimation sample
inline constexpr int kMaxParameters = 1500;  ///< longest parameter block
}  // namespace block

/// A regressor's origin in the data set: the variable it is made from and its lag.
struct RegressorLag {
  int variable = 0;  ///< data-set variable number the regressor comes from
  int lag = 0;       ///< 0 none; −k for a lag of k periods, +k for a lead
};

/// The GARCH specification of the current equation and what its estimate leaves besides
/// the common blocks.
struct GarchFlags {
  int p = 0;                 ///< lags of the conditional variance (AR set)
  int q = 0;                 ///< lags of the errors (MA set)
  bool absolute = false;     ///< absolute-value GARCH
  bool exponential = false;  ///< exponential GARCH
  bool in_mean = false;      ///< the conditional variance enters the mean equation
  int distribution = 0;      ///< 0 normal, otherwise Student t
  std::vector<int> ar_lags;  ///< the AR set, ascending
  std::vector<int> ma_lags;  ///< the MA set, ascending
  std::vector<int> variance_variables;          ///< variables of the variance equation
  std::vector<std::string> variance_names;      ///< their names
  std::vector<double> conditional_sd;           ///< s(t) over the NUSED observations
  std::vector<double> forecast_sd;              ///< s(t) over the last forecast period
};

/// One equation of a system estimated as a whole (SURE), handed to the runner: its block
/// of the stacked estimates and of their variance matrix, and the system's counts.
struct SystemShare {
  std::vector<double> coefficients;  ///< the equation's coefficients, in regressor order
  std::vector<double> variance;      ///< their packed variance matrix (absolute)
  int system_parameters = 0;         ///< free parameters of the whole system
};

/// The estimation state of the one current single equation.
struct EstimationState {
  // Counts and codes.
  int method = 0;        ///< METHODCODE
  int status = 0;        ///< ESTSTATUS (status::)
  int nused = 0;         ///< NUSED: observations in the estimation sample
  int nregs = 0;         ///< NREGS: regressors, intercept included
  int ninstr = 0;        ///< NINSTR: instruments of an IV-type method, else 0
  std::vector<int> arma_lags;  ///< ARMALAGS (NARMALAGS = size), ascending, at most 12

  // Variable lists of the equation as specified.
  std::vector<int> eqvarlist;           ///< EQVARLIST: dependent variable first, then NREGS regressors
  std::vector<std::string> eqvarnames;  ///< EQVARNAMES: their names, trimmed
  std::vector<int> instrlist;           ///< INSTRLIST: instrument variable numbers
  std::vector<std::string> instrnames;  ///< names of the instruments, trimmed
  std::vector<RegressorLag> reglagtable;///< REGLAGTABLE: one entry per regressor

  // Real values.
  double sigma = 0.0;         ///< SIGMA: standard error of the regression
  double loglik = 0.0;        ///< LOGLIK: maximised log-likelihood (missing for a perfect fit)
  double rss = 0.0;           ///< RSSVALUE: residual sum of squares
  double depmean = 0.0;       ///< DEPMEAN: mean of the dependent variable over the sample
  double depvar = 0.0;        ///< variance of the dependent variable, divisor NUSED − 1
  double iv_minimand = 0.0;   ///< IVMINIMAND: second-stage residual sum of squares of IV methods
  double grss = 0.0;          ///< GRSS: sum of squared generalised residuals
  std::array<double, 3> stage_loglik{};  ///< STAGELOGLIK: after OLS, AR(1) and AR(2) stages
  double lr_multiplier = 1.0; ///< LRMULTIPLIER (ARDL long run), else 1
  double system_loglik = limits::kMissing;  ///< one equation of a system: the system's
                                            ///< log-likelihood, set by the system beforehand
  int system_order = 0;  ///< one equation of a cointegrating VAR: the order of the VAR, set
                         ///< by the system beforehand (the title of method 17)
  SystemShare system_share;   ///< one equation of a SURE system: set by the system beforehand
  /// The definitions of the temporary variables the caller made for the equation, one a
  /// line, listed under the fit summary; set beforehand, empty for most estimates.
  std::vector<std::string> temporary_definitions;

  // Vectors.
  std::vector<double> result;    ///< the result array, block:: layout, block::kSize values
  std::vector<double> variance;  ///< packed variance matrix of the estimates (see `scale`)
  VarianceScale scale = VarianceScale::kScaled;  ///< how `variance` relates to Var(estimates)
  std::vector<double> jacobian;  ///< NLS Jacobian at the estimates, n × parameters column-major

  // Words of the iterative estimators and of the post-estimation menu.
  int iterations = 0;         ///< iterations taken by an iterative estimator
  int convergence = 0;        ///< 0 converged, 1 not converged, 2 numerical method failed
  bool user_initial_values = false;  ///< the AR/MA estimate starts from values the user typed
  std::array<int, 2> ma_unit_roots{};  ///< MA roots kept at 1 and at −1 (MA estimates)
  int trend_case = 0;         ///< fully modified estimate: 1 non-trended, 2 trended case; else 0
  GarchFlags garch;           ///< GARCH specification
  int forecast_count = 0;     ///< forecasts held in the forecast blocks
  bool rolling_results = false;  ///< rolling estimates of this equation have been made
};

/// The current estimate (reset with the engine).
EstimationState& estimation();

/// Clears the estimate for a new estimation of `method`: the equation's lists and names,
/// the instruments and NINSTR, the lag list when `method` estimates an error process (set
/// by the options dialogue), and the system log-likelihood and share handed in by a
/// system, are kept; every other count, value and vector is back at its start value (the
/// lag list of any other method is empty), the result array is zero-filled, the status
/// is 0.
void begin_estimate(int method);

/// Forgets the instruments of the current equation (NINSTR 0, no list, no names), for a
/// specification that lists none.
void forget_instruments();

/// Parameters of the current estimate: NREGS plus the AR/MA lags, or for the GARCH
/// family NREGS plus every parameter of the variance equation and the distribution.
int parameter_count();

/// Whether `code` estimates AR errors (2-4, 6-9) or MA errors (10-13).
bool has_ar_errors(int code);
bool has_ma_errors(int code);
/// Whether `code` is an instrumental-variable method whose report carries the generalised
/// fit measures and the IV minimand (its row's `iv_fit`).
bool is_iv_method(int code);

/// Observations at the start of the sample that the estimate loses to its AR filter: the
/// largest AR lag for Cochrane-Orcutt and Gauss-Newton (2, 6-9), else 0. The estimate
/// uses NUSED minus these, from the sample start plus these.
int lost_observations();

/// The label of error parameter i (from 1) in the coefficient table: "U(-lag)" for AR
/// errors, "E(-lag)" for MA errors; for the GARCH family the 14-character labels
/// "In Mean", "GARCH cons.", "MA lag" and "ABS MA lag" with the lag, "AR lag" with the
/// lag, the variance-equation variables and "D.F. of t-Dist".
std::string error_parameter_label(int i);

/// Observation t (1..NUSED) of the actual, fitted and residual blocks.
double& actual(int t);
double& fitted(int t);
double& residual(int t);

/// The series block at `offset` over the NUSED observations.
std::span<double> series_block(int offset);

/// Estimate i (1..parameter_count()).
double& coefficient(int i);

/// Var(estimate i, estimate j), i and j from 1, from the stored packed matrix and its
/// scale (times SIGMA² when scaled). The missing code when the matrix is not set.
double coefficient_variance(int i, int j);

}  // namespace qorv::single

namespace qorv::single {

/// Runner step 3: takes the current equation (`eqvarlist`, dependent variable first) over
/// the engine's sample (globals().sample_start..sample_end): NUSED, NREGS, the actual values
/// in the result array, DEPMEAN and the dependent variable's variance (divisor NUSED − 1).
/// Returns false, with nothing changed but the counts, when the sample is empty, longer
/// than a series block (3000) or reaches outside the data set, or when the list is empty.
bool load_sample();

}  // namespace qorv::single
