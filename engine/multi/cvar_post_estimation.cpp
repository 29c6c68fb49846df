#include "engine/multi/cvar_post_estimation.h"

#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/multi/cvar_impulse.h"
#include "engine/multi/ecm_results.h"

namespace qorv::multi {

namespace {

void not_available(const std::string& what) {
  core::SHOWOK(core::kInformation, core::kNoHelp, what + " is not available in this version of Zelvorin.");
}

}  // namespace

void cvar_error_correction(CvarSession& session) { ECMRESULTS(session); }

void cvar_dynamic_option(CvarSession& session, int option) { CVARIMPULSE(session, option); }

void cvar_forecast(CvarSession& session) { cvar_dynamic_forecasts(session); }

bool cvar_restricted_option(CvarSession&, int) {
  not_available("Estimation of restricted cointegrating vectors");
  return false;
}

void cvar_restricted_display(CvarSession&) { not_available("Display of restricted cointegrating vectors"); }

}  // namespace qorv::multi
