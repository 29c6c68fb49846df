#include "charts/axis.h"

#include <algorithm>
#include <cmath>

namespace charts {

namespace {

double nice_step(double span, int target) {
  const double raw = span / std::max(1, target);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * power >= raw * (1.0 - 1e-9)) return m * power;
  return 10.0 * power;
}

void fill_ticks(AxisScale& s) {
  s.ticks.clear();
  const double eps = s.step * 1e-7;
  for (double k = std::ceil((s.min - eps) / s.step);; k += 1.0) {
    double v = k * s.step;
    if (v > s.max + eps) break;
    if (std::fabs(v) < eps) v = 0.0;
    s.ticks.push_back(v);
    if (s.ticks.size() > 1000) break;
  }
  // Decimals that show the step exactly (2.5 needs one more than its power of ten).
  int decimals = 0;
  while (decimals < 12 &&
         std::fabs(s.step * std::pow(10.0, decimals) - std::round(s.step * std::pow(10.0, decimals))) >
             1e-6 * s.step * std::pow(10.0, decimals))
    ++decimals;
  s.decimals = decimals;
}

}  // namespace

AxisScale nice_scale(double lo, double hi, int target) {
  AxisScale s;
  if (!std::isfinite(lo) || !std::isfinite(hi)) {
    fill_ticks(s);
    return s;
  }
  if (lo > hi) std::swap(lo, hi);
  if (hi - lo <= std::fabs(hi) * 1e-12) {
    const double pad = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
    lo -= pad;
    hi += pad;
  }
  s.step = nice_step(hi - lo, target);
  s.min = std::floor(lo / s.step + 1e-9) * s.step;
  s.max = std::ceil(hi / s.step - 1e-9) * s.step;
  fill_ticks(s);
  return s;
}

AxisScale fixed_scale(double lo, double hi, int target) {
  AxisScale s = nice_scale(lo, hi, target);
  if (std::isfinite(lo) && std::isfinite(hi) && lo < hi) {
    s.min = lo;
    s.max = hi;
    fill_ticks(s);
  }
  return s;
}

QString tick_text(double value, const AxisScale& scale) {
  const double big = std::max(std::fabs(scale.min), std::fabs(scale.max));
  if (value == 0.0) return QStringLiteral("0");
  if (big >= 1e7 || scale.decimals > 6) return QString::number(value, 'g', 4);
  return QString::number(value, 'f', scale.decimals);
}

}  // namespace charts
