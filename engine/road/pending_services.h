// The services a request reaches that this version does not have yet: the non-linear
// formula.
// Each tells the user so plainly and returns as a cancelled step would.
#pragma once

#include <string>

namespace qorv::road {

/// The formula of a non-linear regression, typed in the editor; false when cancelled.
bool NONLINSPEC(bool edit_initial_values);

}  // namespace qorv::road
