// The conditional standard deviations of a GARCH-family equation over the observations
// after its sample: the variance equation run forward from the sample's last residuals
// and standard deviations.
#pragma once

#include <span>
#include <vector>

#include "engine/single/garch_likelihood.h"

namespace qorv::single {

/// Bounds of a forecast: a standard deviation read at a lag, and the variance equation's
/// value, must lie in [kGarchForecastFloor, kGarchForecastCeiling]; the exponential
/// forms' log variance may not exceed kGarchForecastLogCeiling (its exponential is the
/// ceiling).
inline constexpr double kGarchForecastFloor = 1e-11;
inline constexpr double kGarchForecastCeiling = 5.184705528587097e21;
inline constexpr double kGarchForecastLogCeiling = 50.0;

/// Where a forecast starts: the residuals e and conditional standard deviations s of
/// the last observations of the sample, oldest first, the last at the sample's end.
/// They must reach back at least the largest lag of the model.
struct GarchHistory {
  std::vector<double> e;
  std::vector<double> s;
};

/// The standard deviations h(T + 1) .. h(T + F), or `defined` false at the first
/// observation whose variance is not defined.
struct GarchVarianceForecast {
  bool defined = false;
  std::vector<double> sd;
};

/// Runs the variance equation of `model` for F = `count` observations after the sample.
/// `theta` is the estimate as reported (for Student-t errors its last entry holds the
/// degrees of freedom); `z[q]` holds variance variable q over the F observations (the
/// missing code where it has none). At observation t the value is
///   c + Σ a(q)·w(t − q) + Σ g(j)·v(t − j) + Σ δ(q)·z(q, t),
/// w the error term of the form (e², |e|, or a·z + b·(|z| − E|z|) with z = e/h for the
/// exponential forms, taken as 0 once t − q is a forecast observation) and v the lagged
/// variance term (h², h, log h²). Once t − q is a forecast observation e(t − q) is
/// h(t − q): e² stands for the variance forecast. h(t) is the value's square root (plain
/// forms), the value itself (absolute forms) or the square root of its exponential
/// (exponential forms). The forecast is not defined when a lagged h leaves the bounds, a
/// variance variable is missing, or the value leaves them (the exponential forms: the log
/// above 50, or the variance below the floor). Throws std::invalid_argument when the
/// arguments do not fit the model. Cost: O(F·(lags + variables)).
GarchVarianceForecast garch_forecast_sd(const GarchModel& model, std::span<const double> theta,
                                        const GarchHistory& history, const std::vector<std::vector<double>>& z,
                                        int count);

}  // namespace qorv::single
