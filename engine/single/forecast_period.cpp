#include "engine/single/forecast_period.h"

#include <optional>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/obs_label.h"
#include "engine/core/sample_period.h"
#include "engine/core/workspace.h"
#include "engine/data/observation_scans.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::single {

namespace {

/// Width of the answer: a date label.
constexpr int kLabelAnswerWidth = 14;

/// The label of observation t as a prompt shows it.
std::string prompt_label(int t) { return core::plain_label(core::OBSLABEL(t)); }

}  // namespace

bool FORECASTPERIOD(int last_available, int first, int& final_observation, std::span<const int> regressors,
                    int mode, RefusalSpacing spacing) {
  if (first > last_available || first < 1) {
    core::SHOWMESSAGE("No observation is available for forecasting!");
    return true;
  }
  const std::string prompt = "Initial observation in the forecast period is: " + prompt_label(first) +
                             " Final observation for the forecast period (Max " + prompt_label(last_available) +
                             ")?";
  int last = 0;
  while (true) {
    std::string answer = " ";
    int status = core::kDialogOk;
    core::ASKSTRING(core::kNoHelp, status, prompt, answer, kLabelAnswerWidth);
    if (status != core::kDialogOk) return true;
    const std::string_view typed = fixed_text::trim(answer);
    if (typed.empty()) {
      last = last_available;
      break;
    }
    const std::optional<long> t = obs_calendar::observation_of(typed, core::current_data_start());
    if (t && *t >= first && *t <= last_available) {
      last = static_cast<int>(*t);
      break;
    }
    core::BEEP();
  }
  if (mode != kPeriodOnly) {
    if (const auto at = data::FINDVALUEVAR(regressors, first, last, limits::kMissing)) {
      const int variable = regressors[static_cast<size_t>(at->list_position - 1)];
      core::SHOWMESSAGE(core::variable_name(variable) + " is not defined at observation " +
                        prompt_label(at->observation) + (spacing == RefusalSpacing::kBlankApart ? " " : "") +
                        ", can't forecast!");
      return true;
    }
  }
  final_observation = last;
  return false;
}

}  // namespace qorv::single
