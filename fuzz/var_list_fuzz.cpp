// Variable lists typed by a user, read against a small workspace: whatever the text, the
// reader may refuse it but must leave the workspace consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/core/engine_state.h"
#include "engine/core/temp_variables.h"
#include "engine/core/var_lists.h"
#include "engine/core/workspace.h"

using namespace qorv::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static const bool once = (reset_engine_state(), true);
  (void)once;
  forget_temporaries();
  auto& g = globals();
  g.nobs = 20;
  g.nvars = 3;
  set_variable(1, "Y", "");
  set_variable(2, "X", "");
  set_variable(3, "A.B", "");
  for (int j = 1; j <= 3; ++j)
    for (int t = 1; t <= g.nobs; ++t) data_at(t, j) = j * 100.0 + t;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first byte picks the kind, so that drop lists and record kinds are reached too.
  static constexpr int kKinds[] = {0, 1, -1, 23, 81};
  const int kind = size > 0 ? kKinds[data[0] % 5] : 0;
  VarList list = VarList::with_dependent("Y", 1);
  const ListOutcome r = read_var_list(text.substr(size > 0 ? 1 : 0), list, kind, 40);
  if (!r.ok && (list.names.size() != 1 || g.nvars != 3)) std::abort();
  if (r.ok && list.names.size() != list.numbers.size()) std::abort();
  for (const int n : list.numbers)
    if (n < 0 || n > g.nvars) std::abort();
  delete_temporaries();
  if (g.nvars != 3) std::abort();
  return 0;
}
