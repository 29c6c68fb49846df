// The services a request reaches that belong to other parts of the engine: the
// specification screen, the single-equation options and estimators, the system
// estimators, the command interpreter and the data saving and joining.
#pragma once

#include <string>
#include <vector>

namespace qorv::core {

/// The equation the specification screen returns.
struct EquationSpec {
  bool cancelled = true;       ///< the user left the screen
  std::vector<int> variables;  ///< variable numbers, dependent first
  int after_ampersand = 0;     ///< how many were listed after "&"
};

/// Asks the equation of estimator `code` (0 linear, 17 system list with `sub_kind` 0 ARDL,
/// 1 VAR, 2 cointegrating VAR; 81 fully modified; 92 logit/probit), with the item word
/// "regressor"; a preset specification in character setting 3 is used once.
EquationSpec specify_equation(int code, int sub_kind);

/// The single-equation options, estimation and post-estimation menus of `kind` (1..7).
/// `next_step` out: the step the driver takes next; `show_backtracking` cleared when the
/// Backtracking Menu is not to follow; `repeat` set when the specification is to be asked
/// again (or the user backed out before estimating).
void SINGLEEQOPTIONS(int& next_step, int kind, int& window, int trailing, bool& show_backtracking,
                     bool& repeat);

/// The system estimators (VAR and cointegrating VAR) of `system_kind`.
void SYSTEMESTIMATE(int system_kind, int& next_step);

/// SURE (code 83) or restricted SURE (84); true when the user asked to keep the
/// equations and estimate again.
bool SUREESTIMATE(int code);

/// The command interpreter over `text` (the command editor's text).
void DATACOMMANDS(const std::string& text);

/// Writes the data set in `format` (1 raw text, 2 ZVD, 3 CSV, 4 TSD).
void SAVEDATA(int format);

/// Joins a second ZVD data file to the data set.
void ADDDATAFILE();

/// The formula of a non-linear regression, typed in the editor; false when cancelled.
bool NONLINSPEC(bool edit_initial_values);

}  // namespace qorv::core
