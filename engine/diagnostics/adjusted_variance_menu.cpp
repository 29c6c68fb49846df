#include "engine/diagnostics/adjusted_variance_menu.h"

#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/wald_options.h"
#include "engine/single/adjusted_variance.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "engine/single/result_report.h"

namespace qorv::diagnostics {

namespace {

namespace method = single::method;

constexpr int kMatrixColumns = 4;  ///< columns of a block of the printed parameter matrix

/// Menu 1033 options.
enum AdjustedOption : int { kBack = 0, kTable = 1, kMatrix = 2, kWald = 3, kFunctions = 4 };

void keep(int option, int lag) {
  auto& g = core::globals();
  g.adjusted_variance_kind = option;
  g.truncation_lag = lag;
}

/// The truncation point for options 3 to 6, or −1 when the user cancels.
int ask_truncation(int n) {
  for (;;) {
    int value = 0;
    int status = 0;  // the question has a Cancel button
    core::ASKINTEGER(core::kNoHelp, value, status,
                     "Specify the truncation point (can be zero).(It is recommended that no more than 1/3 of the "
                     "sample size is chosen)");
    if (status != core::kDialogOk) return -1;
    if (value >= 0 && value < n) return value;
    core::BEEP();
  }
}

/// The parameter matrix `matrix` (packed) scaled by `scale`² on a page of its own.
void print_matrix(const std::vector<double>& matrix, double scale) {
  const auto& s = single::estimation();
  std::vector<std::string> names = s.eqvarnames;
  int k = s.nregs;
  const int code = s.method;
  core::PRINTCOVMATRIX(code, [code] { single::BASEDONHEADER(code, core::channel::kResultsPage); }, names, k,
                       core::kParameterMatrix, kMatrixColumns, scale, matrix, k);
}

/// The standard matrix: the stored one, times SIGMA² when it is the scaled kind.
void print_standard_matrix() {
  const auto& s = single::estimation();
  print_matrix(s.variance, s.scale == single::VarianceScale::kScaled ? s.sigma : 1.0);
}

/// Menu 1033 for the adjusted matrix of `option` until option 0.
void adjusted_matrix_menu(int option, const std::vector<double>& matrix) {
  int choice = kTable;
  for (;;) {
    core::ADJVARIANCEMENU(choice, option);
    switch (choice) {
      case kTable:
        core::SHOWRESULTS(core::kOpenPage);
        single::REGRESSIONTABLE(single::estimation().method, core::channel::kResultsPage, matrix);
        core::SHOWRESULTS(core::kShowPage);
        break;
      case kMatrix:
        print_matrix(matrix, 1.0);
        break;
      case kWald:
        single_equation_wald(RelationMode::kRestrictions, matrix);
        break;
      case kFunctions:
        single_equation_wald(RelationMode::kFunctions, matrix);
        break;
      default:
        return;
    }
  }
}

}  // namespace

int LAGWINDOWSUMS(std::vector<double>& matrix) {
  const auto& s = single::estimation();
  const bool available = single::has_adjusted_variance(s.method);
  int choice = available ? 2 : 1;
  for (;;) {
    core::VARIANCEMENU(choice);
    if (choice < 2 || choice > 6) {
      keep(1, 0);
      return choice < 1 ? 0 : 1;
    }
    if (!available) {
      core::SHOWMSGFILE(core::msg::kNotForThisMethod);
      continue;
    }
    int m = 0;
    if (choice >= 3) {
      m = ask_truncation(s.nused);
      if (m < 0) {
        choice = 0;
        continue;
      }
    }
    const BusyNotice busy;
    matrix = single::estimate_adjusted_variance(choice, m);
    if (matrix.empty()) {
      core::SHOWMSGFILE(core::msg::kNotForThisMethod);
      continue;
    }
    keep(choice, m);
    return choice;
  }
}

void adjusted_variance_option() {
  for (;;) {
    std::vector<double> matrix;
    const int option = LAGWINDOWSUMS(matrix);
    if (option == 0) return;
    if (option == 1) {
      print_standard_matrix();
    } else {
      adjusted_matrix_menu(option, matrix);
    }
  }
}

}  // namespace qorv::diagnostics
