// The data set of the engine's workspace as the system estimators read it.
#pragma once

#include <span>

#include "engine/multi/var_model.h"

namespace qorv::multi {

/// The workspace's variables over all its observations.
DataView workspace_data();

/// True when every variable of `variables` holds a value at each of the `p` observations
/// before `start` (none of them before observation 1): the initial values of the lags.
bool initial_values_present(std::span<const int> variables, int start, int p);

}  // namespace qorv::multi
