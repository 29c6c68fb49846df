// The Wald test and the functions of parameters on the current single-equation estimate:
// the request filled from the estimation state, for the menus that offer them.
#pragma once

#include <span>

#include "engine/diagnostics/wald_test.h"

namespace qorv::diagnostics {

/// The request for the current estimate: block A the NREGS coefficients, block B the
/// rest (AR or MA error parameters); the stored matrix with its scale, or `adjusted`
/// (packed, absolute, over the coefficients of block A alone or over all parameters).
WaldRequest single_equation_request(RelationMode mode, std::span<const double> adjusted = {});

/// Runs `WALDTEST` on the current estimate. A method without a variance matrix gets
/// message-file line 33.
void single_equation_wald(RelationMode mode, std::span<const double> adjusted = {});

}  // namespace qorv::diagnostics
