// An engine request as every window runs it.
#pragma once

#include "app/host_state.h"

namespace zelvorin {

/// Runs `DRIVER`(request) with the modal hint, the hourglass and the busy flag in force for
/// the call (the engine shows its own dialogs inside it); gives the engine's result word.
/// Then, unless the engine refused new data (request 1 answering -1), the program's copy
/// follows the engine's data set: shape, names, descriptions and the data matrix (the
/// host's matrix is kept once when it came from the clipboard and is not registered yet);
/// when the observations changed, or the remembered sample no longer fits, the remembered
/// sample becomes the whole data set. Every road to the
/// engine goes through here. Cost: the whole request.
int run_request(HostState& state, int request);

/// `run_request`(1) for new data of the shape the caller registered: the engine takes some
/// of those slots as preset answers and leaves them unset, so the read-back starts from
/// `registered` rather than from the data set being replaced.
int run_data_request(HostState& state, const DataShape& registered);

}  // namespace zelvorin
