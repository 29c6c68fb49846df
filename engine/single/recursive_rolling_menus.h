// The recursive and rolling regressions of the current equation as the runner hands them
// over: the estimates over the estimation sample, then their result menus (plots of the
// coefficients with two-standard-error bands and of the regression standard errors, and
// saves of every series as a variable).
#pragma once

#include "engine/single/recursive_rolling.h"

namespace qorv::single {

/// The current equation over the estimation sample: the NREGS regressors and, for the
/// two-stage methods (19, 61), the NINSTR instruments, from the data matrix; the
/// dependent variable from the actual-value block.
EquationData sample_equation_data();

/// `RECURSIVEMENU`: recursive least squares (method 60) or two-stage least squares (61)
/// over the sample, then menu 1036 until its choice 0. No estimable start: the error box
/// " First" N − 1 "regressions are collinear!" and no menu. The plots skip the first
/// (N − m) div 4 estimates. Returns false when there was nothing to show.
bool RECURSIVEMENU();

/// `ROLLINGPLOTS`: rolling least squares (18) or two-stage least squares (19) over the
/// windows of `window` observations, then menu 1038 until its choice 0. The estimation
/// state (sample, NUSED, the full-sample estimate) is left as it was; its rolling flag is
/// set. Returns false when the window does not fit the sample.
bool ROLLINGPLOTS(int window);

}  // namespace qorv::single
