#include "engine/diagnostics/residual_series.h"

#include <algorithm>
#include <cmath>

#include "engine/single/estimation_state.h"

namespace qorv::diagnostics {

bool lists_plain_residuals(int code) {
  switch (code) {
    case 1: case 5: case 14: case 15: case 17: case 70: case 78: case 79: case 80: case 81: case 82: case 83: case 84:
      return true;
    default:
      return false;
  }
}

std::vector<double> listed_residuals() {
  const int block = lists_plain_residuals(single::estimation().method) ? single::block::kResiduals
                                                                      : single::block::kTransformedResiduals;
  const auto e = single::series_block(block);
  return {e.begin(), e.end()};
}

int histogram_classes(int n) {
  return std::clamp(static_cast<int>(std::lround(n / 10.0)), 6, 15);
}

}  // namespace qorv::diagnostics
