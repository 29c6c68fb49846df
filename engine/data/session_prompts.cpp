#include "engine/data/session_prompts.h"

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"

namespace qorv::data {

bool CONFIRMEXIT(int kind) {
  const bool yes = core::ASKYESNO(core::kNoHelp, kind == kExitProgram
                                                     ? "Are you sure you want to exit Zelvorin?"
                                                     : "Are you sure you want to start with a new data file?");
  if (yes && kind == kExitProgram) {
    core::close_channel(core::channel::kSavedResults);
    core::close_channel(core::channel::kEditorPanel, core::CloseMode::kDelete);
  }
  return yes;
}

void FUNCHELPHINT() {
  core::SHOWOK(core::kInformation, core::kNoHelp,
               "For help on functions or commands, please move cursor to appropriate list and press <F1>");
}

}  // namespace qorv::data
