// Numbered menus: every choice the engine asks of the user is a menu table (a title and
// numbered options) shown as a single-choice list. A menu's number gives the dialog its
// help topic (number + 1000). A menu with a preset slot first looks at that exchange
// slot: a value other than -999 is taken as the choice without showing the menu, and the
// slot is set back to -999.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

inline constexpr int kMenuRowWidth = 83;      ///< a row of a menu table
inline constexpr int kMenuLineWidth = 78;     ///< a line of the menu on screen
inline constexpr int kMenuOptionText = 75;    ///< characters of an option's row shown

/// A menu of the engine: its number, option range, preset slot, title and options.
struct MenuTable {
  int number = 0;                         ///< menu number (1002..1048); 0 for none
  int first = 0;                          ///< number of the first option (0 or 1)
  int preset_slot = 0;                    ///< exchange slot of a preset answer; 0 for none
  std::string_view title;                 ///< row 0, leading blanks included
  std::vector<std::string_view> options;  ///< rows 1..n: options first..first + n - 1
  int last() const { return first + static_cast<int>(options.size()) - 1; }
};

/// The menu table with this number as the engine keeps it (before any text a routine
/// changes at run time); nullptr for a number the engine core has no table for.
const MenuTable* find_menu_table(int number);

/// The numbers of every table `find_menu_table` knows, ascending.
std::vector<int> menu_table_numbers();

/// Shows `rows` (row 0 the title, rows 1..n options first..last) as a single-choice
/// list: the title's first 78 characters, then each option as its number, ". " and the
/// first 75 characters of its row. `choice` in: the option preselected; out: the option
/// chosen, or 0 when the list was cancelled. The help context is `menu_number` + 1000, 0
/// when it is 0; `menu_number` is set to 0.
void SHOWMENU(std::span<const std::string> rows, int first, int last, int& choice, int& menu_number);

/// Shows `table` (with its preset rule) with `choice` preselected; returns the choice
/// and stores it in `choice`.
int show_menu_table(const MenuTable& table, int& choice);

// The menus. Each takes the preselected option in `choice`, writes the option chosen
// (0 on cancel) back into it and returns it.

/// 1004 Backtracking Menu, options 1..5, option 2 preselected; its title and first two
/// options follow the single-equation kind (1..7) or the system kind (1..4) of the road.
/// Options 4 and 5 set the equation-box write request (slot 31).
int BACKTRACKMENU(int& choice, int single_kind, int system_kind);
/// 1039 Single Equation Estimation Menu, 0..7, preset slot 6.
int SINGLEEQMENU(int& choice);
/// 1032 System Estimation Menu, 0..4, preset slot 9.
int SYSTEMMENU(int& choice);
/// 1008 Data Processing Menu, 0..5, preset slot 10.
int DATAPROCESSINGMENU(int& choice);
/// 1009 Data Saving Menu, 0..4, preset slot 11, option 2 preselected.
int DATASAVINGMENU(int& choice);
/// 1007 Data Frequency Menu, 1..5, preset slot 7.
int FREQUENCYMENU(int& choice);
/// 1014 Estimation Menu (Linear Regression), 0..9, preset slot 15.
int LINREGMENU(int& choice);
/// 1034 Estimation Menu (Non-Linear Regression), 0..3, preset slot 15.
int NONLINESTMENU(int& choice);
/// 1035 Recursive Regression Menu, 0..2, preset slot 15.
int RECURSIVEREGMENU(int& choice);
/// 1011 Drift in Regressors, 0..2, preset slot 15.
int DRIFTMENU(int& choice);
/// 1018 Choose type of lag window, 0..4 (1 equal, 2 Bartlett, 3 Tukey, 4 Parzen).
int LAGWINDOWMENU(int& choice);
/// 1006 ARDL Order Selection Menu, 0..6.
int ARDLORDERMENU(int& choice);
/// 1036 Recursive OLS Regression Results Menu, 0..8; " IV" takes the place of "OLS" in
/// its title for method 61.
int RECURSIVERESULTSMENU(int& choice, int method_code);
/// 1038 Rolling Regression Result Menu, 0..5.
int ROLLINGRESULTMENU(int& choice);
/// 1019 Hypothesis Testing Menu, 0..9.
int HYPOTHESISMENU(int& choice);
/// 1042 the form of model M1's (`model` 1) or M2's (2) dependent variable, 0..6: the
/// title ends in " M1" or " M2".
int DEPVARFORMMENU(int& choice, int model);
/// 1003 Standard, White and Newey-West Adjusted Variance Menu, 0..6.
int VARIANCEMENU(int& choice);
/// 1033 adjusted-matrix menu, 0..4; titled White (variance choice 2 or less) or
/// Newey-West (3 and above).
int ADJVARIANCEMENU(int& choice, int variance_choice);
/// 1040 variance decomposition menu, 0..2, for Johansen's or the restricted vectors.
int VARDECMENU(int& choice, bool restricted);
/// 1041 impulse-response menu, 0..2, for Johansen's or the restricted vectors.
int CVNORMMENU(int& choice, bool restricted);

}  // namespace qorv::core
