#include "engine/single/garch_likelihood.h"

#include <algorithm>
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
constexpr double kStartMa = 0.1;
constexpr double kStartDf = 10.0;

double log_gamma(double x) {
  int fault = 0;
  const double v = core::LOGGAMMA(x, fault);
  return fault != 0 ? std::nan("") : v;
}

/// log Γ((v + 1)/2) − log Γ(v/2) − (log π + log(v − 2))/2, the Student-t log-density's
/// part that does not depend on the error.
double t_density_constant(double v) {
  return log_gamma(0.5 * (v + 1.0)) - log_gamma(0.5 * v) - 0.5 * (kLogPi + std::log(v - 2.0));
}

/// The log-density of e with variance h: normal (v <= 0), or Student-t with v degrees of
/// freedom and the constant t_density_constant(v).
double log_density(double e, double h, double v, double t_constant) {
  if (v <= 0.0) return -0.5 * (kLog2Pi + std::log(h) + e * e / h);
  return t_constant - 0.5 * std::log(h) - 0.5 * (v + 1.0) * std::log1p(e * e / ((v - 2.0) * h));
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

std::vector<double> garch_start(const GarchModel& model, std::span<const double> regression) {
  const GarchLayout p = garch_layout(model);
  if (static_cast<int>(regression.size()) != model.regressors)
    throw std::invalid_argument("garch_start: one coefficient per regressor");
  std::vector<double> theta(static_cast<size_t>(p.count), 0.0);
  std::copy(regression.begin(), regression.end(), theta.begin());
  switch (model.form) {
    case VarianceForm::kPlain:
      theta[static_cast<size_t>(p.constant)] = 0.5;
      std::fill_n(theta.begin() + p.ma, model.ma_lags.size(), kStartMa);
      break;
    case VarianceForm::kAbsolute:
      theta[static_cast<size_t>(p.constant)] = 0.7071067811865476;
      std::fill_n(theta.begin() + p.ma, model.ma_lags.size(), kStartMa);
      break;
    case VarianceForm::kExponential:
      theta[static_cast<size_t>(p.constant)] = -1.3862943611198906;
      std::fill_n(theta.begin() + p.abs_ma, model.ma_lags.size(), kStartMa);
      break;
  }
  if (model.student_t) theta[static_cast<size_t>(p.reciprocal_df)] = kStartDf;
  return theta;
}

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
  return log_density(e, h, v, v <= 0.0 ? 0.0 : t_density_constant(v));
}

GarchPointConstants garch_point_constants(const GarchModel& model, std::span<const double> theta) {
  GarchPointConstants out;
  if (model.student_t) {
    const double w = theta[static_cast<size_t>(garch_layout(model).reciprocal_df)];
    if (w < kTolerance) return {GarchStop::kLargeDf};
    out.v = 1.0 / w;
    if (out.v - 2.0 < kTolerance) return {GarchStop::kSmallDf};
    out.t_constant = t_density_constant(out.v);
  }
  if (model.form == VarianceForm::kExponential) out.mean_abs = expected_absolute_error(model.student_t, out.v);
  return out;
}

void check_garch_evaluation(const GarchModel& model, const GarchData& data, std::size_t parameters,
                            std::size_t observations) {
  const int largest = std::max(model.ar_lags.empty() ? 0 : model.ar_lags.back(),
                               model.ma_lags.empty() ? 0 : model.ma_lags.back());
  if (parameters != static_cast<size_t>(garch_parameter_count(model)) || data.presample < largest ||
      data.presample > data.rows() || observations != static_cast<size_t>(data.observations()) ||
      static_cast<int>(data.x.size()) != model.regressors ||
      static_cast<int>(data.z.size()) != model.variance_variables)
    throw std::invalid_argument("garch: arguments do not fit the model");
  for (const auto& column : data.x)
    if (column.size() != data.y.size()) throw std::invalid_argument("garch: a regressor of another length");
  for (const auto& column : data.z)
    if (column.size() != data.y.size()) throw std::invalid_argument("garch: a variance variable of another length");
}

GarchStop garch_loglik(const GarchModel& model, const GarchData& data, std::span<const double> theta,
                       std::span<double> l, std::span<double> e_out, std::span<double> s_out) {
  const GarchLayout p = garch_layout(model);
  const int rows = data.rows();
  const int first = data.presample;
  check_garch_evaluation(model, data, theta.size(), l.size());
  if ((!e_out.empty() && static_cast<int>(e_out.size()) != rows) ||
      (!s_out.empty() && static_cast<int>(s_out.size()) != rows))
    throw std::invalid_argument("garch_loglik: arguments do not fit the model");

  const GarchPointConstants point = garch_point_constants(model, theta);
  if (point.stop != GarchStop::kNone) return point.stop;
  const double v = point.v;  // 0 for normal errors
  const double mean_abs = point.mean_abs;
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
    const double lt = log_density(e, h, v, point.t_constant);
    if (!std::isfinite(lt)) return GarchStop::kNotFinite;
    l[at - static_cast<size_t>(first)] = lt;
  }
  return GarchStop::kNone;
}

}  // namespace qorv::single
