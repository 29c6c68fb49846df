// The workspace's variables offered to the user: listed with their descriptions on the
// results page, or offered for choosing one.
#pragma once

#include <string>
#include <string_view>
#include <span>

namespace qorv::core {

/// `LISTVARIABLES` modes.
enum VariableListMode : int {
  kChooseVariable = 1,   ///< choose one, alphabetical, titled " Variable List"
  kListVariables = 2,    ///< list names and descriptions on the results page
  kChooseRegressor = 3,  ///< choose one, in workspace order, titled " Choose Regressor"
};

/// Lists the variables alphabetically on the results page (mode 2: the heading "List of
/// Variables and their Descriptions", then each name in 14 columns and its description,
/// or "No description for this series"), or offers them for a choice (any other mode)
/// and returns the chosen name; empty in listing mode, when the user cancelled, or when
/// there are no variables. The choice items are the name in 14 columns and the
/// description. Cost O(NVARS log NVARS).
std::string LISTVARIABLES(int mode);

/// Writes to the results page the listing of mode 2 for `numbers` (variables from 1, in
/// the order given; numbers out of range are skipped).
void list_descriptions(std::span<const int> numbers);

/// Shows the listing of mode 2, alphabetical, in one message box: for questions asked
/// while no results page is open.
void show_variable_list();

/// Offers the variables in workspace order (" Choose Regressor") and returns the chosen
/// name's position in `names` (from 1; 0 when it is not there), or -1 when nothing was
/// chosen.
int PICKVARIABLE(std::span<const std::string> names);

}  // namespace qorv::core
