// The ARDL dialogue of the single-equation options: the maximum lag, the order search,
// the ARDL Order Selection Menu and the Post ARDL Model Selection Menu with the estimates,
// the long-run coefficients and the error-correction form of the chosen model.
#pragma once

namespace qorv::road {

/// `ARDLSELECT` on the current equation (dependent variable first), whose last `trailing`
/// entries are the deterministic variables. Shows everything itself; the engine's sample,
/// the equation and the workspace are as they were when it returns (variables the user
/// saved in the meantime stay).
void ARDLSELECT(int trailing);

}  // namespace qorv::road
