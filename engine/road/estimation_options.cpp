#include "engine/road/estimation_options.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/engine_state.h"
#include "engine/core/lag_lists.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/model_spec.h"
#include "engine/core/screen_editor.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/road/ardl_dialogue.h"
#include "engine/road/logit_probit.h"
#include "engine/road/recursive_rolling_menus.h"
#include "engine/road/request_road.h"
#include "engine/road/run_estimation.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/nonlinear_estimate.h"
#include "engine/single/method_table.h"
#include "shared/exchange_slots.h"
#include "shared/names.h"

namespace qorv::road {

using namespace single;

namespace {

OptionsMemory& memory() {
  static OptionsMemory m;
  return m;
}

void reset_memory() { memory() = OptionsMemory{}; }

const core::ResetRegistration kReset{reset_memory};

constexpr int kMaxArLag = 50;       ///< largest lag of an AR error list
constexpr int kMaxMaLag = 12;       ///< largest lag of an MA error list
constexpr int kLagAnswerWidth = 80; ///< the lag-list answer field
/// Values of the work space that follows the data matrix, which bounds observations times
/// parameters of the iterative estimators.
constexpr int kScratchValues = core::area::kEstimationEnd - core::area::kEstimation;

/// The method menus whose options choose a method.
constexpr int kLinearMenu = 1014;
constexpr int kNonLinearMenu = 1034;
constexpr int kRecursiveMenu = 1035;

/// The Rolling Regression Menu (1047); slot 15 presets it like the other method menus.
const core::MenuTable kRollingMenu{1047, 0, slots::kMethodPreset, " Rolling Regression Menu",
                                   {" Move to Backtracking Menu", " Specify/modify window size",
                                    " Rolling least squares", " Rolling two-stage least squares"}};

int sample_size() { return core::globals().sample_end - core::globals().sample_start + 1; }

/// The parameters of the equation's coefficient table: the regressors, or the non-linear
/// formula's parameters.
int regressor_count() {
  if (method_row(estimation().method).family == Family::kNonLinear)
    return static_cast<int>(nonlinear_equation().formula.parameters.size());
  return std::max(0, static_cast<int>(estimation().eqvarlist.size()) - 1);
}

std::vector<int> lags_up_to(int order) {
  std::vector<int> lags(static_cast<size_t>(order));
  for (int j = 1; j <= order; ++j) lags[static_cast<size_t>(j - 1)] = j;
  return lags;
}

/// The order of an AR process, 1..highest, asked without a Cancel button until it fits.
int ask_order(int highest) {
  const std::string prompt = "Order of the autoregressive process (1-" + std::to_string(highest) + ")?";
  while (true) {
    int value = 1;
    int status = core::kDialogOk;
    core::ASKINTEGER(core::kNoHelp, value, status, prompt);
    if (status == core::kDialogOk && value >= 1 && value <= highest) return value;
    core::BEEP();
  }
}

/// The non-zero lags of an AR or MA error process, ascending; empty when the user typed
/// none or cancelled. A list that does not read, a lag of 0 or a lag beyond 50 (AR) or 12
/// (MA) beeps and asks again.
std::optional<std::vector<int>> ask_lags(bool ma) {
  const std::string prompt = std::string(" Type the non-zero lags in the ") + (ma ? "MA" : "AR") +
                             " process in ascending order separated by space(s), at most 12 numbers (e. g. 3 5 9):";
  while (true) {
    std::string answer = " ";
    int status = core::kDialogOk;
    core::ASKSTRING(core::kNoHelp, status, prompt, answer, kLagAnswerWidth);
    if (status != core::kDialogOk) return std::nullopt;
    const core::LagList list = core::PARSELAGS(core::kAscendingLags, answer, limits::kMaxLagList);
    if (!list.error && list.lags.empty()) return std::nullopt;
    if (!list.error && list.lags.front() >= 1 && list.lags.back() <= (ma ? kMaxMaLag : kMaxArLag))
      return list.lags;
    core::BEEP();
  }
}

/// The method of the linear-regression road (menu 1014, or GARCH again after a request to
/// re-specify it) with its lag list in the memory; 0 when the user left.
int linear_method() {
  auto& m = memory();
  if (m.garch_again) {
    m.garch_again = false;
    m.lags.clear();
    return method::kGarch;
  }
  int choice = m.linear_choice > 0 ? m.linear_choice : 1;
  core::LINREGMENU(choice);
  const int code = method_of_option(kLinearMenu, choice);
  if (code == 0) return 0;
  m.linear_choice = choice;
  m.lags.clear();
  const MethodRow& row = method_row(code);
  if (row.exact_ar_order > 0) {
    const int order = ask_order(2);
    m.lags = lags_up_to(order);
    return order == 1 ? method::kExactAr1 : method::kExactAr2;
  }
  if (row.gaps_code != 0) {
    std::optional<std::vector<int>> lags = ask_lags(row.lags == ErrorLags::kMa);
    if (!lags) return 0;
    m.lags = std::move(*lags);
    const bool gaps = static_cast<int>(m.lags.size()) != m.lags.back();
    return gaps ? row.gaps_code : code;
  }
  if (row.lags == ErrorLags::kAr) m.lags = lags_up_to(ask_order(limits::kMaxLagList));
  return code;
}

/// The instruments of the current equation from the specification screen, then the check
/// that they leave an unbroken sample. False when the user cancelled or the check refused.
bool take_instruments(int parameters) {
  auto& s = estimation();
  core::SpecRequest request;
  request.kind = s.method;
  request.item_word = "instrument";
  request.model_dependent = s.eqvarnames.empty() ? std::string() : s.eqvarnames.front();
  if (s.eqvarnames.size() > 1) request.model_names.assign(s.eqvarnames.begin() + 1, s.eqvarnames.end());
  request.required = regressor_count();
  if (method_row(s.method).family == Family::kNonLinear) request.formula = formula_lines();
  // The screen keeps the title it was given: it names what is listed now.
  core::set_editor_title({"List the instrument(s) (separated by spaces)"});
  const core::SpecResult result = core::SPECIFYMODEL(request);
  if (result.cancelled) return false;
  s.instrlist = result.numbers;
  s.instrnames = result.names;
  s.ninstr = static_cast<int>(s.instrlist.size());
  std::vector<int> variables = s.eqvarlist;
  variables.insert(variables.end(), s.instrlist.begin(), s.instrlist.end());
  return !diagnostics::CHECKSAMPLE(variables, parameters, "this model");
}

/// Steps common to every method once its options are known: the space check, the
/// instruments, the observation check and the estimate. Returns true when an estimate ran
/// (whatever its status), false when a check, the user or a missing estimator stopped it.
/// The sample a check shortened is restored before returning.
bool estimate_method(int code) {
  auto& s = estimation();
  const auto& g = core::globals();
  s.method = code;
  const MethodRow& row = method_row(code);
  s.arma_lags = row.lags != ErrorLags::kNone ? memory().lags : std::vector<int>{};
  forget_instruments();
  const int lags = static_cast<int>(s.arma_lags.size());
  const int largest = s.arma_lags.empty() ? 0 : s.arma_lags.back();
  const int k = regressor_count();
  const diagnostics::SampleGuard sample;
  if (row.bounded_by_work_space && lags + k > 0) {
    const int limit = kScratchValues / (lags + k) + largest;
    if (limit < sample_size()) {
      core::SHOWOK(core::kError, core::kNoHelp, limit_message(limit));
      return false;
    }
  }
  if (row.instruments) {
    if (g.max_vars - g.nvars < lags + k + 1) {
      core::SHOWMSGFILE(core::msg::kWorkspaceFull);
      return false;
    }
    if (!take_instruments(lags + k)) return false;
  }
  if (sample_size() <= lags + k + largest) {
    core::SHOWMSGFILE(core::msg::kTooFewForRegressors);
    return false;
  }
  if (!method_available(code)) {
    refuse_method(code);
    return false;
  }
  core::SHOWCALCULATING();
  RUNESTIMATION(core::driver_state().interactive);
  if (s.status != status::kEstimated) return true;
  // Recursive and rolling estimates have their own result menus, and no post-regression.
  switch (method_row(code).family) {
    case Family::kRecursive: RECURSIVEMENU(); break;
    case Family::kRolling: ROLLINGPLOTS(); break;
    default: diagnostics::POSTREGRESSION(); break;
  }
  return true;
}

/// The window length of a rolling regression with k regressors over n observations: the
/// preset of slot 24 once, else asked until it lies in k + 1..n − 1; 0 to quit.
int ask_window(int k, int n) {
  int value = 0;
  bool asked = false;
  const int32_t preset = core::slot(slots::kSingleEqOption);
  if (preset != slots::kUnset && preset != 0) {
    value = core::take_preset(slots::kSingleEqOption);
  } else {
    asked = true;
  }
  const std::string prompt = "Window length( Minimum " + std::to_string(k + 1) + ", Maximum " + std::to_string(n - 1) +
                             ", zero to quit) ?";
  while (true) {
    if (asked) {
      int status = 0;
      core::ASKINTEGER(core::kNoHelp, value, status, prompt);
      if (status != core::kDialogOk) return 0;
    }
    asked = true;
    if (value == 0) return 0;
    if (value >= k + 1 && value <= n - 1) {
      core::set_slot(slots::kSingleEqOptionOut, value);
      return value;
    }
    core::BEEP();
  }
}

/// The variable that serves as the fully modified estimate's intercept: an existing
/// variable called INTERCEPT (in any case), else a new one of ones at the end of the data
/// set. 0 when there is no room for it (message-file line 3 shown).
int intercept_variable() {
  auto& g = core::globals();
  for (int v = 1; v <= g.nvars; ++v)
    if (names::upper(core::variable_name(v)) == "INTERCEPT") return v;
  if (g.nvars >= g.max_vars) {
    core::SHOWMSGFILE(core::msg::kWorkspaceFull);
    return 0;
  }
  const int v = g.nvars + 1;
  g.nvars = v;
  core::set_variable(v, "INTERCEPT", "Intercept term");
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, v) = 1.0;
  return v;
}

/// Puts the intercept in front of the regressors for the life of the object.
class InterceptInserted {
 public:
  explicit InterceptInserted(int variable) {
    auto& s = estimation();
    s.eqvarlist.insert(s.eqvarlist.begin() + 1, variable);
    s.eqvarnames.insert(s.eqvarnames.begin() + 1, core::variable_name(variable));
    s.reglagtable.insert(s.reglagtable.begin(), RegressorLag{variable, 0});
  }
  ~InterceptInserted() {
    auto& s = estimation();
    s.eqvarlist.erase(s.eqvarlist.begin() + 1);
    s.eqvarnames.erase(s.eqvarnames.begin() + 1);
    s.reglagtable.erase(s.reglagtable.begin());
  }
  InterceptInserted(const InterceptInserted&) = delete;
  InterceptInserted& operator=(const InterceptInserted&) = delete;
};

/// The variables of an ARDL model must be levels: the dependent variable and the
/// regressors before the `trailing` fixed ones may not be lagged. False, with the
/// refusal shown, when one is.
bool ardl_variables_valid(int trailing) {
  const auto& names = estimation().eqvarnames;
  const int checked = static_cast<int>(names.size()) - std::clamp(trailing, 0, regressor_count());
  for (int i = 0; i < checked; ++i) {
    const std::string& name = names[static_cast<size_t>(i)];
    if (name.find('(') != std::string::npos) {
      core::SHOWOK(core::kError, core::kNoHelp, " Variable " + name + " is not valid for inclusion in the ARDL!");
      return false;
    }
  }
  return true;
}

}  // namespace

