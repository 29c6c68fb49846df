// The Hypothesis Testing Menu of the post-regression dialogue.
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/results_page.h"
#include "engine/diagnostics/arch_test.h"
#include "engine/diagnostics/cusum_plots.h"
#include "engine/diagnostics/non_nested_simulation.h"
#include "engine/diagnostics/non_nested_tests.h"
#include "engine/diagnostics/order_prompts.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/recursive_residuals.h"
#include "engine/diagnostics/residual_unit_root.h"
#include "engine/diagnostics/serial_correlation_test.h"
#include "engine/diagnostics/variable_tests.h"
#include "engine/diagnostics/wald_options.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"

namespace qorv::diagnostics {

namespace {

namespace method = single::method;

/// Hypothesis Testing Menu options.
enum HypothesisOption : int {
  kBack = 0,
  kSerialCorrelation = 1,
  kArch = 2,
  kUnitRoot = 3,
  kCusum = 4,
  kDeletion = 5,
  kAddition = 6,
  kWald = 7,
  kNonNested = 8,
  kNonNestedOtherLhs = 9,
};

/// `SHOWRESULTS` mode that closes an open page without showing it.
constexpr int kClosePageUnseen = 0;

constexpr std::string_view kSyntheticVariables =
    "The variables in the error correction model are constructed synthetic variables and cannot be deleted! To "
    "test linear/nonlinear restrictions on the parameters of the error correction model, choose option 7 in "
    "this menu.";

/// Option 1: the LM test of serial correlation of an order the user types. Returns true
/// when a refusal ends the dialogue.
bool serial_correlation_option(PostRegressionContext& context) {
  const auto& s = single::estimation();
  const int maximum = lm_max_order(s.nused, s.nregs);
  if (maximum < 1) {
    core::SHOWMSGFILE(core::msg::kTooFewForTest);
    return true;
  }
  const int order = ask_order("LM", maximum, context.lm_order > 0 && context.lm_order <= maximum ? context.lm_order : maximum);
  if (order == 0) return false;
  context.lm_order = order;
  core::SHOWRESULTS(core::kOpenPage);
  bool written = false;
  {
    BusyNotice busy;
    written = SERIALCORRELATIONTEST(order, core::channel::kResultsPage);
  }
  core::SHOWRESULTS(written ? core::kShowPage : kClosePageUnseen);
  return false;
}

/// Options 2 and 3: the ARCH test and the unit-root tests of the residuals. Returns true
/// when a refusal ends the dialogue.
bool arch_or_unit_root_option(int option) {
  const auto& s = single::estimation();
  if (!single::method_row(s.method).residual_arch_tests) {
    core::SHOWMSGFILE(core::msg::kNotForThisMethod);
    return true;
  }
  const int maximum = arch_max_order(s.nused);
  if (maximum < 1) {
    core::SHOWMSGFILE(core::msg::kTooFewForTest);
    return true;
  }
  const int order = ask_order(option == kUnitRoot ? "ADF" : "ARCH", maximum, 1);
  if (order == 0) return false;
  if (option == kUnitRoot) {
    write_residual_unit_root_page(order);
  } else {
    write_arch_page(order);
  }
  return false;
}

/// Option 4: the CUSUM and CUSUMSQ plots of the recursive residuals.
void cusum_option() {
  const auto& s = single::estimation();
  if (!single::method_row(s.method).least_squares_plots) {
    core::SHOWMSGFILE(core::msg::kNotForThisMethod);
    return;
  }
  if (s.sigma < limits::kTolerance) {
    core::SHOWMSGFILE(core::msg::kExactFitRecursive);
    return;
  }
  if (s.nused - s.nregs <= 2) {
    core::SHOWMSGFILE(core::msg::kTooFewForTest);
    return;
  }
  RecursiveResiduals recursive;
  bool computed = false;
  {
    BusyNotice busy;
    computed = RECURSIVERESID(recursive);
  }
  if (!computed) return;  // the recursive residuals have said why
  const int bounds = static_cast<int>(plot_file::PlotType::kCriticalBounds);
  const CusumSeries sum = cusum(recursive.w, recursive.m, s.sigma);
  if (!sum.statistic.empty())
    plot_over_sample("Plot of Cumulative Sum of Recursive Residuals", {sum.statistic, sum.upper, sum.lower},
                     {"CUSUM", "5% bound", "5% bound"}, bounds);
  const CusumSeries squares = cusum_of_squares(recursive.w, recursive.m);
  if (!squares.statistic.empty())
    plot_over_sample("Plot of Cumulative Sum of Squares of Recursive Residuals",
                     {squares.statistic, squares.upper, squares.lower}, {"CUSUM of Sqrs", "5% bound", "5% bound"},
                     bounds);
}

}  // namespace

MenuExit hypothesis_menu(PostRegressionContext& context) {
  const int code = single::estimation().method;
  const single::MethodRow& row = single::method_row(code);
  int choice = row.diagnostic_table ? kSerialCorrelation : kWald;
  for (;;) {
    core::HYPOTHESISMENU(choice);
    const int option = choice;
    choice = kBack;
    if (option <= kBack || option > kNonNestedOtherLhs) return MenuExit::kBackToPostRegression;
    if (option == kWald) {
      single_equation_wald(RelationMode::kRestrictions);
      continue;
    }
    if (!row.diagnostic_table) {
      core::SHOWMSGFILE(core::msg::kNotForThisMethod);
      return MenuExit::kBackToPostRegression;
    }
    switch (option) {
      case kSerialCorrelation:
        if (serial_correlation_option(context)) return MenuExit::kEndDialogue;
        break;
      case kArch:
      case kUnitRoot:
        if (arch_or_unit_root_option(option)) return MenuExit::kEndDialogue;
        break;
      case kCusum:
        cusum_option();
        break;
      case kDeletion:
      case kAddition:
        if (option == kDeletion && code == method::kErrorCorrection) {
          core::SHOWMESSAGE(kSyntheticVariables);
          choice = kWald;
        } else if (row.family == single::Family::kNonLinear) {
          core::SHOWMSGFILE(core::msg::kNotForThisMethod);
        } else if (option == kDeletion) {
          variable_deletion_test();
        } else {
          variable_addition_test();
        }
        break;
      case kNonNested:
      case kNonNestedOtherLhs:
        // The rival regression is compared with a least-squares estimate only.
        if (!row.least_squares_plots) core::SHOWMSGFILE(core::msg::kNotForThisMethod);
        else if (option == kNonNested) NONNESTEDTESTS();
        else NONNESTEDGENERAL();
        break;
      default:
        break;
    }
  }
}

}  // namespace qorv::diagnostics
