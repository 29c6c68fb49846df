#include "engine/single/garch_likelihood.h"

#include <cmath>
#include <stdexcept>

#include "engine/core/distributions.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

constexpr double kTolerance = limits::kTolerance;
constexpr double kLog2Pi = 1.8378770664093453;
constexpr double kLogPi = 1.1447298858494002;
constexpr double kHalfLogPi = 0.5723649429247001;
constexpr double kNormalAbsMean = 0.7978845608028654;  // sqrt(2/π)

double log_gamma(double x) {
  int fault = 0;
  const double v = core::LOGGAMMA(x, fault);
  return fault != 0 ? std::nan("") : v;
}

}  // namespace

GarchLayout garch_layout(const GarchModel& m) {
  GarchLayout p;
  int at = m.regressors;
  if (m.in_mean) p.in_mean = at++;
  p.constant = at++;
  p.ma = at;
  at += static_cast<int>(m.ma_lags.size());
  p.abs_ma = at;
  if (m.form == VarianceForm::kExponential) at += static_cast<int>(m.ma_lags.size());
  p.ar = at;
  at += static_cast<int>(m.ar_lags.size());
  p.variables = at;
  at += m.variance_variables;
  if (m.student_t) p.reciprocal_df = at++;
  p.count = at;
  return p;
}

int garch_parameter_count(const GarchModel& model) { return garch_layout(model).count; }

int garch_constant_index(const GarchModel& model) { return garch_layout(model).constant; }

double garch_lag_sum(const GarchModel& model, std::span<const double> theta) {
  const GarchLayout p = garch_layout(model);
  double sum = 0.0;
  for (size_t i = 0; i < model.ma_lags.size(); ++i) sum += theta[static_cast<size_t>(p.ma) + i];
  for (size_t j = 0; j < model.ar_lags.size(); ++j) sum += theta[static_cast<size_t>(p.ar) + j];
  return sum;
}

double expected_absolute_error(bool student_t, double v) {
  if (!student_t) return kNormalAbsMean;
  return std::exp(0.5 * std::log(v - 2.0) + log_gamma(0.5 * (v - 1.0)) - kHalfLogPi - log_gamma(0.5 * v));
}

double garch_log_density(double e, double h, double v) {
  if (v <= 0.0) return -0.5 * (kLog2Pi + std::log(h) + e * e / h);
  return log_gamma(0.5 * (v + 1.0)) - log_gamma(0.5 * v) - 0.5 * (kLogPi + std::log(v - 2.0)) - 0.5 * std::log(h) -
         0.5 * (v + 1.0) * std::log1p(e * e / ((v - 2.0) * h));
}

GarchStop garch_loglik(const GarchModel& model, const GarchData& data, std::span<const double> theta,
                       std::span<double> l, std::span<double> e_out, std::span<double> s_out) {
  const GarchLayout p = garch_layout(model);
  const int rows = data.rows();
  const int first = data.presample;
  const int largest = std::max(model.ar_lags.empty() ? 0 : model.ar_lags.back(),
                               model.ma_lags.empty() ? 0 : model.ma_lags.back());
  if (static_cast<int>(theta.size()) != p.count || first < largest || first > rows ||
      static_cast<int>(l.size()) != rows - first || static_cast<int>(data.x.size()) != model.regressors ||
      static_cast<int>(data.z.size()) != model.variance_variables ||
      (!e_out.empty() && static_cast<int>(e_out.size()) != rows) ||
      (!s_out.empty() && static_cast<int>(s_out.size()) != rows))
    throw std::invalid_argument("garch_loglik: arguments do not fit the model");

  double v = 0.0;  // degrees of freedom; 0 for normal errors
  if (model.student_t) {
    const double w = theta[static_cast<size_t>(p.reciprocal_df)];
    if (w < kTolerance) return GarchStop::kLargeDf;
    v = 1.0 / w;
    if (v - 2.0 < kTolerance) return GarchStop::kSmallDf;
  }
  const double mean_abs = model.form == VarianceForm::kExponential ? expected_absolute_error(model.student_t, v) : 0.0;
  const double d = p.in_mean >= 0 ? theta[static_cast<size_t>(p.in_mean)] : 0.0;
  const double c = theta[static_cast<size_t>(p.constant)];

  std::vector<double> local_e, local_s;
  if (e_out.empty()) {
    local_e.resize(static_cast<size_t>(rows));
    e_out = local_e;
  }
  if (s_out.empty()) {
    local_s.resize(static_cast<size_t>(rows));
    s_out = local_s;
  }
  const auto mean_part = [&](int t) {
    double fit = 0.0;
    for (int j = 0; j < model.regressors; ++j) fit += data.x[static_cast<size_t>(j)][static_cast<size_t>(t)] * theta[static_cast<size_t>(j)];
    return data.y[static_cast<size_t>(t)] - fit;
  };
  for (int t = 0; t < first; ++t) {
    s_out[static_cast<size_t>(t)] = data.s0;
    e_out[static_cast<size_t>(t)] = mean_part(t) - d * data.s0 * data.s0;
  }
  for (int t = first; t < rows; ++t) {
    const auto at = static_cast<size_t>(t);
    double r = c;
    for (size_t i = 0; i < model.ma_lags.size(); ++i) {
      const auto lagged = static_cast<size_t>(t - model.ma_lags[i]);
      const double a = theta[static_cast<size_t>(p.ma) + i];
      const double el = e_out[lagged];
      switch (model.form) {
        case VarianceForm::kPlain: r += a * el * el; break;
        case VarianceForm::kAbsolute: r += a * std::fabs(el); break;
        case VarianceForm::kExponential: {
          const double z = el / s_out[lagged];
          r += a * z + theta[static_cast<size_t>(p.abs_ma) + i] * (std::fabs(z) - mean_abs);
          break;
        }
      }
    }
    for (size_t j = 0; j < model.ar_lags.size(); ++j) {
      const double sl = s_out[static_cast<size_t>(t - model.ar_lags[j])];
      if (std::fabs(sl) > kGarchBound) return GarchStop::kUnstableLag;
      const double g = theta[static_cast<size_t>(p.ar) + j];
      switch (model.form) {
        case VarianceForm::kPlain: r += g * sl * sl; break;
        case VarianceForm::kAbsolute: r += g * sl; break;
        case VarianceForm::kExponential: r += g * std::log(sl * sl); break;
      }
    }
    for (int q = 0; q < model.variance_variables; ++q)
      r += theta[static_cast<size_t>(p.variables + q)] * data.z[static_cast<size_t>(q)][at];
    if (model.form == VarianceForm::kExponential) r = std::exp(r);
    if (!(r > kTolerance * kTolerance)) return GarchStop::kSmallVariance;
    if (r > kGarchBound) return GarchStop::kLargeVariance;
    const double h = model.form == VarianceForm::kAbsolute ? r * r : r;
    const double s = model.form == VarianceForm::kAbsolute ? r : std::sqrt(r);
    s_out[at] = s;
    const double e = mean_part(t) - d * h;
    e_out[at] = e;
    const double lt = garch_log_density(e, h, v);
    if (!std::isfinite(lt)) return GarchStop::kNotFinite;
    l[at - static_cast<size_t>(first)] = lt;
  }
  return GarchStop::kNone;
}

}  // namespace qorv::single
