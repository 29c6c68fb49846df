#include "engine/multi/cvar_driver.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/availability.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/report_lines.h"
#include "engine/core/vector_checks.h"
#include "engine/core/workspace.h"
#include "engine/data/observation_scans.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/multi/cointegration_rank.h"
#include "engine/multi/cvar_menus.h"
#include "engine/multi/johansen_results.h"
#include "engine/multi/workspace_view.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

/// Whether variable `v` is a constant or a trend (equal, non-zero steps) over start..end.
bool deterministic_over(int v, int start, int end) {
  if (start < 1 || end < start) return false;
  std::vector<double> values;
  for (int t = start; t <= end; ++t) values.push_back(core::data_at(t, v));
  const int n = static_cast<int>(values.size());
  if (core::ISCONSTVECTOR(values, 0, n)) return true;
  if (n < 2) return false;
  const double step = values[1] - values[0];
  if (step == 0.0) return false;
  for (int t = 2; t < n; ++t)
    if (values[static_cast<std::size_t>(t)] - values[static_cast<std::size_t>(t - 1)] != step) return false;
  return true;
}

/// " A maximum of N KIND variables allowed in this version!" when `count` is above `most`.
bool within_limit(int count, int most, const char* kind, bool as_error_box) {
  if (count <= most) return true;
  std::string text = " A maximum of";
  text.resize(core::kMessageWidth, ' ');
  core::APPENDINTEGER(text, 1, most);
  core::APPENDTEXT(text, 1, kind);
  core::APPENDTEXT(text, 1, "variables allowed in this version!");
  if (as_error_box) {
    core::SHOWOK(core::kError, core::kNoHelp, text);
  } else {
    core::SHOWMESSAGE(text);
  }
  return false;
}

/// The deterministic case: slot 19 once, else menu 1025; 0 when the user leaves. A preset
/// of 0 leaves as the menu's option 0 does.
int ask_case() {
  const int32_t preset = core::take_preset(slots::kVarOptionPreset);
  if (preset >= 0 && preset <= kLastCase) return preset;
  const core::MenuTable menu{1025, 0, 0, "Choice of VAR Model in Cointegration Analysis",
                             {"Move to Backtracking Menu", "No intercepts or trends included in VAR model",
                              "Restricted intercepts and no trends in VAR model",
                              "Unrestricted intercepts and no trends in VAR model",
                              "Unrestricted intercepts and restricted trends in VAR model",
                              "Unrestricted intercepts and unrestricted trends in VAR model"}};
  int choice = 4;
  return core::show_menu_table(menu, choice);
}

/// The order: slot 18 once, else asked (Cancel leaves); 0 when the user leaves. An accepted
/// order is kept in `order_word` and slot 27.
int ask_order(int pmax, int& order_word) {
  int32_t preset = core::take_preset(slots::kVarOrderPreset);
  std::string prompt = " Order of the VAR model (At most";
  prompt.resize(core::kMessageWidth, ' ');
  core::APPENDINTEGER(prompt, 1, pmax);
  core::APPENDTEXT(prompt, 0, ", zero to quit) ?");
  prompt = std::string(fixed_text::trim_right(prompt));
  while (true) {
    int value = preset;
    int status = core::kDialogOk;
    if (preset == slots::kUnset) {
      value = order_word >= 1 && order_word <= pmax ? order_word : 1;
      status = 0;
      core::ASKINTEGER(core::kNoHelp, value, status, prompt);
    }
    preset = slots::kUnset;
    if (status != core::kDialogOk) return 0;
    if (value >= 0 && value <= pmax) {
      order_word = value;
      core::set_slot(slots::kVarOrderChosen, value);
      return value;
    }
    core::BEEP();
  }
}

