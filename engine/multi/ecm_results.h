// The single-equation error-correction model of one endogenous variable of a cointegrating
// VAR: the equation's variables are made as temporary variables of the work space, the
// equation is estimated and reported through the single-equation road, and the
// temporaries are deleted again.
#pragma once

#include "engine/multi/cvar_session.h"
#include "engine/multi/ecm_equations.h"

namespace qorv::multi {

/// Places the temporary variables of one equation take in the work space: the differenced
/// dependent variable, the unrestricted deterministic terms, the lagged differences and
/// the error-correction terms, 1 + u + (p − 1)(m + e) + r.
int ecm_room_needed(const EcmShape& shape);

/// The names of the equation's regressors as its temporaries are named before a clash
/// with a variable of the work space is resolved: "Intercept", "Trend", "d" + name + j
/// (the name shortened so that the whole fits 14 characters), "ecm" + i + "(-1)", then the
/// I(0) names. `i1_names` are the m + e I(1) names, `stationary_names` the d I(0) ones.
std::vector<std::string> ecm_regressor_names(const EcmShape& shape, const std::vector<std::string>& i1_names,
                                             const std::vector<std::string>& stationary_names);

/// `ECMRESULTS`: refuses when the work space lacks room for the temporaries ("It is not
/// possible to display single equation results!  Please delete at least" the excess
/// "variables from work space and re-estimate."); otherwise asks "Choose variable to
/// inspect its single equation results" over "Quit" and the m endogenous names until
/// Quit or cancel, and for each chosen variable estimates its error-correction equation
/// with the session's current vectors over the session's sample under the method code in
/// force, through the session's services. The temporaries are found by their numbers and
/// deleted after each estimate; the work space, the sample and the estimation state's
/// equation are as on entry when it returns.
void ECMRESULTS(const CvarSession& session);

}  // namespace qorv::multi
