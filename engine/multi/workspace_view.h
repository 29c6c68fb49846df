// The data set of the engine's workspace as the system estimators read it.
#pragma once

#include "engine/multi/var_model.h"

namespace qorv::multi {

/// The workspace's variables over all its observations.
DataView workspace_data();

}  // namespace qorv::multi
