// The steps of the estimation loop around the estimators: the regressor check, the
// predictive-failure question, the next-state decision and the observation limit.
#include <algorithm>
#include <string>

#include "engine/core/availability.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/road/equation_spec.h"
#include "engine/road/request_road.h"
#include "engine/road/run_estimation.h"
#include "shared/fixed_text.h"

namespace qorv::road {

using namespace core;

namespace {

/// Observations an estimation may keep back for the predictive-failure tests.
constexpr int kMaxKeptBack = 500;
/// Observations an estimation sample may span (twice the half bound).
constexpr int kObservationBound = 3000;

}  // namespace

int observation_limit(int regressors) {
  const int k = std::max(1, regressors);
  return std::min(kObservationBound, (area::kEstimationEnd - area::kEstimation) / k);
}

std::string limit_message(int limit) { return limit_text("Too many observations/variables (>", limit); }

void CHECKREGRESSORS() {
  DriverState& d = driver_state();
  d.regressor_count = 0;
  int code = 0;
  int sub_kind = 0;
  if (d.action == kSystemEstimation) {
    code = 17;
    sub_kind = d.system_kind;
  } else if (d.single_kind == kArdl) {
    code = 17;
  } else if (d.single_kind == kFullyModified) {
    code = 81;
  } else if (d.single_kind == kLogitProbit) {
    code = 92;
  }
  const EquationSpec spec = specify_equation(code, sub_kind);
  bool refused = spec.cancelled;
  if (!refused) {
    d.equation = spec.variables;
    d.after_ampersand = spec.after_ampersand;
    d.regressor_count = std::max(0, static_cast<int>(spec.variables.size()) - 1);
    if (code == 81 && d.regressor_count == limits::kMaxRegressors) {
      SHOWOK(kInformation, kNoHelp, " Too many regressors! Delete at least one. ");
      refused = true;
    }
  }
  if (refused) {
    d.next_step = 8;
    d.cancelled = true;
  }
}

void ASKPREDFAIL() {
  DriverState& d = driver_state();
  const Globals& g = globals();
  if (d.single_kind != kLinearRegression || d.action != kSingleEquation) return;
  const int previous = d.predictive_failure;
  d.predictive_failure = 0;
  // Usable observations after the sample, within the estimation bound and 500.
  const int room = std::min(kObservationBound - (g.sample_end - g.sample_start + 1), kMaxKeptBack);
  int m = 0;
  for (int t = g.sample_end + 1; t <= g.nobs && m < room; ++t) {
    if (d.marks[static_cast<std::size_t>(t - 1)] != kAllPresent) break;
    ++m;
  }
  const int32_t preset = slot(slots::kMethodPreset);
  if (m <= 0 || (preset != slots::kUnset && preset != 1)) return;
  if (d.keep_sample) {
    d.predictive_failure = std::min(previous, m);
    return;
  }
  const int n = g.sample_end - g.sample_start + 1;
  const std::string_view question = n < m ? "Predictive Failure test. (Can be zero, maximum "
                                           : "Predictive Failure/Structural Stability test(s). (Can be zero, maximum";
  const std::string prompt = "Specify the number of observations to be used in: " +
                             std::string(fixed_text::trim_right(question)) + " " + std::to_string(m) + ")?";
  while (true) {
    int value = 0;
    int status = kDialogOk;  // the question must be answered
    ASKINTEGER(kNoHelp, value, status, prompt);
    if (status == kDialogOk && value >= 0 && value <= m) {
      d.predictive_failure = value;
      return;
    }
    BEEP();
  }
}

void NEXTSTATE() {
  DriverState& d = driver_state();
  const int step = d.next_step;
  d.keep_equation = step == 9 ? 2 : (step == 2 || step == 3) ? 1 : 0;
  if (step == 1 || step > 3) delete_temporaries();
  switch (step) {
    case 1:
      d.loop_code = 1;
      break;
    case 2: case 3: case 9:
      d.loop_code = 2;
      break;
    case 4:
      d.loop_code = 2;
      d.keep_equation = 0;
      break;
    case 5:
      d.loop_code = 2;
      d.keep_equation = 0;
      d.predictive_failure = 0;
      break;
    case 6:
      d.next_step = 2;
      d.loop_code = 1;
      break;
    case 7: case 8:
      d.loop_code = 1;
      break;
    default:
      d.loop_code = 0;
      break;
  }
}

}  // namespace qorv::road
