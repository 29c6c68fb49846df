// The engine keeps its state in a few named structs, one per module. Each module that
// holds state registers a function that puts it back to its load-time values, so that
// `reset_engine_state` can return the whole engine to how it was when the library loaded
// (tests run scenarios one after another in one process).
#pragma once

namespace qorv::core {

using ResetFunction = void (*)();

/// Registers `fn` to run on every `reset_engine_state`. Call it from a namespace-scope
/// `ResetRegistration` object in the module's .cpp file.
void register_reset(ResetFunction fn);

/// Puts every registered module's state back to its load-time values.
void reset_engine_state();

struct ResetRegistration {
  explicit ResetRegistration(ResetFunction fn) { register_reset(fn); }
};

}  // namespace qorv::core
