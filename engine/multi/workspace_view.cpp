#include "engine/multi/workspace_view.h"

#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"

namespace qorv::multi {

DataView workspace_data() {
  const int nobs = core::globals().nobs;
  return DataView{core::work_array().first(static_cast<std::size_t>(nobs) * static_cast<std::size_t>(core::globals().nvars)), nobs};
}

bool initial_values_present(std::span<const int> variables, int start, int p) {
  for (int t = start - p; t < start; ++t)
    for (const int v : variables)
      if (t < 1 || core::data_at(t, v) == limits::kMissing) return false;
  return true;
}

}  // namespace qorv::multi
