// The two menus of the post-regression dialogue whose options follow the method of the
// current estimate.
#pragma once

namespace qorv::diagnostics {

/// 1002 Post Regression Menu, 0..9; option 0 is the method's own way back when its row
/// has one ("Move to GARCH Estimation Menu", ...). Returns the choice and stores it.
int POSTREGMENU(int& choice, int method_code);

/// 1037 Display/Save Residuals and Fitted Values Menu: 0..9 with the scaled-residual
/// histogram for a method whose row offers the GARCH residual options, 0..7 otherwise.
int RESIDMENU(int& choice, int method_code);

}  // namespace qorv::diagnostics
