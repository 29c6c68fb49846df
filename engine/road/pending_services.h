// The services a request reaches that this version does not have yet: the system
// estimators.
// Each tells the user so plainly and returns as a cancelled step would.
#pragma once

#include <string>

namespace qorv::road {

/// The system estimators (VAR and cointegrating VAR) of `system_kind`.
void SYSTEMESTIMATE(int system_kind, int& next_step);

/// SURE (code 83) or restricted SURE (84); true when the user asked to keep the
/// equations and estimate again.
bool SUREESTIMATE(int code);

}  // namespace qorv::road
