#include "engine/core/value_checks.h"

#include <algorithm>
#include <stdexcept>

#include "engine/core/dialog_bridge.h"

namespace qorv::core {

int CHECKVALUEABSENT(std::span<const double> x, int n, int offset, double value) {
  if (n <= 0) return 0;
  if (offset < 0 || static_cast<std::size_t>(offset) + static_cast<std::size_t>(n) > x.size())
    throw std::invalid_argument("CHECKVALUEABSENT: range outside the vector");
  const auto range = x.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(n));
  if (std::find(range.begin(), range.end(), value) == range.end()) return 0;
  SHOWMSGFILE(126, 131);
  return 1;
}

}  // namespace qorv::core
