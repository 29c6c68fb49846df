// The question of the forecast period after the estimation sample, shared by the
// forecasting code of every estimator.
#pragma once

#include <span>

namespace qorv::single {

/// `FORECASTPERIOD` modes.
enum ForecastPeriodMode : int {
  kCheckRegressors = 1,  ///< ask the period, then check the regressors over it
  kPeriodOnly = 2,       ///< ask the period only
};

/// How the refusal of a missing regressor joins the date label and ", can't forecast!":
/// the single-equation forecasts write them together, the system forecasts one blank apart.
enum class RefusalSpacing { kJoined, kBlankApart };

/// Asks the end of the forecast period that starts at observation `first` (the first
/// after the sample) and may run to `last_available`: "Initial observation in the
/// forecast period is: " + first label + " Final observation for the forecast period
/// (Max " + last label + ")?". An empty answer takes `last_available`; a label that does
/// not read, lies before `first` or after `last_available` beeps and asks again. Unless
/// `mode` is `kPeriodOnly`, the workspace variables numbered in `regressors` must hold
/// values over the period: the first (in list order) that holds the missing code is
/// named with its first such observation: NAME " is not defined at observation " LABEL
/// ", can't forecast!" (with `spacing` between the last two). With no observation after the sample: "No observation is
/// available for forecasting!". Returns true on failure (also when the user cancels);
/// on success `final_observation` holds the end of the period.
/// Cost O(regressors × period length).
bool FORECASTPERIOD(int last_available, int first, int& final_observation, std::span<const int> regressors,
                    int mode, RefusalSpacing spacing = RefusalSpacing::kJoined);

}  // namespace qorv::single
