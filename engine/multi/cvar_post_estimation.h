// The post-estimation actions of the cointegrating VAR that its menus call: the
// error-correction equations, the dynamic analyses, the error covariance matrix, the
// forecasts and the restricted estimation of the cointegrating vectors. Each works on the
// session's current vectors (its first r columns) and returns to the menu that called it.
#pragma once

#include "engine/multi/cvar_session.h"

namespace qorv::multi {

/// The single-equation error-correction model of a chosen endogenous variable, with the
/// current vectors as error-correction terms (menu 1020, option 7).
void cvar_error_correction(CvarSession& session);

/// Menu 1020's dynamic analyses with the current vectors: option 1 impulse responses of the
/// variables, 2 forecast error variance decompositions, 3 impulse responses of the
/// cointegrating relations, 4 persistence profiles, 8 the system covariance matrix of
/// errors (also menu 1026, option 4). The caller has refused options 1 to 4 when e > 0.
void cvar_dynamic_option(CvarSession& session, int option);

/// The forecast period (at most 500 observations after the sample) and the multivariate
/// dynamic forecasts of the error-correction form (menu 1026 option 7, menu 1020 option 5).
void cvar_forecast(CvarSession& session);

/// Menu 1030's restricted estimations: option 1 fixing some vectors, 2 the same
/// restrictions on all vectors, 3 restrictions on one vector, 4 general restrictions,
/// 6 all vectors fixed. The caller has refused options 1 to 3 when r = m. True when
/// restricted vectors were estimated and made current (source kRestricted): menu 1020
/// follows with the restricted title; false returns to menu 1030.
bool cvar_restricted_option(CvarSession& session, int option);

/// Writes the current restricted vectors again (menu 1020 option 6 when the source is
/// kRestricted).
void cvar_restricted_display(CvarSession& session);

}  // namespace qorv::multi
