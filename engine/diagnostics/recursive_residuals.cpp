#include "engine/diagnostics/recursive_residuals.h"

#include <cmath>
#include <new>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/diagnostics/auxiliary_regression.h"
#include "engine/single/estimation_state.h"
#include "engine/single/recursive_rolling.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

bool RECURSIVERESID(RecursiveResiduals& out) {
  out = RecursiveResiduals{};
  try {
    RegressorMatrix x = regressor_matrix();
    const int n = x.n, k = x.k;
    if (k < 1 || n < 1 || k + 1 >= n) return false;
    const auto y = single::series_block(single::block::kActual);
    single::EquationData eq;
    eq.n = n;
    eq.k = k;
    eq.x = std::move(x.x);
    eq.y.assign(y.begin(), y.begin() + n);
    single::RecursiveSeries r = single::recursive_estimates(eq, false);
    if (r.m == 0) {
      core::SHOWOK(core::kError, core::kNoHelp, " First " + std::to_string(n - 1) + " observations are collinear!");
      return false;
    }
    out.m = r.m;
    out.w = std::move(r.resid);
    return true;
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
    out = RecursiveResiduals{};
    return false;
  }
}

}  // namespace qorv::diagnostics
