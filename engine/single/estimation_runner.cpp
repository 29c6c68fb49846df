#include "engine/single/estimation_runner.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/initial_values.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/workspace.h"
#include "engine/single/error_models.h"
#include "engine/single/estimation_state.h"
#include "engine/single/iteration_limit.h"
#include "engine/single/least_squares.h"
#include "engine/single/recursive_rolling_menus.h"
#include "engine/tests/post_regression.h"
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

int linear_menu_code(int option) {
  switch (option) {
    case 1: return method::kOls;
    case 2: return method::kIv;
    case 3: return method::kExactAr1;
    case 4: return method::kCochraneOrcutt;
    case 5: return method::kGaussNewtonAr;
    case 6: return method::kIvAr;
    case 7: return method::kMa;
    case 8: return method::kIvMa;
    case 9: return method::kGarch;
    default: return 0;
  }
}

std::string method_name(int code) {
  switch (code) {
    case method::kOls: return "Ordinary least squares";
    case method::kIv: return "Instrumental variable estimation";
    case method::kExactAr1:
    case method::kExactAr2: return "Exact maximum likelihood estimation of AR errors";
    case method::kCochraneOrcutt: return "Cochrane-Orcutt estimation of AR errors";
    case method::kGaussNewtonAr:
    case method::kGaussNewtonArGaps: return "Gauss-Newton estimation of AR errors";
    case method::kIvAr:
    case method::kIvArGaps: return "IV estimation with AR errors";
    case method::kMa:
    case method::kMaGaps: return "Estimation with MA errors";
    case method::kIvMa:
    case method::kIvMaGaps: return "IV estimation with MA errors";
    case method::kNls: return "Non-linear least squares";
    case method::kNl2sls: return "Non-linear two-stage least squares";
    case method::kRollingOls: return "Rolling least squares";
    case method::kRolling2sls: return "Rolling two-stage least squares";
    case method::kRecursiveOls: return "Recursive least squares";
    case method::kRecursive2sls: return "Recursive two-stage least squares";
    case method::kGarch: return "GARCH estimation";
    case method::kArdlEcm:
    case method::kArdl:
    case method::kArdlLongRun: return "ARDL estimation";
    case method::kPhillipsHansen: return "Fully modified Phillips-Hansen estimation";
    case method::kSure:
    case method::kRestrictedSure: return "SURE estimation";
    case method::kLogit:
    case method::kProbit: return "Logit and probit estimation";
    default: return "This estimation method";
  }
}

bool method_available(int code) {
  switch (code) {
    case method::kOls: case method::kIv: case method::kCochraneOrcutt: case method::kExactAr1:
    case method::kExactAr2: case method::kGaussNewtonAr: case method::kGaussNewtonArGaps: case method::kIvAr:
    case method::kIvArGaps: case method::kMa: case method::kMaGaps: case method::kIvMa: case method::kIvMaGaps:
    case method::kRollingOls: case method::kRolling2sls:
    case method::kRecursiveOls: case method::kRecursive2sls:
      return true;
    default:
      return false;
  }
}

void refuse_method(int code) {
  core::SHOWOK(core::kInformation, core::kNoHelp, method_name(code) + " is not available in this version of Zelvorin.");
}

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
        const bool ma = s.method >= method::kMa && s.method <= method::kIvMaGaps;
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

/// Runs the AR or MA estimator of the current method code. The AR estimators show the
/// iteration-limit dialogue only when the run is interactive; the optimiser always does.
ErrorModelOutcome estimate_error_model(bool interactive) {
  auto& s = estimation();
  const auto dialogue = [](bool permitted) {
    return LimitHandler([permitted](int& limit, bool& abandon, bool& print) {
      ITERATIONLIMIT(limit, permitted, abandon, print);
    });
  };
  switch (s.method) {
    case method::kExactAr1: case method::kExactAr2: return ESTIMATEAREXACT(interactive, dialogue(interactive));
    case method::kMa: case method::kMaGaps: case method::kIvMa: case method::kIvMaGaps:
      return ESTIMATEMA(dialogue(true));
    default: return ESTIMATEARITERATIVE(dialogue(interactive));
  }
}

/// The status of an AR or MA estimate, after the message that explains a failure.
int error_model_status(ErrorModelOutcome outcome, bool interactive) {
  const auto& s = estimation();
  switch (outcome) {
    case ErrorModelOutcome::kEstimated: return status::kEstimated;
    case ErrorModelOutcome::kFirstStepFailed:
      if (!interactive) break;
      if (s.method == method::kCochraneOrcutt && s.user_initial_values) break;
      if (s.method == method::kCochraneOrcutt || s.method == method::kGaussNewtonAr ||
          s.method == method::kGaussNewtonArGaps)
        core::SHOWMSGFILE(core::msg::kArFirstStepFailed);
      else if (s.method == method::kIvMa || s.method == method::kIvMaGaps)
        core::SHOWMSGFILE(core::msg::kSingularInstruments);
      else if (!is_iv_method(s.method))
        core::SHOWMSGFILE(core::msg::kSingularMatrix);
      break;
    case ErrorModelOutcome::kStepFailed:
      if (interactive && !is_iv_method(s.method)) core::SHOWMSGFILE(core::msg::kArIterationFailed);
      break;
    case ErrorModelOutcome::kNoMaStart: core::SHOWMSGFILE(core::msg::kMaStartFailed); break;
    case ErrorModelOutcome::kNotPositiveDefinite:
      core::SHOWOK(core::kError, core::kNoHelp, "The variance-covariance matrix of estimates is notpositive definite!");
      break;
    case ErrorModelOutcome::kShortOfMemory: core::DISKSPACEMESSAGE(); break;
    case ErrorModelOutcome::kFailed: break;
  }
  return status::kFailed;
}

/// Runs the estimator of the current method code and refuses a perfect fit of a method
/// other than OLS.
void estimate(bool interactive) {
  auto& s = estimation();
  switch (s.method) {
    case method::kOls: {
      double mean_square = 0.0, loglik = 0.0;
      RESIDUALSUMMARY(mean_square, loglik, interactive);
      s.stage_loglik[0] = s.loglik;
      break;
    }
    case method::kIv:
      LSQCORE(interactive);
      break;
    case method::kCochraneOrcutt: case method::kExactAr1: case method::kExactAr2: case method::kGaussNewtonAr:
    case method::kGaussNewtonArGaps: case method::kIvAr: case method::kIvArGaps: case method::kMa: case method::kMaGaps:
    case method::kIvMa: case method::kIvMaGaps:
      s.status = error_model_status(estimate_error_model(interactive), interactive);
      break;
    default:
      refuse_method(s.method);
      s.status = status::kFailed;
      return;
  }
  if (s.status != status::kEstimated) return;
  if (s.method != method::kOls && s.loglik == limits::kMissing) {
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
    // Recursive and rolling regressions run their own result menus; no post-regression.
    if (s.method == method::kRecursiveOls || s.method == method::kRecursive2sls) {
      RECURSIVEMENU();
      return;
    }
    if (s.method == method::kRollingOls || s.method == method::kRolling2sls) {
      ROLLINGPLOTS(core::driver_state().window);
      return;
    }
    const bool has_lags = !s.arma_lags.empty() && s.method != method::kExactAr1;
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
    if (s.status == status::kEstimated) break;
    if (!has_lags) return;
  }
  diag::POSTREGRESSION();
}

}  // namespace qorv::single
