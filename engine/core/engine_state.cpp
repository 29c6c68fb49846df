#include "engine/core/engine_state.h"

#include <vector>

#include "engine/core/heap_settings.h"

namespace qorv::core {

namespace {
// A function-local static: registrations run during static initialisation of other files.
std::vector<ResetFunction>& reset_functions() {
  static std::vector<ResetFunction> functions;
  return functions;
}

// Every program that links the engine passes through here when it loads (each module with
// state registers its reset): the allocator's settings are made before the first request.
[[maybe_unused]] const bool heap_kept = (keep_heap_blocks(), true);
}  // namespace

void register_reset(ResetFunction fn) { reset_functions().push_back(fn); }

void reset_engine_state() {
  for (ResetFunction fn : reset_functions()) fn();
}

}  // namespace qorv::core
