#include "engine/single/estimation_runner.h"

#include <charconv>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/workspace.h"
#include "engine/single/error_models.h"
#include "engine/single/estimation_state.h"
#include "engine/single/iteration_limit.h"

namespace qorv::single {

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

bool start_estimate() {
  auto& s = estimation();
  auto& g = core::globals();
  begin_estimate(s.method);
  g.adjusted_variance_kind = 0;
  g.truncation_lag = 0;
  if (load_sample()) return true;
  s.status = status::kFailed;
  return false;
}

EstimateOutcome estimate_equation(bool interactive) {
  auto& s = estimation();
  const MethodRow& row = method_row(s.method);
  if (row.estimate == nullptr) {
    s.status = status::kFailed;
    return EstimateOutcome::kNotAvailable;
  }
  row.estimate(interactive);
  if (s.status != status::kEstimated) return EstimateOutcome::kFailed;
  if (row.refuses_exact_fit && s.loglik == limits::kMissing) {
    s.status = status::kFailed;
    return EstimateOutcome::kExactFit;
  }
  return EstimateOutcome::kEstimated;
}

namespace {

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
      else if (!method_row(s.method).iv_fit)
        core::SHOWMSGFILE(core::msg::kSingularMatrix);
      break;
    case ErrorModelOutcome::kStepFailed:
      if (interactive && !method_row(s.method).iv_fit) core::SHOWMSGFILE(core::msg::kArIterationFailed);
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

}  // namespace

void estimate_error_model_method(bool interactive) {
  estimation().status = error_model_status(estimate_error_model(interactive), interactive);
}

}  // namespace qorv::single
