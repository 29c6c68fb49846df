// The check that a model's variables have no gaps inside the estimation sample: leading
// observations with missing values are dropped, a gap or a sample that is too short is
// refused. Callers hold a `SampleGuard` so that the sample they changed is put back on
// every way out.
#pragma once

#include <span>
#include <string_view>

namespace qorv::diagnostics {

/// Restores the engine's sample (start and end) to what it was when the guard was made.
class SampleGuard {
 public:
  SampleGuard();
  ~SampleGuard();
  SampleGuard(const SampleGuard&) = delete;
  SampleGuard& operator=(const SampleGuard&) = delete;

 private:
  int start_;  ///< sample start when the guard was made
  int end_;    ///< sample end when the guard was made
};

/// `CHECKSAMPLE` over the workspace variables numbered in `list` and the current sample:
/// an observation is complete when none of them holds the missing code there. Leading
/// incomplete observations are dropped (the sample start moves past them, silently). An
/// incomplete observation after the first complete one shows "Gaps in observations for "
/// + `description` + ", can't estimate!"; fewer than `parameters` + 2 complete observations
/// show "Not enough observations available for " + `description` + ", can't estimate!".
/// Returns true when refused; the sample is then unchanged. Numbers outside 1..NVARS are
/// refused as a gap would be. Cost O(list size × sample length).
bool CHECKSAMPLE(std::span<const int> list, int parameters, std::string_view description);

}  // namespace qorv::diagnostics
