// The workspace's variables offered to the user: listed with their descriptions on the
// results page, or offered for choosing one.
#pragma once

#include <string>
#include <string_view>
#include <span>

namespace qorv::data {

/// `LISTVARIABLES` modes.
enum VariableListMode : int {
  kChooseVariable = 1,   ///< choose one, alphabetical, titled " Variable List"
  kListVariables = 2,    ///< list names and descriptions on the results page
  kChooseRegressor = 3,  ///< choose one, in workspace order, titled " Choose Regressor"
};

/// Offers the variables for a choice and returns the chosen name, upper case; empty when
/// the user cancelled or there are no variables. (The listing of mode 2 is written once
/// the results page can take it; until then mode 2 does nothing.) The choice items are the name in 14 columns and the
/// description. Cost O(NVARS log NVARS).
std::string LISTVARIABLES(int mode);

/// Offers the variables in workspace order (" Choose Regressor") and returns the chosen
/// name's position in `names` (from 1; 0 when it is not there), or -1 when nothing was
/// chosen.
int PICKVARIABLE(std::span<const std::string> names);

}  // namespace qorv::data
