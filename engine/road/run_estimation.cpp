#include "engine/road/run_estimation.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/initial_values.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/likelihood_plot.h"

namespace qorv::road {

using namespace single;

std::string limit_text(std::string_view head, int value) {
  std::string field = std::to_string(value);
  if (field.size() < 6) field.insert(0, 6 - field.size(), ' ');
  return std::string(head) + field + ")";
}

namespace {

/// How an AR or MA estimate starts, as menu 1023 settles it.
enum class Start { kLeave, kProgramValues, kUserValues };

/// The Initial AR/MA parameter estimates menu (1023). Option 3, the concentrated
/// likelihood plot, is offered (and preselected) only for a single lag; after the plot the
/// menu comes back with the user's values offered.
Start initial_values_menu() {
  auto& s = estimation();
  const bool one_lag = s.arma_lags.size() == 1;
  std::vector<std::string> rows = {" Initial AR/MA parameter estimates", " Return to Backtracking Menu",
                                   " Initial estimates supplied by program", " Initial estimates supplied by you"};
  if (one_lag) rows.emplace_back(" Plot of concentrated log-likelihood/IV minimand");
  int choice = one_lag ? 3 : 1;
  while (true) {
    int menu_number = 1023;
    core::SHOWMENU(rows, 0, one_lag ? 3 : 2, choice, menu_number);
    switch (choice) {
      case 1: return Start::kProgramValues;
      case 2: {
        const bool ma = method_row(s.method).lags == ErrorLags::kMa;
        std::vector<std::string> names;
        for (const int lag : s.arma_lags) {
          std::string field = std::to_string(lag);
          if (field.size() < 2) field.insert(0, 2 - field.size(), ' ');
          names.push_back((ma ? "MA lag" : "AR lag") + field);
        }
        std::vector<double> values(names.size(), 0.0);
        int flag = 0;
        core::EDITINITVALUES(values, names, core::kArmaParameters, flag);
        if (flag == 0) {
          std::copy(values.begin(), values.end(), s.result.begin() + block::kCoefficients + s.nregs);
          return Start::kUserValues;
        }
        break;
      }
      case 3:
        plot_concentrated_likelihood();
        choice = 2;
        break;
      default: return Start::kLeave;
    }
  }
}

}  // namespace

void RUNESTIMATION(bool interactive) {
  auto& s = estimation();
  while (true) {
    if (!start_estimate()) {
      core::SHOWOK(core::kError, core::kNoHelp,
                   limit_text("Too many observations/variables (>", block::kMaxSeries));
      return;
    }
    const bool has_lags = !s.arma_lags.empty() && method_row(s.method).initial_values;
    if (has_lags) {
      const Start start = initial_values_menu();
      if (start == Start::kLeave) {
        s.status = status::kFailed;
        return;
      }
      s.user_initial_values = start == Start::kUserValues;
      core::SHOWCALCULATING();
    }
    switch (estimate_equation(interactive)) {
      case EstimateOutcome::kEstimated: return;
      case EstimateOutcome::kNotAvailable: refuse_method(s.method); break;
      case EstimateOutcome::kExactFit: core::SHOWMSGFILE(core::msg::kExactFit); break;
      case EstimateOutcome::kFailed: break;
    }
    if (!has_lags) return;
  }
}

}  // namespace qorv::road
