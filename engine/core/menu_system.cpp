#include "engine/core/menu_system.h"

#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

constexpr int kBacktrackPreselected = 2;
constexpr int kDataSavingPreselected = 2;

/// Shows a menu with the preset rule: a preset slot that holds a value other than -999
/// answers without a dialog and is reset.
int show_menu(int number, int first, int preset_slot, std::string_view title,
              std::span<const std::string_view> options, int& choice) {
  if (preset_slot != 0 && slot(preset_slot) != slots::kUnset) {
    choice = take_preset(preset_slot);
    return choice;
  }
  std::vector<std::string> rows;
  rows.reserve(options.size() + 1);
  rows.push_back(fixed_text::pad(title, kMenuRowWidth));
  for (const std::string_view option : options) rows.push_back(fixed_text::pad(option, kMenuRowWidth));
  int menu_number = number;
  SHOWMENU(rows, first, first + static_cast<int>(options.size()) - 1, choice, menu_number);
  return choice;
}

/// `table` shown with its own title and options but for the changes a routine makes.
struct MenuCopy {
  const MenuTable& table;
  std::string title;
  std::vector<std::string_view> options;
  explicit MenuCopy(int number) : table(*find_menu_table(number)), title(table.title), options(table.options) {}
  int show(int& choice) const {
    return show_menu(table.number, table.first, table.preset_slot, title, options, choice);
  }
};

int show_number(int number, int& choice) { return show_menu_table(*find_menu_table(number), choice); }

}  // namespace

void SHOWMENU(std::span<const std::string> rows, int first, int last, int& choice, int& menu_number) {
  const int n = last - first + 1;
  const int help = menu_number != 0 ? menu_number + 1000 : kNoHelp;
  menu_number = 0;
  if (n <= 0) {
    choice = 0;
    return;
  }
  const auto row = [&](int k) { return k < static_cast<int>(rows.size()) ? std::string_view(rows[k]) : std::string_view{}; };
  const std::string title = fixed_text::pad(row(0), kMenuLineWidth);
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(n));
  for (int k = 1; k <= n; ++k) {
    const std::string text = fixed_text::pad(row(k), kMenuOptionText);
    lines.push_back(fixed_text::pad(std::to_string(first + k - 1) + ". " + text, kMenuLineWidth));
  }
  int index = choice - first;
  if (index < 0 || index >= n) index = 0;  // nothing sensible preselected: the first option
  int status = 0;
  ASKONEOPTION(help, status, index, title, lines);
  choice = status == kDialogOk ? index + first : 0;
}

int show_menu_table(const MenuTable& table, int& choice) {
  return show_menu(table.number, table.first, table.preset_slot, table.title, table.options, choice);
}

int BACKTRACKMENU(int& choice, int single_kind, int system_kind) {
  static constexpr std::string_view kSingleTitles[] = {
      "Backtracking Menu (Linear Regression)",         "Backtracking Menu (Recursive Regression)",
      "Backtracking Menu (Rolling Regression)",        "Backtracking Menu (Non-linear Regression)",
      "Backtracking Menu (Phillips-Hansen Regression)", "Backtracking Menu (ARDL Estimation)",
      "Backtracking Menu (Logit/Probit Estimation)"};
  static constexpr std::string_view kSystemTitles[] = {
      "Backtracking Menu (Unrestricted VAR)", "Backtracking Menu (Cointegrated VAR Analysis)",
      "Backtracking Menu (SURE Estimation)", "Backtracking Menu (Restricted SURE Estimation)"};
  MenuCopy menu(1004);
  if (single_kind >= 1 && single_kind <= 7) {
    menu.title = kSingleTitles[single_kind - 1];
    menu.options[0] = "Return to Single Equation Estimation Window";
  } else if (system_kind >= 1 && system_kind <= 4) {
    menu.title = kSystemTitles[system_kind - 1];
    menu.options[0] = "Return to System Estimation Window";
    if (system_kind == 1) menu.options[1] = "Choose order of the VAR/AR model and re-estimate";
    if (system_kind == 2) menu.options[1] = "Choose intercept/trend in the underlying VAR";
  }
  choice = kBacktrackPreselected;
  menu.show(choice);
  if (choice == 4 || choice == 5) set_slot(slots::kEquationBoxRequest, slots::kTrue);
  return choice;
}

int SINGLEEQMENU(int& choice) { return show_number(1039, choice); }
int SYSTEMMENU(int& choice) { return show_number(1032, choice); }
int DATAPROCESSINGMENU(int& choice) { return show_number(1008, choice); }

int DATASAVINGMENU(int& choice) {
  if (slot(slots::kDataSavingPreset) == slots::kUnset) choice = kDataSavingPreselected;
  return show_number(1009, choice);
}

int FREQUENCYMENU(int& choice) { return show_number(1007, choice); }
int LINREGMENU(int& choice) { return show_number(1014, choice); }
int NONLINESTMENU(int& choice) { return show_number(1034, choice); }
int RECURSIVEREGMENU(int& choice) { return show_number(1035, choice); }
int DRIFTMENU(int& choice) { return show_number(1011, choice); }
int LAGWINDOWMENU(int& choice) { return show_number(1018, choice); }
int ARDLORDERMENU(int& choice) { return show_number(1006, choice); }
int ROLLINGRESULTMENU(int& choice) { return show_number(1038, choice); }

int RECURSIVERESULTSMENU(int& choice, int method_code) {
  MenuCopy menu(1036);
  if (method_code == 61) menu.title = "Recursive  IV Regression Results Menu";
  return menu.show(choice);
}
int HYPOTHESISMENU(int& choice) { return show_number(1019, choice); }
int DEPVARFORMMENU(int& choice, int model) {
  MenuCopy menu(1042);
  menu.title += model == 2 ? " M2" : " M1";
  return menu.show(choice);
}

int VARIANCEMENU(int& choice) { return show_number(1003, choice); }

int ADJVARIANCEMENU(int& choice, int variance_choice) {
  MenuCopy menu(1033);
  if (variance_choice >= 3) menu.title = "Newey-West Adjusted Variance-Covariance Matrix";
  return menu.show(choice);
}

int VARDECMENU(int& choice, bool restricted) {
  MenuCopy menu(1040);
  if (restricted) menu.title = "Variance Decomposition Analysis (Restricted CV's)";
  return menu.show(choice);
}

int CVNORMMENU(int& choice, bool restricted) {
  MenuCopy menu(1041);
  if (restricted) menu.title = "Impulse Response Analysis for Restricted CV's";
  return menu.show(choice);
}

}  // namespace qorv::core
