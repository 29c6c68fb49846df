#include "engine/single/garch_forecast.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

bool inside(double h) { return h >= kGarchForecastFloor && h <= kGarchForecastCeiling; }

}  // namespace

GarchVarianceForecast garch_forecast_sd(const GarchModel& model, std::span<const double> theta,
                                        const GarchHistory& history, const std::vector<std::vector<double>>& z,
                                        int count) {
  const GarchLayout p = garch_layout(model);
  const int largest = std::max(model.ar_lags.empty() ? 0 : model.ar_lags.back(),
                               model.ma_lags.empty() ? 0 : model.ma_lags.back());
  const int past = static_cast<int>(history.e.size());
  if (static_cast<int>(theta.size()) != p.count || history.s.size() != history.e.size() || past < largest ||
      count < 0 || static_cast<int>(z.size()) != model.variance_variables)
    throw std::invalid_argument("garch_forecast_sd: arguments do not fit the model");
  for (const auto& column : z)
    if (static_cast<int>(column.size()) < count) throw std::invalid_argument("garch_forecast_sd: short variable");

  const bool exponential = model.form == VarianceForm::kExponential;
  const double v = model.student_t ? theta[static_cast<std::size_t>(p.reciprocal_df)] : 0.0;
  const double mean_abs = exponential ? expected_absolute_error(model.student_t, v) : 0.0;
  // Row r < past is a sample observation, row past + i forecast observation i.
  std::vector<double> e(history.e), h(history.s);
  GarchVarianceForecast out;
  for (int i = 0; i < count; ++i) {
    const int row = past + i;
    long double value = theta[static_cast<std::size_t>(p.constant)];
    for (std::size_t q = 0; q < model.ma_lags.size(); ++q) {
      const int lagged = row - model.ma_lags[q];
      const double a = theta[static_cast<std::size_t>(p.ma) + q];
      const double el = e[static_cast<std::size_t>(lagged)];
      switch (model.form) {
        case VarianceForm::kPlain: value += static_cast<long double>(a) * el * el; break;
        case VarianceForm::kAbsolute: value += static_cast<long double>(a) * std::fabs(el); break;
        case VarianceForm::kExponential: {
          if (lagged >= past) break;  // the expected standardised terms are 0
          const double hl = h[static_cast<std::size_t>(lagged)];
          if (!inside(hl)) return out;
          const double b = theta[static_cast<std::size_t>(p.abs_ma) + q];
          value += static_cast<long double>(a) * (el / hl) + static_cast<long double>(b) * (std::fabs(el) / hl - mean_abs);
          break;
        }
      }
    }
    for (std::size_t j = 0; j < model.ar_lags.size(); ++j) {
      const double hl = h[static_cast<std::size_t>(row - model.ar_lags[j])];
      if (!inside(hl)) return out;
      const double g = theta[static_cast<std::size_t>(p.ar) + j];
      switch (model.form) {
        case VarianceForm::kPlain: value += static_cast<long double>(g) * hl * hl; break;
        case VarianceForm::kAbsolute: value += static_cast<long double>(g) * hl; break;
        case VarianceForm::kExponential: value += static_cast<long double>(g) * std::log(hl * hl); break;
      }
    }
    for (int q = 0; q < model.variance_variables; ++q) {
      const double zq = z[static_cast<std::size_t>(q)][static_cast<std::size_t>(i)];
      if (zq == limits::kMissing) return out;
      value += static_cast<long double>(theta[static_cast<std::size_t>(p.variables + q)]) * zq;
    }
    double sd = 0.0;
    if (exponential) {
      if (!(value <= kGarchForecastLogCeiling)) return out;
      const double variance = std::exp(static_cast<double>(value));
      if (!(variance >= kGarchForecastFloor)) return out;
      sd = std::sqrt(variance);
    } else {
      if (!inside(static_cast<double>(value))) return out;
      sd = model.form == VarianceForm::kAbsolute ? static_cast<double>(value) : std::sqrt(static_cast<double>(value));
    }
    h.push_back(sd);
    e.push_back(sd);
    out.sd.push_back(sd);
  }
  out.defined = true;
  return out;
}

}  // namespace qorv::single
