// The single-equation runner: from the current equation and method code to an estimate on
// the results page, and the names and limits the options dialogue shares with it.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qorv::single {

/// The method code of an option of the Estimation Menu (Linear Regression), before any
/// lag list is asked: 1 OLS, 5 IV, 3 exact AR, 2 Cochrane-Orcutt, 6 Gauss-Newton AR,
/// 8 IV-AR, 10 MA, 12 IV-MA, 70 GARCH; 0 for option 0 or an unknown option.
int linear_menu_code(int option);

/// The name a refusal gives the method of `code` ("Cochrane-Orcutt estimation of AR
/// errors", ...).
std::string method_name(int code);

/// `head` followed by `value` right-justified in six columns and ")", as in the error box
/// "Total number of parameters too large (>   102)".
std::string limit_text(std::string_view head, int value);

/// Whether this version estimates `code`.
bool method_available(int code);

/// Tells the user that the method of `code` is not available in this version.
void refuse_method(int code);

/// Fills the equation part of the estimation state from `equation` (variable numbers,
/// dependent first): the lists, the trimmed names and the lag table (a name "X(-k)" is
/// variable X lagged k periods).
void take_equation(std::span<const int> equation);

/// `RUNESTIMATION` for the current method code (set, with the lag list and the
/// instruments, by the options dialogue): clears the status and the adjusted-variance
/// words, copies the sample (DEPMEAN and the dependent variable's variance), shows the
/// Initial AR/MA parameter estimates menu (1023) when the model has AR or MA lags and is
/// not the exact AR(1) model, estimates, refuses a perfect fit of a method other than OLS
/// (message-file lines 6-9). A failed estimate of a model with lags goes back to menu
/// 1023, whose option 0 leaves. The caller hands a successful estimate to the
/// post-regression dialogue. The status word tells how
/// it ended (0 estimated, 1 failed or left). A method this version lacks is refused with its name
/// (status 1). `interactive` shows the estimators' own failure messages.
void RUNESTIMATION(bool interactive);

}  // namespace qorv::single
