// The SURE dialogue: the system text, its limits and sample, the iterated estimate, and
// the SURE Post Estimation Menu (each equation's results, the covariance matrix of the
// errors, Wald tests and functions of the parameters, multivariate forecasts).
#pragma once

#include "engine/multi/system_estimate.h"

namespace qorv::multi {

/// The options of the SURE Post Estimation Menu (1043).
enum SureChoice : int {
  kSureLeave = 0,        ///< back to the System Estimation Menu
  kSureEdit = 1,         ///< edit the model and estimate again
  kSureEquations = 2,    ///< one equation's results
  kSureCovariance = 3,   ///< the covariance matrix of the errors
  kSureWald = 4,         ///< Wald tests on the parameters
  kSureFunctions = 5,    ///< functions of the parameters
  kSureForecasts = 6,    ///< multivariate dynamic forecasts
};

/// Shows menu 1043 with `choice` preselected; returns the choice (0 on cancel) and
/// stores it in `choice`.
int SUREMENU(int& choice);

/// Estimates the system the user types (the text is kept in the driver state between
/// calls) under the method code in force (83 SURE, 84 restricted SURE), then runs menu
/// 1043. Returns true when the user asks to edit the system and estimate again; false
/// when the user leaves, cancels the text, or a refusal or failure (shown) ends it.
bool SUREESTIMATE(const SystemServices& services);

}  // namespace qorv::multi
