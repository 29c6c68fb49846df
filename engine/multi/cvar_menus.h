// The menus after a cointegrating VAR estimate: the post-estimation menu, the long-run
// structural modelling menu and the impulse-response and forecasting menu.
#pragma once

#include "engine/multi/cvar_session.h"

namespace qorv::multi {

/// Keeps the user in the Cointegrating VAR Post Estimation Menu (1026) and its sub-menus
/// until its option 0; r starts at 0.
void cvar_post_estimation_menu(CvarSession& session, double tol);

}  // namespace qorv::multi
