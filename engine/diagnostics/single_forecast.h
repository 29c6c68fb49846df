// Forecasts of the current single equation over the observations after its sample: the
// predictions, their errors and standard errors, the summary of the errors, the page and
// the plot of actual and forecast values.
#pragma once

#include <optional>
#include <vector>

namespace qorv::diagnostics {

/// Why forecasts were not made.
enum class ForecastStop {
  kNone,
  kFormulaFailed,      ///< the formula of a non-linear equation could not be evaluated
  kVarianceUndefined,  ///< a GARCH equation's conditional variance left its bounds
};

/// The forecasts of observations first..first + F − 1 (data-set numbering).
struct SingleForecast {
  ForecastStop stop = ForecastStop::kNone;  ///< not kNone: nothing else is filled
  int first = 0;                    ///< first forecast observation: the one after the sample
  bool dynamic = false;             ///< a regressor is a lag of the dependent variable
  bool std_errors = false;          ///< the method has forecast-error standard errors
  std::vector<double> actual;       ///< the dependent variable (missing code where it has no value)
  std::vector<double> prediction;   ///< the forecast (missing code when a regressor is missing)
  std::vector<double> error;        ///< actual − prediction, missing when either is
  std::vector<double> sd_error;     ///< σ·sqrt(1 + x'(X'X)⁻¹x) (only with `std_errors`)
  std::vector<double> conditional_sd;  ///< GARCH: the conditional standard deviation forecasts
  int m = 0;  ///< forecasts with actual values counted from the first: the leading run
  double mean_error = 0.0;        ///< Σe/m
  double mean_abs_error = 0.0;    ///< Σ|e|/m
  double mean_square_error = 0.0; ///< Σe²/m
  double rmse = 0.0;              ///< sqrt(Σe²/m)
};

/// Whether the current method forecasts through this routine: the linear, AR-error and
/// MA-error methods, the fully modified estimate, the non-linear methods and GARCH.
bool forecasts_single_equation(int method);

/// Forecasts the current estimate over observations sample end + 1 .. `last` (at least
/// one observation, inside the data set). Predictions are x(t)'b plus, for AR errors, the
/// residual u = y − x'b extended by u(T+i) = Σ ρ(q) u(T+i−q), or, for MA errors, the sum
/// over MA lags q >= i of θ(q) e(T+i−q) with e the innovations of the estimate. A regressor
/// that is a lag w of the dependent variable takes the prediction of w observations before
/// once that lies in the forecast period, else its data. Standard errors of OLS, IV and
/// the ARDL forms use x(t) so built and the stored variance of the estimates. The summary
/// covers the m leading observations with actual values (all zero when m = 0).
/// Non-linear equations: the formula evaluated one observation at a time, a dynamic
/// forecast in the dependent variable (`kFormulaFailed` when an evaluation fails or gives
/// the missing value). GARCH: the conditional standard deviations h run forward from the
/// sample (`kVarianceUndefined` when they leave their bounds), then x(t)'b plus, with the
/// in-mean term, its coefficient times h(t)². Empty when the period is empty or outside
/// the data set. Cost: F·(k² + lags), non-linear F·(formula + nobs·nvars).
std::optional<SingleForecast> forecast_equation(int last);

/// Options 8 (`plot_only` false) and 9 of the Post Regression Menu, `SINGLEFORECAST`: asks
/// the forecast period (checking every regressor but the lags of the dependent variable,
/// which take earlier predictions; for a non-linear equation the formula's variables but
/// the dependent one), computes the forecasts (a formula that fails ends the option
/// silently, an undefined conditional variance with its message), keeps them in the estimate's
/// forecast blocks, writes the page (option 8: table, summary and, for OLS and ARDL with
/// m > 0, the predictive-failure and stability tests over those m observations) and
/// draws the plot of actual and forecast values.
void SINGLEFORECAST(bool plot_only);

}  // namespace qorv::diagnostics
