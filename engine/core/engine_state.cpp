#include "engine/core/engine_state.h"

#include <vector>

namespace qorv::core {

namespace {
// A function-local static: registrations run during static initialisation of other files.
std::vector<ResetFunction>& reset_functions() {
  static std::vector<ResetFunction> functions;
  return functions;
}
}  // namespace

void register_reset(ResetFunction fn) { reset_functions().push_back(fn); }

void reset_engine_state() {
  for (ResetFunction fn : reset_functions()) fn();
}

}  // namespace qorv::core
