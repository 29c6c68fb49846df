// Forecasts of the current single equation over the observations after its sample: the
// predictions, their errors and standard errors, the summary of the errors, the page and
// the plot of actual and forecast values.
#pragma once

#include <optional>
#include <vector>

namespace qorv::diagnostics {

/// The forecasts of observations first..first + F − 1 (data-set numbering).
struct SingleForecast {
  int first = 0;                    ///< first forecast observation: the one after the sample
  bool dynamic = false;             ///< a regressor is a lag of the dependent variable
  bool std_errors = false;          ///< the method has forecast-error standard errors
  std::vector<double> actual;       ///< the dependent variable (missing code where it has no value)
  std::vector<double> prediction;   ///< the forecast (missing code when a regressor is missing)
  std::vector<double> error;        ///< actual − prediction, missing when either is
  std::vector<double> sd_error;     ///< σ·sqrt(1 + x'(X'X)⁻¹x) (only with `std_errors`)
  int m = 0;  ///< forecasts with actual values counted from the first: the leading run
  double mean_error = 0.0;        ///< Σe/m
  double mean_abs_error = 0.0;    ///< Σ|e|/m
  double mean_square_error = 0.0; ///< Σe²/m
  double rmse = 0.0;              ///< sqrt(Σe²/m)
};

/// Whether the current method forecasts through this routine: the linear, AR-error and
/// MA-error methods and the fully modified estimate.
bool forecasts_single_equation(int method);

/// Forecasts the current estimate over observations sample end + 1 .. `last` (at least
/// one observation, inside the data set). Predictions are x(t)'b plus, for AR errors, the
/// residual u = y − x'b extended by u(T+i) = Σ ρ(q) u(T+i−q), or, for MA errors, the sum
/// over MA lags q >= i of θ(q) e(T+i−q) with e the innovations of the estimate. A regressor
/// that is a lag w of the dependent variable takes the prediction of w observations before
/// once that lies in the forecast period, else its data. Standard errors of OLS, IV and
/// the ARDL forms use x(t) so built and the stored variance of the estimates. The summary
/// covers the m leading observations with actual values (all zero when m = 0). Empty when
/// the period is empty or outside the data set. Cost: F·(k² + lags).
std::optional<SingleForecast> forecast_equation(int last);

/// Options 8 (`plot_only` false) and 9 of the Post Regression Menu, `SINGLEFORECAST`: asks
/// the forecast period (checking every regressor but the lags of the dependent variable,
/// which take earlier predictions), computes the forecasts, keeps them in the estimate's
/// forecast blocks, writes the page (option 8: table, summary and, for OLS and ARDL with
/// m > 0, the predictive-failure and stability tests over those m observations) and
/// draws the plot of actual and forecast values.
void SINGLEFORECAST(bool plot_only);

}  // namespace qorv::diagnostics
