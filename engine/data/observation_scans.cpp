#include "engine/data/observation_scans.h"

#include <algorithm>

#include "engine/core/workspace.h"

namespace qorv::data {

bool CHECKFLAGRUN(int start, int finish, std::span<const int> flags) {
  const int first = std::max(start, 1);
  const int last = std::min(finish, static_cast<int>(flags.size()));
  bool reached = false;
  for (int t = first; t <= last; ++t) {
    const bool usable = flags[static_cast<std::size_t>(t - 1)] == kUsableMark;
    if (reached && !usable) return false;
    reached = reached || usable;
  }
  return true;
}

std::optional<ValuePosition> FINDVALUEVAR(std::span<const int> list, int first, int last, double value) {
  const core::Globals& g = core::globals();
  const int from = std::max(first, 1);
  const int to = std::min(last, g.nobs);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const int j = list[i];
    if (j < 1 || j > g.nvars) continue;
    for (int t = from; t <= to; ++t)
      if (core::data_at(t, j) == value) return ValuePosition{static_cast<int>(i) + 1, t};
  }
  return std::nullopt;
}

CeilDivision CEILDIV(int a, int b) {
  if (b <= 0) return {};
  const int remainder = a % b;
  return {a / b + (remainder != 0 ? 1 : 0), remainder == 0 ? b : remainder};
}

}  // namespace qorv::data
