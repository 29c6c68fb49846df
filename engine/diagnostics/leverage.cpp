#include "engine/diagnostics/leverage.h"

#include <algorithm>
#include <span>

#include "engine/core/num/matrices.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

namespace qorv::diagnostics {

std::vector<double> LEVERAGE() {
  const auto& s = single::estimation();
  const core::Globals& g = core::globals();
  const int n = s.nused, k = s.nregs;
  if (n < 1 || k < 1 || static_cast<int>(s.eqvarlist.size()) < k + 1 || g.sample_start < 1 ||
      g.sample_start - 1 + n > g.nobs)
    return {};
  for (int j = 1; j <= k; ++j) {
    const int v = s.eqvarlist[static_cast<std::size_t>(j)];
    if (v < 1 || v > g.nvars) return {};
  }
  const long offset = g.sample_start - 1;
  std::vector<double> inverse(static_cast<std::size_t>(k) * (k + 1) / 2), b(static_cast<std::size_t>(k));
  std::vector<double> y(static_cast<std::size_t>(n)), fitted(static_cast<std::size_t>(n));
  std::vector<double> work(static_cast<std::size_t>(std::max(n, k)));
  double rss = 0.0;
  int fail = 0;
  core::PACKEDXTXSOLVE(core::work_array(), offset, y, s.eqvarlist, k, n, g.nobs, 0, core::kSolveInverseOnly, b,
                       fitted, work, rss, inverse, fail);
  if (fail != 0) return {};
  std::vector<double> h(static_cast<std::size_t>(n));
  for (int t = 1; t <= n; ++t)
    h[static_cast<std::size_t>(t - 1)] =
        core::PACKEDQUADFORMS(core::work_array(), offset, s.eqvarlist, t, g.nobs, k, inverse, b);
  return h;
}

}  // namespace qorv::diagnostics
