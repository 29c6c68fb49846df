// The single-equation options dialogue: from the choice in the Single Equation Estimation
// Menu to a method code, its options (AR order or lag list, window length, instruments),
// the parameter, space and observation checks, and the runner.
#pragma once

#include <vector>

namespace qorv::road {

/// What the options dialogue keeps between calls.
struct OptionsMemory {
  int linear_choice = 0;       ///< last choice of menu 1014; 0 once the user leaves the linear road
  std::vector<int> lags;       ///< the AR/MA lag list last typed, ascending, at most 12
  int nonlinear_default = 2;   ///< option preselected in menu 1034: 2, then 1 after an estimate, 0 after a refusal
  bool garch_again = false;    ///< the last GARCH estimate asked for re-specification: GARCH without the menu
};

/// The options dialogue's memory (reset with the engine).
OptionsMemory& options_memory();

/// The single-equation options, estimation and post-estimation menus of `kind` (1..7).
/// `next_step` out: the step the driver takes next; `show_backtracking` cleared when the
/// Backtracking Menu is not to follow; `repeat` set when the specification is to be asked
/// again (or the user backed out before estimating).
void SINGLEEQOPTIONS(int& next_step, int kind, int& window, int trailing, bool& show_backtracking,
                     bool& repeat);

}  // namespace qorv::road