OptionsMemory& options_memory() { return memory(); }

void SINGLEEQOPTIONS(int& next_step, int kind, int& window, int trailing, bool& show_backtracking,
                     bool& repeat) {
  using namespace core;
  show_backtracking = true;
  repeat = false;
  OptionsMemory& m = options_memory();
  if (kind != kLinearRegression) m.linear_choice = 0;
  // The state now describes an equation not yet estimated: nothing may read its results.
  take_equation(driver_state().equation);
  estimation().status = status::kFailed;
  switch (kind) {
    case kLinearRegression: {
      const int code = linear_method();
      if (code == 0) return;
      const int k = static_cast<int>(estimation().eqvarlist.size()) - 1;
      if (static_cast<int>(m.lags.size()) + k > limits::kMaxRegressors) {
        SHOWOK(kError, kNoHelp, limit_text("Total number of parameters too large (>", limits::kMaxRegressors));
        return;
      }
      estimate_method(code);
      if (estimation().method == method::kGarch && estimation().status == status::kRespecify) {
        m.garch_again = true;
        next_step = 2;
        show_backtracking = false;
      }
      return;
    }
    case kRecursive: {
      int choice = 1;
      RECURSIVEREGMENU(choice);
      if (const int code = method_of_option(kRecursiveMenu, choice); code != 0) estimate_method(code);
      return;
    }
    case kRolling:
      while (true) {
        int choice = window > 0 ? 2 : 1;
        show_menu_table(kRollingMenu, choice);
        if (choice < 1 || choice > 3) return;
        if (choice == 1 || window <= 0) {
          const int length = ask_window(static_cast<int>(estimation().eqvarlist.size()) - 1, sample_size());
          if (length == 0) return;
          window = length;
        }
        if (choice == 1) continue;
        estimate_method(method_of_option(kRollingMenu.number, choice));
        return;
      }
    case kNonLinear: {
      int choice = m.nonlinear_default;
      NONLINESTMENU(choice);
      if (choice == 1) {
        next_step = 9;
        repeat = true;
      } else if (choice == 2 || choice == 3) {
        m.nonlinear_default = estimate_method(method_of_option(kNonLinearMenu, choice)) ? 1 : 0;
      }
      return;
    }
    case kFullyModified: {
      const int intercept = intercept_variable();
      if (intercept == 0) return;
      const InterceptInserted inserted(intercept);
      estimate_method(method::kPhillipsHansen);
      return;
    }
    case kArdl:
      if (ardl_variables_valid(trailing)) ARDLSELECT(trailing);
      return;
    case kLogitProbit:
      LOGITPROBIT();
      return;
    default:
      return;
  }
}

}  // namespace qorv::road
