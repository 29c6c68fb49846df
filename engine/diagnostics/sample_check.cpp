#include "engine/diagnostics/sample_check.h"

#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"

namespace qorv::diagnostics {

SampleGuard::SampleGuard() : start_(core::globals().sample_start), end_(core::globals().sample_end) {}

SampleGuard::~SampleGuard() {
  core::globals().sample_start = start_;
  core::globals().sample_end = end_;
}

namespace {

/// Whether every listed variable holds a value at observation t.
bool complete(std::span<const int> list, int t) {
  for (const int v : list)
    if (core::data_at(t, v) == limits::kMissing) return false;
  return true;
}

}  // namespace

bool CHECKSAMPLE(std::span<const int> list, int parameters, std::string_view description) {
  auto& g = core::globals();
  const auto refuse = [&](std::string_view head) {
    core::SHOWOK(core::kInformation, core::kNoHelp, std::string(head) + " " + std::string(description) + ", can't estimate!");
    return true;
  };
  for (const int v : list)
    if (v < 1 || v > g.nvars) return refuse("Gaps in observations for");
  if (g.sample_start < 1 || g.sample_end > g.nobs || g.sample_start > g.sample_end)
    return refuse("Not enough observations available for");
  int first = g.sample_start;
  while (first <= g.sample_end && !complete(list, first)) ++first;
  for (int t = first + 1; t <= g.sample_end; ++t)
    if (!complete(list, t)) return refuse("Gaps in observations for");
  if (g.sample_end - first + 1 < parameters + 2) return refuse("Not enough observations available for");
  g.sample_start = first;
  return false;
}

}  // namespace qorv::diagnostics
