// SURE systems typed by a user, read as the main program's preset text: whatever the
// text, the screen either refuses it (the editor is then cancelled) or returns at most
// the allowed number of equations of existing variables, no dependent variable twice and
// none among another equation's regressors; the workspace keeps only registered
// temporaries.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/core/engine_state.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/multi/sure_spec.h"
#include "fuzz/fuzz_workspace.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  zv_fuzz::start_engine_once("zv_fuzz_sure_text");
  zv_fuzz::fill_workspace({"Y1", "Y2", "Y3", "X", "Z", "INPT"});
  auto& g = globals();
  // The first byte picks the kind and the most equations.
  const int max_equations = size > 0 ? 1 + data[0] % 4 : 2;
  const int kind = size > 0 && data[0] >= 128 ? multi::kRestrictedSystem : 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
  set_char_setting(charset::kSpecification, text);
  std::string kept;
  const multi::SystemSpec spec = multi::SPECIFYSURE(kept, max_equations, kind);
  if (!spec.cancelled) {
    if (spec.equations.empty() || static_cast<int>(spec.equations.size()) > max_equations) std::abort();
    for (const multi::SystemEquation& e : spec.equations) {
      if (e.numbers.empty() || e.numbers.size() != e.names.size()) std::abort();
      for (const int n : e.numbers)
        if (n < 1 || n > g.nvars) std::abort();
      for (const multi::SystemEquation& other : spec.equations) {
        if (&other != &e && other.numbers.front() == e.numbers.front()) std::abort();
        if (std::find(e.numbers.begin() + 1, e.numbers.end(), other.numbers.front()) != e.numbers.end()) std::abort();
      }
    }
  }
  delete_temporaries();
  if (g.nvars != 6) std::abort();
  return 0;
}
