// The driver's specification step: the equation of the estimator chosen in the menus.
#pragma once

#include <vector>

namespace qorv::road {

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

}  // namespace qorv::road
