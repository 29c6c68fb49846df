// The estimation dialogue around an estimator: the initial values of AR and MA models, the
// refusals and messages of a failed estimate.
#pragma once

#include <string>
#include <string_view>

namespace qorv::road {

/// `head` followed by `value` right-justified in six columns and ")", as in the error box
/// "Total number of parameters too large (>   102)".
std::string limit_text(std::string_view head, int value);

/// `RUNESTIMATION` for the current method code (set, with the lag list and the
/// instruments, by the options dialogue): starts the estimate (`single::start_estimate`;
/// a sample too long is refused with its box), shows the
/// Initial AR/MA parameter estimates menu (1023) when the model has AR or MA lags and its
/// method asks initial values, estimates, and refuses a perfect fit of a method that does
/// not allow one (message-file lines 6-9). A failed estimate of a model with lags goes back
/// to menu 1023, whose option 0 leaves. The caller hands a successful estimate to the
/// post-regression dialogue. The status word tells how it ended (0 estimated, 1 failed or
/// left). A method without an estimator is refused with its name (status 1).
/// `interactive` shows the estimators' own failure messages.
void RUNESTIMATION(bool interactive);

}  // namespace qorv::road
