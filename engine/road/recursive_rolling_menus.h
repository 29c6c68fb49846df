// The result menus of the recursive and rolling regressions, after their estimates (the
// method table's recursive and rolling rows): plots of the coefficients with
// two-standard-error bands and of the regression standard errors, and saves of every
// series as a variable.
#pragma once

namespace qorv::road {

/// `RECURSIVEMENU`: menu 1036 over the last recursive estimate until its choice 0. The
/// plots skip the first (N − m) div 4 estimates. The status word is "failed" afterwards.
void RECURSIVEMENU();

/// `ROLLINGPLOTS`' menu 1038 over the last rolling estimate until its choice 0. The
/// status word is "failed" afterwards.
void ROLLINGPLOTS();

}  // namespace qorv::road
