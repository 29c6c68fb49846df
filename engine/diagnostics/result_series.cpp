#include "engine/diagnostics/result_series.h"

#include <algorithm>
#include <string_view>

#include "engine/core/dialog_bridge.h"
#include "engine/core/new_names.h"
#include "engine/core/workspace.h"
#include "engine/data/dummy_variables.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"

namespace qorv::diagnostics {

namespace {

constexpr std::string_view kPromptHead = "Name and optional description for saved";
constexpr int kAnswerWidth = 120;  ///< a name, a blank and an 80-character description, with room

/// Whether one more variable fits the workspace.
bool room_for_one_more() {
  const core::Globals& g = core::globals();
  return g.nvars < std::min(g.max_vars, limits::kMaxVars) &&
         static_cast<long>(g.nvars + 1) * g.nobs <= limits::kCapacity;
}

}  // namespace

std::string series_kind_text(int kind) {
  switch (kind) {
    case 0: return "fitted values and/or forecasts:";
    case 1: return "residuals:";
    case 2: return "fitted values:";
    case 3: return "recursive coefficient:";
    case 4: return "S.E. of recursive coefficient:";
    case 5: return "S.E.'s of recursive regressions:";
    case 6: return "recursive residuals:";
    case 7:
    case 8: return "recursive predictions:";
    case 107:
    case 108: return "S.E.'s of recursive predictions:";
    case 9: return "adaptive coefficients:";
    case 10: return "leverage measures:";
    case 11: return "rolling coefficients:";
    case 12: return "standard errors of coefficients:";
    case 13: return "standard errors of regressions:";
    case 14: return "conditional standard errors of GARCH:";
    default: break;
  }
  std::string number = std::to_string(kind - 14);
  if (number.size() < 3) number.insert(0, 3 - number.size(), ' ');
  return "cointegraing relation" + number;
}

std::string series_prompt(int kind) { return std::string(kPromptHead) + " " + series_kind_text(kind); }

int SAVERESULTSERIES(std::span<const double> series, int kind, int extra) {
  const auto& s = single::estimation();
  core::Globals& g = core::globals();
  const int first = g.sample_start - 1;  // observations before the estimation sample
  const long covered = static_cast<long>(s.nused) + std::max(extra, 0);
  if (s.nused < 1 || first < 0 || first >= g.nobs || static_cast<long>(series.size()) < covered) return 0;

  const std::string prompt = series_prompt(kind);
  core::SeriesName chosen;
  for (;;) {
    std::string answer = " ";
    int status = core::kDialogOk;
    core::ASKSTRING(core::kNoHelp, status, prompt, answer, kAnswerWidth);
    if (status != core::kDialogOk) answer = "Q";
    const int outcome = core::ASKSERIESNAME(answer, s.method, s.eqvarnames, s.instrnames, chosen);
    if (outcome == core::kSeriesNameGiveUp) return 0;
    if (outcome == core::kSeriesNameAccepted) break;
  }

  int j = chosen.position;
  if (j == 0) {
    if (!room_for_one_more()) {
      core::SHOWOK(core::kInformation, core::kNoHelp, data::dummy_messages::kNoRoom);
      return 0;
    }
    j = ++g.nvars;
  }
  core::set_variable(j, chosen.name, chosen.description);  // also clears a temporary mark
  const long last = std::min<long>(first + covered, g.nobs);
  for (int t = 1; t <= g.nobs; ++t) {
    const bool inside = t > first && t <= last;
    core::data_at(t, j) = inside ? series[static_cast<std::size_t>(t - first - 1)] : limits::kMissing;
  }
  return j;
}

}  // namespace qorv::diagnostics
