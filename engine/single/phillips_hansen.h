// The fully modified (Phillips-Hansen) estimator's dialogue: the checks and questions
// around the numerical estimate, and the estimate written into the estimation state.
#pragma once

namespace qorv::single {

/// Fully modified least squares of the current equation (EQVARLIST: the dependent
/// variable, the intercept the options dialogue put first, then the user's regressors)
/// over the engine's sample: refuses a constant user regressor before any question, cuts
/// the sample to where every variable and every regressor's previous observation exist,
/// asks the drift (menu 1011), the lag window (menu 1018) and its length (the preset of
/// slot 24 once, else asked; the answer goes to slot 28), refuses n <= k + 1, estimates,
/// and fills the state (variance option = window + 2, its length, the trend case). Every
/// failure or going back leaves status 1 and the engine's sample as it was. The estimator
/// of the method's row: its questions and refusals are always shown, so `interactive`
/// changes nothing.
void PHILLIPSHANSEN(bool interactive);

}  // namespace qorv::single
