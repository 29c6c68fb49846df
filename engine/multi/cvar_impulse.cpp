#include "engine/multi/cvar_impulse.h"

#include <algorithm>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/menu_system.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/system_headers.h"
#include "engine/core/workspace.h"
#include "engine/multi/dynamic_forecast.h"
#include "engine/multi/response_results.h"
#include "engine/multi/system_estimate.h"
#include "engine/single/forecast_period.h"
#include "shared/exchange_slots.h"

namespace qorv::multi {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kMaxForecasts = 500;
constexpr int kUndated = 1;
constexpr int kMonthly = 5;
constexpr int kLongHorizon = 150;
constexpr int kShortHorizon = 50;

std::size_t idx(int value) { return static_cast<std::size_t>(value); }

/// The model title, the cointegration header and, for restricted vectors, the restrictions.
void write_header(const CvarSession& s) {
  std::string title;
  core::SYSTEMMODELTITLE(title, s.model_case, kPage);
  core::COINTHEADER(s.header_args(), kPage, false);
  if (s.source == CvarVectorSource::kRestricted) {
    core::WRITELINE(" List of imposed restrictions:", kPage);
    core::PRINTTEXTBLOCK(core::driver_state().restriction_text);
  }
}

std::vector<std::string> endogenous_names(const CvarSession& s) {
  return std::vector<std::string>(s.names.begin(), s.names.begin() + s.m);
}

/// One of the m endogenous variables (from 1), 0 when the user left.
int ask_variable(const CvarSession& s, std::string_view title) {
  int chosen = 0;
  int status = 0;
  core::ASKONEOPTION(core::kNoHelp, status, chosen, title, endogenous_names(s));
  return status == core::kDialogOk ? chosen + 1 : 0;
}

void analysis(const CvarSession& s, int kind, int chosen) {
  const HorizonQuestion question = cvar_horizon_question(kind, core::globals().frequency);
  const int H = ask_horizon(question.head, question.offered);
  if (H == 0) return;
  EcmFit fit;
  if (!session_ecm(s, fit)) return;
  core::SHOWCALCULATING();
  ResponseReport report;
  const bool done = cvar_dynamic_response(fit, kind, std::max(chosen, 1), H, report.table);
  core::STOPCALC();
  if (!done) {
    core::SHOWOK(core::kInformation, core::kNoHelp, " An almost exact relationship between variables in the model exists!");
    return;
  }
  const bool relations = kind >= kOrthogonalCvResponses;
  const std::string name = chosen > 0 ? s.names[idx(chosen - 1)] : std::string();
  const bool orthogonal = kind == kOrthogonalResponses || kind == kOrthogonalDecomposition || kind == kOrthogonalCvResponses;
  if (kind == kPersistenceProfiles) {
    report.title = "Persistence Profile of the effect of a system-wide shock to CV'(s)";
  } else if (kind == kOrthogonalDecomposition || kind == kGeneralisedDecomposition) {
    report.title = std::string(orthogonal ? "Orthogonalized" : "Generalized") +
                   " Forecast Error Variance Decomposition for variable " + name;
  } else {
    report.title = std::string(orthogonal ? "Orthogonalized" : "Generalized") +
                   " Impulse Response(s) to one S.E. shock in the equation for " + name;
  }
  report.kind = kind;
  if (relations) {
    for (int i = 1; i <= s.r; ++i) report.labels.push_back("CV" + std::to_string(i));
  } else {
    report.labels = endogenous_names(s);
  }
  report.horizon = H;
  report.chosen = relations ? 1 : chosen;
  report.header = [&s] { write_header(s); };
  write_response_page(report);
  response_results_menu(report);
}

void covariance_listing(const CvarSession& s) {
  EcmFit fit;
  if (!session_ecm(s, fit)) return;
  std::vector<std::string> names = endogenous_names(s);
  int m = s.m;
  core::PRINTCOVMATRIX(kCointegratingMethod, [&s] { write_header(s); }, names, m, core::kSystemErrors, 6, 1.0, fit.sigma, m);
}

}  // namespace

bool session_ecm(const CvarSession& s, EcmFit& fit) {
  if (s.r >= 1 && s.vectors.size() == idx(s.k()) * idx(s.r) && fit_ecm(s.johansen_data(), s.r, s.vectors, fit))
    return true;
  core::SHOWOK(core::kError, core::kNoHelp, "Two or more CV's are collinear! Specify another set of restrictions.           ");
  return false;
}

HorizonQuestion cvar_horizon_question(int kind, int frequency) {
  HorizonQuestion q;
  if (kind == kOrthogonalDecomposition || kind == kGeneralisedDecomposition) {
    q.head = " Specify horizon for variance decomposition analysis";
  } else if (kind == kPersistenceProfiles) {
    q.head = " Specify profile length (Maximum";
  } else {
    q.head = " Specify horizon for impulse responses (Maximum";
  }
  q.offered = frequency == kMonthly || frequency == kUndated ? kLongHorizon : kShortHorizon;
  return q;
}

void CVARIMPULSE(const CvarSession& s, int option) {
  const bool restricted = s.source == CvarVectorSource::kRestricted;
  int choice = 1;
  switch (option) {
    case kVariableResponses:
    case kRelationResponses: {
      if (core::CVNORMMENU(choice, restricted) == 0) return;
      const int chosen = ask_variable(s, "Choose the equation to be shocked");
      if (chosen == 0) return;
      analysis(s, (option == kRelationResponses ? int{kOrthogonalCvResponses} : int{kOrthogonalResponses}) + choice - 1, chosen);
      return;
    }
    case kDecompositions: {
      if (core::VARDECMENU(choice, restricted) == 0) return;
      const int chosen = ask_variable(s, "Choose the variable");
      if (chosen == 0) return;
      analysis(s, kOrthogonalDecomposition + choice - 1, chosen);
      return;
    }
    case kProfiles: analysis(s, kPersistenceProfiles, 0); return;
    case kCovarianceListing: covariance_listing(s); return;
    default: return;
  }
}

void cvar_dynamic_forecasts(const CvarSession& s) {
  const int nobs = core::globals().nobs;
  int last = s.end;
  if (single::FORECASTPERIOD(std::min(nobs, s.end + kMaxForecasts), s.end + 1, last, {}, single::kPeriodOnly)) return;
  EcmFit fit;
  if (!session_ecm(s, fit)) return;
  const int h = last - s.end;
  // The levels block and the I(0) variables over the sample and the forecast period.
  std::vector<double> levels, stationary;
  for (int l = 0; l < s.m + s.e; ++l)
    for (int t = s.start - s.p; t <= last; ++t) levels.push_back(core::data_at(t, s.list[idx(l)]));
  for (int v = 0; v < s.d; ++v)
    for (int t = s.start; t <= last; ++t) stationary.push_back(core::data_at(t, s.list[idx(s.m + s.e + v)]));
  ForecastDisplay display;
  EcmForecastGap gap;
  if (!ecm_forecasts(fit, levels, stationary, h, limits::kMissing, display.predictions, gap)) {
    core::SHOWMESSAGE(" " + s.names[idx(s.m + gap.column - 1)] + " is not defined over the forecast period!");
    return;
  }
  display.names = endogenous_names(s);
  display.variables.assign(s.list.begin(), s.list.begin() + s.m);
  display.first = s.start;
  display.end = s.end;
  display.last = last;
  display.header = [&s] { write_header(s); };
  DYNFORECAST(display);
}

}  // namespace qorv::multi
