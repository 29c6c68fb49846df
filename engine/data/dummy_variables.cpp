#include "engine/data/dummy_variables.h"

#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/new_names.h"
#include "engine/core/var_lists.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/obs_calendar.h"

namespace qorv::data {

namespace {

constexpr int kDummyMenu = 1012;
constexpr int kMaxPeriodicity = 100;

/// The names of the workspace's variables.
std::vector<std::string> workspace_names() {
  std::vector<std::string> out;
  for (int j = 1; j <= core::globals().nvars; ++j) out.push_back(core::variable_name(j));
  return out;
}

/// Appends a variable holding `values` (NOBS of them).
void append_variable(const std::string& name, const std::string& desc, const double* values) {
  core::Globals& g = core::globals();
  const int j = ++g.nvars;
  core::set_variable(j, name, desc);
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = values[t - 1];
}

/// The constant or the time trend.
void constant_or_trend(int action) {
  const core::Globals& g = core::globals();
  if (g.nvars >= g.max_vars) {
    core::SHOWOK(core::kInformation, core::kNoHelp, dummy_messages::kNoRoom);
    return;
  }
  std::vector<std::string> names = workspace_names();
  const std::size_t before = names.size();
  for (;;) {
    const core::NewNameOutcome outcome = core::ASKNEWVARNAME(
        names, action == kConstant ? dummy_messages::kConstantPrompt : dummy_messages::kTrendPrompt);
    if (outcome == core::NewNameOutcome::kCancelled) return;
    if (outcome == core::NewNameOutcome::kAdded) break;
  }
  std::vector<double> values(static_cast<std::size_t>(g.nobs));
  for (int t = 1; t <= g.nobs; ++t) values[static_cast<std::size_t>(t - 1)] = action == kConstant ? 1.0 : t;
  append_variable(names[before], action == kConstant ? "Intercept term" : "Time trend", values.data());
}

/// The periodicity of seasonal dummies; 0 when the question was cancelled.
int periodicity() {
  const core::Globals& g = core::globals();
  if (g.frequency >= obs_calendar::kHalfYearly) return obs_calendar::periods_per_year(g.frequency);
  for (;;) {
    int p = 0;
    int status = 0;  // with a Cancel button
    core::ASKINTEGER(core::kNoHelp, p, status, dummy_messages::kPeriodicityPrompt);
    if (status != core::kDialogOk) return 0;
    if (p >= 2 && p <= kMaxPeriodicity) return p;
    core::BEEP();
  }
}

/// Asks the names of `count` dummies, proposed as prefix + number; empty on cancel.
std::vector<std::string> ask_dummy_names(int action, int count) {
  const std::string prefix = action == kSeasonal ? "S" : action == kCentredSeasonal ? "SC" : "SR";
  std::string proposed;
  for (int j = 1; j <= count; ++j) proposed += (j > 1 ? " " : "") + prefix + std::to_string(j);
  const int width = static_cast<int>(proposed.size()) + charset::kSpecLineWidth;
  for (;;) {
    std::string answer = proposed;
    int status = core::kDialogOk;
    core::ASKSTRING(core::kNoHelp, status, dummy_messages::kNamesPrompt, answer, width);
    if (status != core::kDialogOk) return {};
    std::vector<std::string> names = workspace_names();
    const std::size_t before = names.size();
    if (!core::CHECKNEWNAMES(fixed_text::trim(answer), names, count))
      return std::vector<std::string>(names.begin() + static_cast<long>(before), names.end());
    proposed = std::string(fixed_text::trim(answer));
  }
}

/// Seasonal dummies of `action` (3, 4 or 5). False when the periodicity was cancelled.
bool seasonal(int action) {
  const int p = periodicity();
  if (p == 0) return false;
  const core::Globals& g = core::globals();
  const int count = action == kRelativeSeasonal ? p - 1 : p;
  if (g.max_vars - g.nvars < count) {
    core::SHOWOK(core::kInformation, core::kNoHelp,
                 std::string(dummy_messages::kSeasonalNoRoom) + " " + std::to_string(count + g.nvars - g.max_vars) +
                     " " + std::string(dummy_messages::kSeasonalNoRoomEnd));
    return true;
  }
  const std::vector<std::string> names = ask_dummy_names(action, count);
  if (names.empty()) return true;
  const int first_season = g.frequency >= obs_calendar::kHalfYearly ? g.start_period : 1;
  const std::vector<double> values = seasonal_dummies(action, p, first_season, g.nobs);
  const std::string desc = action == kSeasonal          ? "Seasonal dummy variable "
                           : action == kCentredSeasonal ? "Centered seasonal dummy variable "
                                                        : "Relative seasonal dummy variable ";
  for (int j = 1; j <= count; ++j)
    append_variable(names[static_cast<std::size_t>(j - 1)], desc + std::to_string(j),
                    values.data() + static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(g.nobs));
  return true;
}

/// Runs one action; false when the user left the menu from within it.
bool run(int action) {
  switch (action) {
    case kConstant:
    case kTimeTrend:
      constant_or_trend(action);
      return true;
    case kSeasonal:
    case kCentredSeasonal:
    case kRelativeSeasonal:
      return seasonal(action);
    default:
      return false;
  }
}

}  // namespace

std::vector<double> seasonal_dummies(int action, int p, int first_season, int nobs) {
  const int count = action == kRelativeSeasonal ? p - 1 : p;
  const double u = action == kCentredSeasonal ? 1.0 / p : 0.0;
  std::vector<double> values(static_cast<std::size_t>(count) * static_cast<std::size_t>(nobs));
  for (int t = 1; t <= nobs; ++t) {
    const int season = (first_season - 1 + t - 1) % p + 1;
    for (int j = 1; j <= count; ++j) {
      double v = (season == j ? 1.0 : 0.0) - u;
      if (action == kRelativeSeasonal && season == p) v = -1.0;
      values[static_cast<std::size_t>(j - 1) * nobs + static_cast<std::size_t>(t - 1)] = v;
    }
  }
  return values;
}

void DUMMYVARS() {
  if (core::slot(slots::kToolbarFunction) != slots::kUnset) {
    run(core::take_preset(slots::kToolbarFunction));
    return;
  }
  const core::MenuTable& menu = *core::find_menu_table(kDummyMenu);
  for (;;) {
    int choice = kDummyBack;
    core::show_menu_table(menu, choice);
    if (!run(choice)) return;
  }
}

}  // namespace qorv::data
