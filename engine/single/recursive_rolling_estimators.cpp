#include "engine/single/recursive_rolling_estimators.h"

#include <new>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"

namespace qorv::single {

namespace {

size_t at(int i) { return static_cast<size_t>(i); }

/// Runs `compute` with the interactive switch at 0; false, with the disk-space box, when
/// memory is short.
template <class Compute>
bool computed_quietly(Compute&& compute) {
  try {
    const core::NotInteractive quiet;
    compute();
    return true;
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
    return false;
  }
}

}  // namespace

EquationData sample_equation_data() {
  const auto& s = estimation();
  const int n = s.nused, start = core::globals().sample_start;
  const bool two_stage = s.method == method::kRolling2sls || s.method == method::kRecursive2sls;
  EquationData eq;
  eq.n = n;
  eq.k = s.nregs;
  eq.l = two_stage ? s.ninstr : 0;
  for (int j = 1; j <= s.nregs; ++j)
    for (int t = 1; t <= n; ++t) eq.x.push_back(core::data_at(start + t - 1, s.eqvarlist[at(j)]));
  for (int i = 0; i < eq.l; ++i)
    for (int t = 1; t <= n; ++t) eq.z.push_back(core::data_at(start + t - 1, s.instrlist[at(i)]));
  const auto y = series_block(block::kActual);
  eq.y.assign(y.begin(), y.begin() + n);
  return eq;
}

RecursiveRollingStore& recursive_rolling_store() {
  static RecursiveRollingStore store;
  return store;
}

void estimate_recursive(bool interactive) {
  auto& s = estimation();
  auto& r = recursive_rolling_store().recursive;
  s.status = status::kFailed;
  r = RecursiveSeries{};
  if (!computed_quietly([&r] { r = recursive_estimates(sample_equation_data(), true); })) return;
  if (r.m == 0) {
    if (interactive)
      core::SHOWOK(core::kError, core::kNoHelp, " First " + std::to_string(s.nused - 1) + " regressions are collinear!");
    return;
  }
  s.status = status::kEstimated;
}

void estimate_rolling(bool) {
  auto& s = estimation();
  auto& r = recursive_rolling_store().rolling;
  s.status = status::kFailed;
  r = RollingSeries{};
  const int window = core::driver_state().window;
  if (!computed_quietly([&r, window] { r = rolling_estimates(sample_equation_data(), window); })) return;
  if (r.windows < 1) return;
  s.rolling_results = true;
  s.status = status::kEstimated;
}

}  // namespace qorv::single
