#include "engine/single/garch_lanes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "engine/core/num/cross_products.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

namespace {

// The lanes are GCC vector types: their arithmetic is compiled for the instruction set of
// the function the pass is inlined into, and they never cross a call boundary (the build
// turns off the warning about passing them by value).
using Lanes = double __attribute__((vector_size(8 * kGarchLanes), aligned(8 * kGarchLanes)));
using LaneBits = std::int64_t __attribute__((vector_size(8 * kGarchLanes), aligned(8 * kGarchLanes)));

/// A lane vector in a container (which would drop the type's alignment).
struct alignas(sizeof(Lanes)) LaneSlot {
  Lanes v;
};

constexpr double kTolerance = limits::kTolerance;
constexpr double kLog2Pi = 1.8378770664093453;

/// Everything one pass reads and writes; `theta` holds each parameter in all lanes
/// (parameter q of lane i at theta[q].v[i]), `active` the lanes whose library calls count.
///
/// The checks that stop garch_loglik are kept as running extremes instead of being tested
/// at each observation: the smallest and largest variance-recursion value, the largest
/// lagged standard deviation, and a sum that turns NaN with the first value that is not a
/// finite number. A lane whose extremes pass every check ran through as garch_loglik does;
/// garch_loglik itself tells why any other lane stopped.
struct Pass {
  const GarchModel* model = nullptr;
  const GarchData* data = nullptr;
  GarchLayout p;
  std::vector<LaneSlot> theta;
  Lanes mean_abs{}, t_constant{}, half_v1{}, v_minus_2{};
  bool student_t = false;
  int active = 0;
  LaneSlot* e = nullptr;  // every row, as in garch_loglik
  LaneSlot* s = nullptr;
  double* l = nullptr;
  Lanes smallest{}, largest{}, largest_lag{}, not_finite{};
};

[[gnu::always_inline]] inline Lanes broadcast(double x) { return Lanes{} + x; }

[[gnu::always_inline]] inline Lanes absolute(Lanes x) {
  return reinterpret_cast<Lanes>(reinterpret_cast<LaneBits>(x) & INT64_MAX);
}

[[gnu::always_inline]] inline Lanes larger(Lanes a, Lanes b) { return a > b ? a : b; }
[[gnu::always_inline]] inline Lanes smaller(Lanes a, Lanes b) { return a < b ? a : b; }

/// A library function applied to each active lane (the others keep their argument).
template <double (*F)(double)>
[[gnu::always_inline]] inline Lanes each(Lanes x, int active) {
  alignas(sizeof(Lanes)) double values[kGarchLanes];
  __builtin_memcpy(values, &x, sizeof x);
  for (int i = 0; i < active; ++i) values[i] = F(values[i]);
  __builtin_memcpy(&x, values, sizeof x);
  return x;
}
double log_of(double x) { return std::log(x); }
double exp_of(double x) { return std::exp(x); }
double log1p_of(double x) { return std::log1p(x); }

/// Parameter q in every lane.
[[gnu::always_inline]] inline const Lanes& parameter(const Pass& pass, int q) {
  return pass.theta[static_cast<std::size_t>(q)].v;
}

/// y(t) − Σ_j x_j(t)·b_j in each lane.
[[gnu::always_inline]] inline Lanes mean_part(const Pass& pass, int t) {
  const auto at = static_cast<std::size_t>(t);
  Lanes fit = broadcast(0.0);
  for (int j = 0; j < pass.model->regressors; ++j)
    fit = fit + pass.data->x[static_cast<std::size_t>(j)][at] * pass.theta[static_cast<std::size_t>(j)].v;
  return pass.data->y[at] - fit;
}

/// garch_loglik's recursion over the rows, lane by lane; inlined into one function per
/// instruction set.
[[gnu::always_inline]] inline void run(Pass& pass) {
  const GarchModel& model = *pass.model;
  const GarchData& data = *pass.data;
  const GarchLayout& p = pass.p;
  const Lanes d = p.in_mean >= 0 ? parameter(pass, p.in_mean) : broadcast(0.0);
  const Lanes c = parameter(pass, p.constant);
  const int rows = data.rows(), first = data.presample;
  for (int t = 0; t < first; ++t) {
    pass.s[static_cast<std::size_t>(t)].v = broadcast(data.s0);
    pass.e[static_cast<std::size_t>(t)].v = mean_part(pass, t) - d * data.s0 * data.s0;
  }
  Lanes smallest = broadcast(HUGE_VAL), largest = broadcast(0.0), largest_lag = broadcast(0.0),
        not_finite = broadcast(0.0);
  for (int t = first; t < rows; ++t) {
    const auto at = static_cast<std::size_t>(t);
    Lanes r = c;
    for (std::size_t i = 0; i < model.ma_lags.size(); ++i) {
      const auto lagged = static_cast<std::size_t>(t - model.ma_lags[i]);
      const Lanes a = parameter(pass, p.ma + static_cast<int>(i));
      const Lanes el = pass.e[lagged].v;
      switch (model.form) {
        case VarianceForm::kPlain: r = r + a * el * el; break;
        case VarianceForm::kAbsolute: r = r + a * absolute(el); break;
        case VarianceForm::kExponential: {
          const Lanes z = el / pass.s[lagged].v;
          r = r + (a * z + parameter(pass, p.abs_ma + static_cast<int>(i)) * (absolute(z) - pass.mean_abs));
          break;
        }
      }
    }
    for (std::size_t j = 0; j < model.ar_lags.size(); ++j) {
      const Lanes sl = pass.s[static_cast<std::size_t>(t - model.ar_lags[j])].v;
      largest_lag = larger(absolute(sl), largest_lag);
      const Lanes g = parameter(pass, p.ar + static_cast<int>(j));
      switch (model.form) {
        case VarianceForm::kPlain: r = r + g * sl * sl; break;
        case VarianceForm::kAbsolute: r = r + g * sl; break;
        case VarianceForm::kExponential: r = r + g * each<log_of>(sl * sl, pass.active); break;
      }
    }
    for (int q = 0; q < model.variance_variables; ++q)
      r = r + parameter(pass, p.variables + q) * data.z[static_cast<std::size_t>(q)][at];
    if (model.form == VarianceForm::kExponential) r = each<exp_of>(r, pass.active);
    smallest = smaller(r, smallest);
    largest = larger(r, largest);
    Lanes h = r, s = r;
    if (model.form == VarianceForm::kAbsolute) {
      h = r * r;
    } else {
      for (int i = 0; i < kGarchLanes; ++i) s[i] = __builtin_sqrt(r[i]);
    }
    pass.s[at].v = s;
    const Lanes e = mean_part(pass, t) - d * h;
    pass.e[at].v = e;
    const Lanes log_h = each<log_of>(h, pass.active);
    const Lanes lt = pass.student_t ? pass.t_constant - 0.5 * log_h -
                                          pass.half_v1 * each<log1p_of>(e * e / (pass.v_minus_2 * h), pass.active)
                                    : -0.5 * (kLog2Pi + log_h + e * e / h);
    not_finite = not_finite + ((r - r) + (lt - lt));
    __builtin_memcpy(pass.l + static_cast<std::size_t>(t - first) * kGarchLanes, &lt, sizeof lt);
  }
  pass.smallest = smallest;
  pass.largest = largest;
  pass.largest_lag = largest_lag;
  pass.not_finite = not_finite;
}

[[gnu::target("avx512f")]] void run_avx512(Pass& pass) { run(pass); }
[[gnu::target("avx2")]] void run_avx2(Pass& pass) { run(pass); }
void run_portable(Pass& pass) { run(pass); }

}  // namespace

