// The GARCH-family estimator (method 70): its dialogue (model and distribution menus,
// lag sets in the screen editor, variance-equation variables, initial values, damping
// factor), the maximisation, and the estimate left in the estimation state.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/single/garch_likelihood.h"

namespace qorv::single {

/// Lines of the advice shown after a failed GARCH maximisation.
inline constexpr int kMlFailAdviceLines = 13;

/// `MLFAILADVICE`: the 13-line advice on a failed GARCH estimation, in the long-message
/// box (lines of 80 columns).
void MLFAILADVICE();

/// Most parameters of a GARCH model.
inline constexpr int kMaxGarchParameters = 102;

/// The two lag sets of the editor text "AR set ; MA set".
struct GarchLagSets {
  bool valid = false;         ///< false: no ";", a set that does not read, or a lag of 100 or more
  std::vector<int> ar, ma;    ///< the non-zero lags, ascending (empty for "0")
};

/// Reads "AR set ; MA set": each set ascending integers below 100, or a single 0.
GarchLagSets parse_garch_lags(std::string_view text);

/// The estimator of method 70. Runs least squares first (the start and s0), then the
/// dialogue and the maximisation; the status word says how it ended.
void GARCHESTIMATE(bool interactive);

}  // namespace qorv::single
