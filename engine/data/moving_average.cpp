#include "engine/data/moving_average.h"

#include <cmath>
#include <stdexcept>

namespace qorv::data {

void FUNCMAV(int offset, std::span<const double> series, std::span<const double> window,
             double missing, std::span<double> average) {
  const std::size_t n = window.size();
  if (offset < 0 || average.size() != n || series.size() < static_cast<std::size_t>(offset) + n)
    throw std::invalid_argument("FUNCMAV: the series or the output is shorter than the range");
  for (std::size_t i = 0; i < n; ++i) {
    average[i] = missing;
    const double w = window[i];
    if (w == missing || !(w >= 0.0)) continue;
    // The window is compared in floating point, so that no width can overflow an integer.
    const double g = std::round(w);
    const std::size_t t = static_cast<std::size_t>(offset) + i + 1;
    if (g < 1.0 || g > static_cast<double>(t)) continue;
    const std::size_t width = static_cast<std::size_t>(g);
    double sum = 0.0;
    bool complete = true;
    for (std::size_t k = t - width; k < t && complete; ++k) {
      complete = series[k] != missing;
      sum += series[k];
    }
    if (complete) average[i] = sum / g;
  }
}

}  // namespace qorv::data
