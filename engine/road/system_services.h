// What the request road lends the system estimators.
#pragma once

#include "engine/multi/system_estimate.h"

namespace qorv::road {

/// The services of the road for `multi::SYSTEMESTIMATE`.
const multi::SystemServices& system_services();

}  // namespace qorv::road
