// The per-observation log-likelihood of a regression whose errors have a conditional
// variance of the GARCH family (plain, absolute-value and exponential forms, each with or
// without the in-mean term), with normal or Student-t conditional errors.
//
// Parameter vector, in this order (m values):
//   k regression coefficients; the in-mean coefficient d (in-mean forms); the constant c;
//   a(i) for each MA lag; b(i) for each MA lag (exponential forms); g(j) for each AR lag;
//   one coefficient per variance-equation variable; w = 1/v for Student-t errors.
//
// Observations: the data rows hold `presample` rows before the first likelihood
// observation (at least the largest lag), then the likelihood observations. Before the
// first likelihood observation the stored standard deviation is s0 and the residual comes
// from the data there (with the in-mean term at h = s0²).
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace qorv::single {

/// The form of the variance equation.
enum class VarianceForm {
  kPlain,        ///< h = c + Σ a·e² + Σ g·h(−j) + V
  kAbsolute,     ///< s = c + Σ a·|e| + Σ g·s(−j) + V, h = s²
  kExponential,  ///< log h = c + Σ (a·z + b·(|z| − E|z|)) + Σ g·log h(−j) + V
};

/// A model of the family.
struct GarchModel {
  VarianceForm form = VarianceForm::kPlain;
  bool in_mean = false;       ///< the conditional variance enters the regression
  bool student_t = false;     ///< Student-t conditional errors
  std::vector<int> ar_lags;   ///< lags of the conditional variance terms, ascending, each >= 1
  std::vector<int> ma_lags;   ///< lags of the error terms, ascending, each >= 1
  int regressors = 0;         ///< k
  int variance_variables = 0; ///< variables of the variance equation
};

/// The data a model is evaluated on: `rows` observations, the first `presample` of them
/// before the likelihood observations.
struct GarchData {
  std::vector<double> y;                  ///< dependent variable, `rows` values
  std::vector<std::vector<double>> x;     ///< the k regressors, `rows` values each
  std::vector<std::vector<double>> z;     ///< the variance-equation variables, `rows` values each
  int presample = 0;                      ///< rows before the first likelihood observation
  double s0 = 1.0;                        ///< pre-sample conditional standard deviation
  int rows() const { return static_cast<int>(y.size()); }
  int observations() const { return rows() - presample; }
};

/// Why an evaluation stopped.
enum class GarchStop {
  kNone,
  kUnstableLag,    ///< a lagged standard deviation above the bound
  kSmallVariance,  ///< the recursion's value not above the square of the tolerance
  kLargeVariance,  ///< the recursion's value above the bound
  kLargeDf,        ///< 1/v below the tolerance
  kSmallDf,        ///< v − 2 below the tolerance
  kNotFinite,      ///< an error or a log-density that is not a finite number
};

/// Values above this bound stop an evaluation.
inline constexpr double kGarchBound = 72004899337.38605;

/// Where each group of parameters starts in the vector (0-based; -1 when absent).
struct GarchLayout {
  int in_mean = -1, constant = 0, ma = 0, abs_ma = 0, ar = 0, variables = 0, reciprocal_df = -1, count = 0;
};
GarchLayout garch_layout(const GarchModel& model);

/// Parameters of `model`.
int garch_parameter_count(const GarchModel& model);
/// Position (0-based) of the constant c in the parameter vector.
int garch_constant_index(const GarchModel& model);
/// The default start shown in the initial-value grid: the regression coefficients given,
/// the constant at 0.5 (0.7071067811865476 for the absolute form, -1.3862943611198906 for
/// the exponential form), each MA coefficient of the plain and absolute forms and each ABS
/// MA coefficient of the exponential form at 0.1, every other coefficient at 0, and 10
/// degrees of freedom (as typed, not their reciprocal).
///
/// Why the error terms do not start at 0: without them the variance is the same at every
/// observation, so the in-mean coefficient's scores are a multiple of the intercept's
/// (singular cross products) and each AR coefficient's scores are a multiple of the
/// constant's except at the first observation. The first directions then run along
/// c/(1 − Σg) = const towards Σg = −1, where the iteration either finds no rising step or
/// stops on the constant-variance fit far below the maximum.
std::vector<double> garch_start(const GarchModel& model, std::span<const double> regression);

/// The sum of the MA and AR coefficients (the plain and absolute forms' stationarity sum).
double garch_lag_sum(const GarchModel& model, std::span<const double> theta);

/// E|z| of a standardised error: sqrt(2/π) for normal errors, and for Student-t errors
/// with v degrees of freedom sqrt(v − 2)·Γ((v − 1)/2) / (sqrt(π)·Γ(v/2)).
double expected_absolute_error(bool student_t, double v);

/// The log-density of an error e with conditional variance h: normal, or (v > 0)
/// standardised Student-t with v degrees of freedom.
double garch_log_density(double e, double h, double v);

/// What stays the same over the observations of one evaluation at theta: the degrees of
/// freedom v (0 for normal errors), E|z| (exponential forms, else 0) and, for Student-t
/// errors, the log-density's constant log Γ((v + 1)/2) − log Γ(v/2) − (log π + log(v − 2))/2;
/// `stop` says when 1/v is out of range (the other members are then 0).
struct GarchPointConstants {
  GarchStop stop = GarchStop::kNone;
  double v = 0.0, mean_abs = 0.0, t_constant = 0.0;
};
GarchPointConstants garch_point_constants(const GarchModel& model, std::span<const double> theta);

/// Throws std::invalid_argument unless an evaluation of `model` on `data` with
/// `parameters` values per point and `observations` log-likelihood values fits.
void check_garch_evaluation(const GarchModel& model, const GarchData& data, std::size_t parameters,
                            std::size_t observations);

/// Evaluates the model at theta: l(t) for each likelihood observation into `l`, and, when
/// given, the residual e(t) and the conditional standard deviation s(t) of every row
/// (rows before the likelihood observations hold their data residual and s0).
/// Returns kNone on success. Cost: O(rows·(k + lags + variables)).
GarchStop garch_loglik(const GarchModel& model, const GarchData& data, std::span<const double> theta,
                       std::span<double> l, std::span<double> e = {}, std::span<double> s = {});

}  // namespace qorv::single
