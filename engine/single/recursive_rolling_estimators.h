// The recursive (60, 61) and rolling (18, 19) rows of the method table: the estimates of
// the current equation over its sample, kept for their result menus. No menu is shown here.
#pragma once

#include "engine/single/recursive_rolling.h"

namespace qorv::single {

/// The current equation over the estimation sample: the NREGS regressors and, for the
/// two-stage methods (19, 61), the NINSTR instruments, from the data matrix; the
/// dependent variable from the actual-value block.
EquationData sample_equation_data();

/// The series of the last recursive and rolling estimates.
struct RecursiveRollingStore {
  RecursiveSeries recursive;
  RollingSeries rolling;
};
RecursiveRollingStore& recursive_rolling_store();

/// Recursive estimates into the store, with the interactive switch at 0. Status 0 when an
/// estimable start exists; otherwise status 1 and, when `interactive`, the error box
/// " First" N − 1 "regressions are collinear!". Short memory: the disk-space box, status 1.
void estimate_recursive(bool interactive);

/// Rolling estimates over windows of the driver's window length into the store, with the
/// interactive switch at 0; the state's sample, NUSED and estimate are untouched and its
/// rolling flag is set. Status 1 when the window does not fit the sample or memory is short.
void estimate_rolling(bool interactive);

}  // namespace qorv::single
