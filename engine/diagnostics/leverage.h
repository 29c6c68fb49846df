// The leverage measures of a least-squares estimate.
#pragma once

#include <vector>

namespace qorv::diagnostics {

/// The leverage of each observation of the current estimate's sample,
/// h(t) = x(t)'(X'X)⁻¹x(t) with x(t) the regressors' values at observation t; their mean is
/// k/n. Empty when the estimate has no sample or regressors, or X'X is singular.
/// Cost: n·k²/2 + k³/2 + n·k².
std::vector<double> LEVERAGE();

}  // namespace qorv::diagnostics
