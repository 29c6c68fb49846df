// Request 3: the action and estimation menus and the estimation loop that the request
// driver runs, with the steps it is made of.
#pragma once

#include <string>

namespace qorv::road {

/// Runs request 3 and returns the number of plots kept.
int run_request();

/// The action, data-processing and estimation menus: sets the action and the kinds of the
/// driver. Data processing and SURE run to their end in here.
void MAINMENUS();

/// The specification step of the estimation loop: asks the equation and sets the
/// regressor count; on a refusal or a cancel sets next step 8 and the cancelled word.
void CHECKREGRESSORS();

/// Asks how many observations after the sample to keep back for the predictive-failure
/// tests (linear regression only), and sets the sample offset.
void ASKPREDFAIL();

/// Maps the next step to the loop code, keep-equation word and clean-up.
void NEXTSTATE();

/// "Too many observations/variables (>      )" with `limit` right-aligned in the blanks.
std::string limit_message(int limit);

/// The most observations an estimation sample with `regressors` regressors may hold.
int observation_limit(int regressors);

}  // namespace qorv::road
