// The dynamic analyses of a cointegrating VAR with its current vectors: impulse responses
// of the variables and of the cointegrating relations, forecast error variance
// decompositions, persistence profiles, the system covariance matrix of errors, and the
// multivariate dynamic forecasts of the error-correction form.
#pragma once

#include "engine/multi/cvar_session.h"
#include "engine/multi/ecm_equations.h"

namespace qorv::multi {

/// Menu 1020's options that `CVARIMPULSE` carries out.
enum CvarImpulseOption : int {
  kVariableResponses = 1,
  kDecompositions = 2,
  kRelationResponses = 3,
  kProfiles = 4,
  kCovarianceListing = 8,
};

/// The error-correction equations of the session's current vectors. False, after "Two or
/// more CV's are collinear! Specify another set of restrictions.           " was shown,
/// when they cannot be estimated.
bool session_ecm(const CvarSession& session, EcmFit& fit);

/// The prompt and the horizon offered for analysis `kind` (1 to 7): " Specify horizon for
/// impulse responses (Maximum", " Specify horizon for variance decomposition analysis" or
/// " Specify profile length (Maximum"; 150 for monthly and undated data, else 50.
struct HorizonQuestion {
  std::string head;
  int offered = 50;
};
HorizonQuestion cvar_horizon_question(int kind, int frequency);

/// `CVARIMPULSE` for menu 1020's `option`: options 1 and 3 ask the orthogonalised or
/// generalised kind (menu 1041) and the equation to be shocked, option 2 the kind (menu
/// 1040) and the variable, option 4 goes to the persistence profiles; then the horizon,
/// the results page and the results menu (1024). Option 8 lists Σ.
void CVARIMPULSE(const CvarSession& session, int option);

/// The forecast period (at most 500 observations after the sample) and the forecasts of
/// the error-correction form shown by the forecast display; a value of an exogenous I(1)
/// or I(0) variable missing in the period is refused with NAME " is not defined over the
/// forecast period!".
void cvar_dynamic_forecasts(const CvarSession& session);

}  // namespace qorv::multi
