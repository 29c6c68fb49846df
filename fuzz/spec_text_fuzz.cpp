// Specification texts typed by a user for every list kind, read as the main program's
// preset text: whatever the text, the screen either refuses it (the editor is then
// cancelled) or returns a list of existing variables with consistent counts, and the
// workspace keeps only registered temporaries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "engine/core/engine_state.h"
#include "engine/core/model_spec.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "fuzz/fuzz_workspace.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  zv_fuzz::start_engine_once("zv_fuzz_spec_text");
  zv_fuzz::fill_workspace({"Y", "X", "Z", "INPT"});
  auto& g = globals();
  // The first byte picks the kind and sub-kind.
  static constexpr int kKinds[][2] = {{0, 0}, {17, 0}, {17, 1}, {17, 2}, {5, 0}, {23, 0}, {24, 0}, {25, 0}, {70, 0}};
  const auto& pick = kKinds[size > 0 ? data[0] % 9 : 0];
  const std::string_view text(reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0), size > 0 ? size - 1 : 0);
  set_char_setting(charset::kSpecification, text);
  SpecRequest request;
  request.kind = pick[0];
  request.sub_kind = pick[1];
  request.model_dependent = "Y";
  request.required = 1;
  const SpecResult r = SPECIFYMODEL(request);
  if (!r.cancelled) {
    if (r.names.size() != r.numbers.size()) std::abort();
    for (const int n : r.numbers)
      if (n < 1 || n > g.nvars) std::abort();
    if (r.after_ampersand < 0) std::abort();
  }
  delete_temporaries();
  if (g.nvars != 4) std::abort();
  return 0;
}