void garch_loglik_lanes(const GarchModel& model, const GarchData& data, std::span<const double> points,
                        std::span<double> l, std::span<GarchStop> stops) {
  const GarchLayout p = garch_layout(model);
  const auto m = static_cast<std::size_t>(p.count);
  const std::size_t count = m == 0 ? 0 : points.size() / m;
  const auto n = static_cast<std::size_t>(std::max(data.observations(), 0));
  if (count < 1 || count > kGarchLanes || points.size() != count * m || stops.size() < count ||
      l.size() != n * kGarchLanes)
    throw std::invalid_argument("garch_loglik_lanes: arguments do not fit the model");
  check_garch_evaluation(model, data, m, n);

  Pass pass;
  pass.model = &model;
  pass.data = &data;
  pass.p = p;
  pass.student_t = model.student_t;
  pass.active = static_cast<int>(count);
  pass.theta.assign(m, LaneSlot{});
  std::array<GarchStop, kGarchLanes> early{};
  Lanes v{};
  // Lanes past the points repeat the first point; their values are not read.
  for (int i = 0; i < kGarchLanes; ++i) {
    const std::size_t point = static_cast<std::size_t>(i) < count ? static_cast<std::size_t>(i) : 0;
    const auto theta = points.subspan(point * m, m);
    for (std::size_t q = 0; q < m; ++q) pass.theta[q].v[i] = theta[q];
    const GarchPointConstants constants = garch_point_constants(model, theta);
    early[static_cast<std::size_t>(i)] = constants.stop;
    v[i] = constants.v;
    pass.mean_abs[i] = constants.mean_abs;
    pass.t_constant[i] = constants.t_constant;
  }
  pass.half_v1 = 0.5 * (v + 1.0);
  pass.v_minus_2 = v - 2.0;
  // The rows' storage is the thread's, kept from call to call: fresh pages of this size
  // cost more than a pass.
  thread_local std::vector<LaneSlot> rows;
  if (rows.size() < 2 * static_cast<std::size_t>(data.rows())) rows.resize(2 * static_cast<std::size_t>(data.rows()));
  pass.e = rows.data();
  pass.s = rows.data() + data.rows();
  pass.l = l.data();
  switch (core::cross_detail::vector_level()) {
    case core::cross_detail::VectorLevel::kAvx512: run_avx512(pass); break;
    case core::cross_detail::VectorLevel::kAvx2: run_avx2(pass); break;
    case core::cross_detail::VectorLevel::kNone: run_portable(pass); break;
  }
  constexpr double kSmallest = kTolerance * kTolerance;
  std::vector<double> one;
  for (std::size_t i = 0; i < count; ++i) {
    stops[i] = early[i];
    if (stops[i] != GarchStop::kNone) continue;
    if (pass.smallest[i] > kSmallest && !(pass.largest[i] > kGarchBound) && !(pass.largest_lag[i] > kGarchBound) &&
        pass.not_finite[i] == 0.0)
      continue;
    one.resize(n);
    stops[i] = garch_loglik(model, data, points.subspan(i * m, m), one);
  }
}

}  // namespace qorv::single
