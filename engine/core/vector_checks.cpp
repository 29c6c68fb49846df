#include "engine/core/vector_checks.h"

#include <algorithm>

namespace qorv::core {

bool ISCONSTVECTOR(std::span<const double> values, int start, int n) {
  if (n <= 1) return true;
  if (start < 0 || static_cast<std::size_t>(start) + static_cast<std::size_t>(n) > values.size()) return false;
  const auto run = values.subspan(static_cast<std::size_t>(start), static_cast<std::size_t>(n));
  return std::all_of(run.begin(), run.end(), [&](double v) { return v == run.front(); });
}

int INTPOS(int value, std::span<const int> list) {
  const auto it = std::find(list.begin(), list.end(), value);
  return it == list.end() ? 0 : static_cast<int>(it - list.begin()) + 1;
}

}  // namespace qorv::core
