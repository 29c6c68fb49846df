#include "engine/core/variable_deletion.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "engine/core/workspace.h"

namespace qorv::core {

void DELETEVARIABLE(int index) {
  auto& g = core::globals();
  if (index < 1 || index > g.nvars) return;
  auto& x = core::exchange();
  const auto work = core::work_array();
  const std::size_t nobs = static_cast<std::size_t>(std::max(g.nobs, 0));
  for (int j = index; j < g.nvars; ++j) {
    const auto to = static_cast<std::size_t>(j);
    x.names[to] = x.names[to + 1];
    x.descs[to] = x.descs[to + 1];
    x.temporary[to] = x.temporary[to + 1];
  }
  // Columns index+1..NVARS move down one column; the data matrix is column-major.
  const auto first = work.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(index) * nobs);
  const auto last = work.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(g.nvars) * nobs);
  std::copy(first, last, first - static_cast<std::ptrdiff_t>(nobs));
  core::set_variable(g.nvars, "", "");
  --g.nvars;
}

int DELETEVARIABLES(std::span<const int> numbers) {
  std::vector<int> order(numbers.begin(), numbers.end());
  std::sort(order.begin(), order.end(), std::greater<>());
  order.erase(std::unique(order.begin(), order.end()), order.end());
  int removed = 0;
  for (const int j : order) {
    if (j < 1 || j > core::globals().nvars) continue;
    DELETEVARIABLE(j);
    ++removed;
  }
  return removed;
}

}  // namespace qorv::core