/// The estimation sample of the session's list and order within the user's sample; false
/// after its refusal was shown.
bool estimation_sample(CvarSession& s) {
  const core::Globals& g = core::globals();
  const auto data = workspace_data().values;
  std::vector<int32_t> marks(static_cast<std::size_t>(g.nobs));
  const int count = static_cast<int>(s.list.size());
  int start = 1, end = g.nobs;
  core::MARKAVAILABLE(data, g.nobs, count, s.list, limits::kMissing, start, end, marks, 0);
  start = std::min(start + s.p, end + 1);
  if (start <= end) core::MARKAVAILABLE(data, g.nobs, count, s.list, limits::kMissing, start, end, marks, 0);
  start = std::max(g.sample_start, start);
  end = std::min(g.sample_end, end);
  if (start > end) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return false;
  }
  // The p initial values of the I(1) variables before the sample must be there too.
  const std::span<const int> levels(s.list.data(), static_cast<std::size_t>(s.m + s.e));
  if (!initial_values_present(levels, start, s.p) || !data::CHECKFLAGRUN(start, end, marks)) {
    core::SHOWMSGFILE(core::msg::kSampleGap);
    return false;
  }
  s.start = start;
  s.end = end;
  s.n = end - start + 1;
  s.first_offset = start - 1;
  if (s.n > kMaxCointObservations) {
    std::string text(core::kMessageWidth, ' ');
    core::APPENDTEXT(text, 1, "You have included too many observations. A maximum of");
    core::APPENDINTEGER(text, 1, kMaxCointObservations);
    core::APPENDTEXT(text, 1, "observations can be included.");
    core::APPENDTEXT(text, 1, " Try another option in the next menu.");
    core::SHOWOK(core::kError, core::kNoHelp, text);
    return false;
  }
  if (s.n <= (s.p - 1) * (s.m + s.e) + s.m + s.d + 2) {
    core::SHOWMSGFILE(core::msg::kSampleTooShort);
    return false;
  }
  return true;
}

/// The names of the session by role.
void name_session(CvarSession& s) {
  s.names.clear();
  for (int v : s.list) s.names.emplace_back(fixed_text::trim(core::variable_name(v)));
  const auto i1 = s.names.begin() + s.m + s.e;
  s.vector_names.assign(s.names.begin(), i1);
  if (s.model_case == 2) s.vector_names.emplace_back("Intercept");
  if (s.model_case == 4) s.vector_names.emplace_back("Trend");
  s.exogenous_names.assign(s.names.begin() + s.m, s.names.end());
}

}  // namespace

int max_coint_order(int m, int e, int d) {
  if (m + e < 1) return 0;
  return std::min(kMaxCointegratedOrder, (kCointRegressorLimit - d - m - 2) / (m + e) + 1);
}

void COINTDRIVER(std::span<const int> list, int d, int e, int& order_word, const SystemServices& services) {
  const int m = static_cast<int>(list.size()) - d - e;
  const core::Globals& g = core::globals();
  for (int v : list) {
    if (!deterministic_over(v, g.sample_start, g.sample_end)) continue;
    core::SHOWMESSAGE("Please do not include an intercept or a trend term!");
    core::driver_state().show_backtracking = false;
    return;
  }
  if (!within_limit(m, kMaxCointegratedI1, "I(1)", true)) return;
  if (!within_limit(d, kMaxCointegratedI0, "I(0)", true)) return;
  if (!within_limit(e, kMaxCointegratedExogenous, "exogenous I(1)", false)) return;
  if (m < 1 || d < 0 || e < 0) return;
  const int pmax = max_coint_order(m, e, d);

  CvarSession session;
  session.m = m;
  session.e = e;
  session.d = d;
  session.services = &services;
  session.list.assign(list.begin(), list.end());
  session.model_case = ask_case();
  if (session.model_case == 0) return;
  session.p = ask_order(pmax, order_word);
  if (session.p == 0) return;
  name_session(session);

  const diagnostics::SampleGuard guard;
  if (!estimation_sample(session)) return;
  core::globals().sample_start = session.start;
  core::globals().sample_end = session.end;
  if (!JOHANSENESTIMATE(workspace_data().values, g.nobs, session, kJohansenTolerance)) return;
  for (int i = 0; i < m; ++i) {
    if (1.0 - session.fit.eigenvalues[static_cast<std::size_t>(i)] > kJohansenTolerance) continue;
    core::SHOWOK(core::kError, core::kNoHelp,
                 "The Johansen ML procedure cannot be implemented. This may be due to lack of enou");
    return;
  }
  session.r = 0;
  use_johansen_vectors(session);
  write_rank_tables(session, kJohansenTolerance);
  cvar_post_estimation_menu(session, kJohansenTolerance);
}

}  // namespace qorv::multi
