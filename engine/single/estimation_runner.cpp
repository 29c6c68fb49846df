#include "engine/single/estimation_runner.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/initial_values.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"

namespace qorv::single {

/// The text of the error box "Total number of parameters too large (>      )" and its kin:
/// `value` right-justified in the six-column field.
std::string limit_text(std::string_view head, int value) {
  std::string field = std::to_string(value);
  if (field.size() < 6) field.insert(0, 6 - field.size(), ' ');
  return std::string(head) + field + ")";
}

namespace {

/// Variable and lag of a regressor name "X(-k)" or "X(+k)"; lag 0 and the variable of
/// that name otherwise.
RegressorLag lag_of(int variable, const std::string& name) {
  const auto open = name.find('(');
  if (open == std::string::npos || name.back() != ')' || open + 2 >= name.size()) return {variable, 0};
  const char sign = name[open + 1];
  if (sign != '-' && sign != '+') return {variable, 0};
  int k = 0;
  const char* first = name.data() + open + 2;
  const char* last = name.data() + name.size() - 1;
  const auto [ptr, ec] = std::from_chars(first, last, k);
  const int base = core::find_variable(name.substr(0, open));
  if (ec != std::errc{} || ptr != last || base == 0) return {variable, 0};
  return {base, sign == '-' ? -k : k};
}

}  // namespace

void take_equation(std::span<const int> equation) {
  auto& s = estimation();
  s.eqvarlist.assign(equation.begin(), equation.end());
  s.eqvarnames.clear();
  s.reglagtable.clear();
  for (size_t i = 0; i < equation.size(); ++i) {
    std::string name = core::variable_name(equation[i]);
    if (i > 0) s.reglagtable.push_back(lag_of(equation[i], name));
    s.eqvarnames.push_back(std::move(name));
  }
}

namespace {

/// How an AR or MA estimate starts, as menu 1023 settles it.
enum class Start { kLeave, kProgramValues, kUserValues };

/// The Initial AR/MA parameter estimates menu (1023). Option 3, the concentrated
/// likelihood plot, is offered (and preselected) only for a single lag.
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
        core::SHOWOK(core::kInformation, core::kNoHelp,
                     "The concentrated log-likelihood plot is not available in this version of Zelvorin.");
        choice = 2;
        break;
      default: return Start::kLeave;
    }
  }
}

/// Runs the estimator of the current method code and refuses a perfect fit of a method
/// that does not allow one.
void estimate(bool interactive) {
  auto& s = estimation();
  const MethodRow& row = method_row(s.method);
  if (row.estimate == nullptr) {
    refuse_method(s.method);
    s.status = status::kFailed;
    return;
  }
  row.estimate(interactive);
  if (s.status != status::kEstimated) return;
  if (row.refuses_exact_fit && s.loglik == limits::kMissing) {
    s.status = status::kFailed;
    core::SHOWMSGFILE(core::msg::kExactFit);
  }
}

}  // namespace

void RUNESTIMATION(bool interactive) {
  auto& s = estimation();
  auto& g = core::globals();
  while (true) {
    begin_estimate(s.method);
    g.adjusted_variance_kind = 0;
    g.truncation_lag = 0;
    if (!load_sample()) {
      s.status = status::kFailed;
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
    estimate(interactive);
    if (s.status == status::kEstimated || !has_lags) return;
  }
}

}  // namespace qorv::single
