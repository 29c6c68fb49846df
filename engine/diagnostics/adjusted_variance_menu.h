// Post Regression Menu option 4: the Standard, White and Newey-West Adjusted Variance Menu
// (1003) and, for an adjusted matrix, its own menu (1033).
#pragma once

#include <vector>

namespace qorv::diagnostics {

/// `LAGWINDOWSUMS`: shows menu 1003 (default 2 for the methods with an adjusted matrix,
/// else 1) until the user goes back, asks for the standard matrix, or an adjusted matrix is
/// computed; a method without one gets message-file line 33 and the menu again; options 3
/// to 6 ask for the truncation point (0..n − 1, Cancel back to the menu). Keeps the option
/// and truncation point in the adjusted-variance words (1 and 0 for choices 0 and 1) and
/// returns the option taken, with the adjusted matrix in `matrix` for options 2 to 6.
int LAGWINDOWSUMS(std::vector<double>& matrix);

/// The whole of option 4: menu 1003 until option 0; the standard matrix is printed and
/// the menu shown again; an adjusted matrix opens menu 1033 (1 the regression table with
/// the adjusted standard errors, 2 the matrix; 0 back to menu 1003).
void adjusted_variance_option();

}  // namespace qorv::diagnostics
