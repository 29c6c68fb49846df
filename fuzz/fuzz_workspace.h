// The engine state a fuzz target's inputs run against: the load-time state, made once per
// process with the temporary folder below the system's own, and before each input a small
// workspace of named series (variable j holds 100·j + t at observation t).
#pragma once

#include <filesystem>
#include <initializer_list>

#include "engine/core/engine_state.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace zv_fuzz {

/// Resets the engine on the first call; `folder` names the target's temporary folder.
inline void start_engine_once(const char* folder) {
  static const bool once = [folder] {
    qorv::core::reset_engine_state();
    const auto path = std::filesystem::temp_directory_path() / folder;
    std::filesystem::create_directories(path);
    qorv::core::set_char_setting(charset::kTempFolder, path.string() + "/");
    return true;
  }();
  (void)once;
}

/// No dialog script, no temporaries, and `names` as variables 1.. over 20 observations.
inline void fill_workspace(std::initializer_list<const char*> names) {
  using namespace qorv::core;
  dialog_script::reset();
  forget_temporaries();
  auto& g = globals();
  g.nobs = 20;
  g.nvars = 0;
  g.max_vars = 40;
  for (const char* name : names) {
    set_variable(++g.nvars, name, "");
    for (int t = 1; t <= g.nobs; ++t) data_at(t, g.nvars) = g.nvars * 100.0 + t;
  }
}

}  // namespace zv_fuzz
