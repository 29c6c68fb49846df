// Axis scales with readable tick values.
#pragma once

#include <QString>

#include <vector>

namespace charts {

/// A linear axis: its range and the values that get a tick and a label.
struct AxisScale {
  double min = 0.0;            ///< value at the axis start
  double max = 1.0;            ///< value at the axis end
  double step = 0.2;           ///< distance between ticks
  std::vector<double> ticks;   ///< tick values, ascending, within [min, max]
  int decimals = 1;            ///< decimals that show every tick value exactly
};

/// A scale over [lo, hi] widened to whole multiples of a step of 1, 2, 2.5 or 5 times a
/// power of ten, with about `target` intervals. A zero-width range is widened around its
/// value. Non-finite bounds give the scale 0..1.
AxisScale nice_scale(double lo, double hi, int target = 5);

/// Ticks every `step` over the fixed range [lo, hi] (both kept as they are).
AxisScale fixed_scale(double lo, double hi, int target = 5);

/// `value` as an axis label with the scale's decimals ("-0" shows as "0"); very large or
/// very small magnitudes in exponent form.
QString tick_text(double value, const AxisScale& scale);

}  // namespace charts
