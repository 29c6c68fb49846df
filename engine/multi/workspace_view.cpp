#include "engine/multi/workspace_view.h"

#include "engine/core/workspace.h"

namespace qorv::multi {

DataView workspace_data() {
  const int nobs = core::globals().nobs;
  return DataView{core::work_array().first(static_cast<std::size_t>(nobs) * static_cast<std::size_t>(core::globals().nvars)), nobs};
}

}  // namespace qorv::multi
