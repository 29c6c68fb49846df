// Command texts typed by a user, run by the command interpreter over a small workspace
// with every dialog cancelled: whatever the text, afterwards every name is valid, no
// temporary variable is left and every value is finite (or the missing code).
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/core/driver_state.h"
#include "engine/core/engine_state.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/data/data_commands.h"
#include "shared/exchange_slots.h"
#include "shared/names.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv::core;

namespace {

constexpr int kObs = 12;
constexpr std::size_t kMaxText = 3120;  // the command editor's text

void small_workspace() {
  Globals& g = globals();
  g.nobs = kObs;
  g.nvars = 3;
  g.frequency = 4;
  g.periods_per_year = 4;
  g.start_year = 90;
  g.start_period = 1;
  g.century_base = 1900;
  g.max_vars = 6;  // a small limit, so that a full workspace is reached
  const char* names[] = {"Y", "X", "C"};
  for (int j = 1; j <= 3; ++j) {
    set_variable(j, names[j - 1], "");
    for (int t = 1; t <= kObs; ++t) data_at(t, j) = j == 3 ? 2.0 : (t % 5 == 0 ? limits::kMissing : j * t - 4.5);
  }
  driver_state().command_first = 1;
  driver_state().command_last = kObs;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, std::size_t size) {
  static const bool once = [] {
    reset_engine_state();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "fuzz-commands";
    std::filesystem::create_directories(folder);
    set_char_setting(charset::kTempFolder, folder.string() + "/");
    return true;
  }();
  (void)once;
  if (size > kMaxText) return 0;
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  // Batch files would read whatever file the text names.
  if (::names::upper(text).find("BATCH") != std::string::npos) return 0;
  small_workspace();
  qorv::data::command_state() = {};
  dialog_script::reset();
  try {
    qorv::data::run_commands(text);
  } catch (const dialog_script::CapReached&) {
  }
  const Globals& g = globals();
  if (g.nvars < 0 || g.nvars > g.max_vars) std::abort();
  if (temporaries_registered() != 0) std::abort();
  for (int j = 1; j <= g.nvars; ++j) {
    const std::string name = variable_name(j);
    if (is_temporary(j) || ::names::valid_name(name) != name) std::abort();
    for (int t = 1; t <= g.nobs; ++t)
      if (!std::isfinite(data_at(t, j))) std::abort();
  }
  return 0;
}
