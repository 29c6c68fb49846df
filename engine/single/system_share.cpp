#include "engine/single/system_share.h"

#include <algorithm>

#include "engine/core/likelihoods.h"
#include "engine/core/num/data_vectors.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

namespace qorv::single {

void estimate_system_share(bool) {
  auto& s = estimation();
  const SystemShare& share = s.system_share;
  const auto k = static_cast<std::size_t>(s.nregs);
  if (s.nregs < 1 || share.coefficients.size() != k || share.variance.size() != k * (k + 1) / 2) {
    s.status = status::kFailed;
    return;
  }
  const auto& g = core::globals();
  const int n = s.nused;
  std::copy(share.coefficients.begin(), share.coefficients.end(), s.result.begin() + block::kCoefficients);
  auto residuals = series_block(block::kResiduals);
  auto fitted_values = series_block(block::kFitted);
  core::RESIDXB(core::work_array(), series_block(block::kActual), share.coefficients, residuals, n, s.nregs,
                g.sample_start - 1, g.nobs, s.eqvarlist);
  long double rss = 0.0L;
  for (int t = 0; t < n; ++t) {
    const double e = residuals[static_cast<std::size_t>(t)];
    fitted_values[static_cast<std::size_t>(t)] = actual(t + 1) - e;
    rss += static_cast<long double>(e) * e;
  }
  s.rss = static_cast<double>(rss);
  s.variance = share.variance;
  s.scale = VarianceScale::kAbsolute;
  core::NORMALLOGLIK(n, s.nregs, s.rss, s.sigma, s.loglik);
  s.status = status::kEstimated;
}

}  // namespace qorv::single
