// An engine request as every window runs it.
#pragma once

#include "app/host_state.h"

namespace zelvorin {

/// Runs `DRIVER`(request) with the modal hint, the hourglass and the busy flag in force for
/// the call (the engine shows its own dialogs inside it); gives the engine's result word.
/// Cost: the whole request.
int run_request(HostState& state, int request);

}  // namespace zelvorin
