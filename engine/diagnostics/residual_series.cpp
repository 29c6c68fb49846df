#include "engine/diagnostics/residual_series.h"

#include <algorithm>
#include <cmath>

#include "engine/single/estimation_state.h"

namespace qorv::diagnostics {

std::vector<double> listed_residuals() {
  const int block = single::method_row(single::estimation().method).plain_residuals ? single::block::kResiduals
                                                                      : single::block::kTransformedResiduals;
  const auto e = single::series_block(block);
  return {e.begin(), e.end()};
}

int histogram_classes(int n) {
  return std::clamp(static_cast<int>(std::lround(n / 10.0)), 6, 15);
}

}  // namespace qorv::diagnostics
