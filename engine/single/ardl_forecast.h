// The predictions of a chosen ARDL model: its fitted values over the sample and its
// dynamic forecasts after it.
#pragma once

#include <span>
#include <vector>

#include "engine/single/ardl_search.h"

namespace qorv::single {

/// Predictions of the ARDL model with `orders` and coefficients `b` (in the order of
/// fit_ardl_model) over the n observations of the sample and the `forecasts` after it,
/// n + F values. `data` is laid out as for fit_ardl_model but runs F observations
/// further: each ARDL variable holds p + n + F values, each deterministic column n + F;
/// the dependent variable's values after the sample are not read. Over the sample the
/// lags of y are the data (the one-step fitted values); after it a lag of y that reaches
/// into the forecast period takes the forecast made for that observation, the regressors
/// and deterministic variables their data. A missing operand gives the missing code
/// (and so do the forecasts that read it). Throws std::invalid_argument when the
/// arguments do not fit. Cost: O((n + F)·k).
std::vector<double> ardl_predictions(const ArdlData& data, std::span<const int> orders, std::span<const double> b,
                                     int forecasts);

}  // namespace qorv::single
