// The single-equation runner: from the current equation and method code to an estimate in
// the estimation state, by the estimator of the method's row.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qorv::single {

/// `head` followed by `value` right-justified in six columns and ")", as in the error box
/// "Total number of parameters too large (>   102)".
std::string limit_text(std::string_view head, int value);

/// Fills the equation part of the estimation state from `equation` (variable numbers,
/// dependent first): the lists, the trimmed names and the lag table (a name "X(-k)" is
/// variable X lagged k periods).
void take_equation(std::span<const int> equation);

/// `RUNESTIMATION` for the current method code (set, with the lag list and the
/// instruments, by the options dialogue): clears the status and the adjusted-variance
/// words, copies the sample (DEPMEAN and the dependent variable's variance), shows the
/// Initial AR/MA parameter estimates menu (1023) when the model has AR or MA lags and its
/// method asks initial values, estimates, and refuses a perfect fit of a method that does
/// not allow one (message-file lines 6-9). A failed estimate of a model with lags goes back
/// to menu 1023, whose option 0 leaves. The caller hands a successful estimate to the
/// post-regression dialogue. The status word tells how it ended (0 estimated, 1 failed or
/// left). A method without an estimator is refused with its name (status 1).
/// `interactive` shows the estimators' own failure messages.
void RUNESTIMATION(bool interactive);

}  // namespace qorv::single
