// The unrestricted VAR dialogue: capacity checks, the order, the sample, the estimate and
// the post-estimation menus (single-equation results, the error covariance matrix,
// dynamic responses, hypothesis tests and forecasts).
#pragma once

#include <vector>

#include "engine/multi/system_estimate.h"

namespace qorv::multi {

/// The VAR of the `endogenous` variables with the `deterministic` (and exogenous) ones,
/// over the user's sample. Returns when the user leaves the post-estimation menu (or a
/// refusal or failure ends the dialogue).
void VARESTIMATE(const std::vector<int>& endogenous, const std::vector<int>& deterministic,
                 const SystemServices& services);

}  // namespace qorv::multi
