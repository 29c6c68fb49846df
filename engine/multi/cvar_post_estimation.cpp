#include "engine/multi/cvar_post_estimation.h"

#include <string>

#include "engine/core/dialog_bridge.h"

namespace qorv::multi {

namespace {

void not_available(const std::string& what) {
  core::SHOWOK(core::kInformation, core::kNoHelp, what + " is not available in this version of Zelvorin.");
}

}  // namespace

void cvar_error_correction(CvarSession&) { not_available("Display of error correction equations"); }

void cvar_dynamic_option(CvarSession&, int) { not_available("This analysis of the cointegrating VAR"); }

void cvar_forecast(CvarSession&) { not_available("Forecasting from the cointegrating VAR"); }

bool cvar_restricted_option(CvarSession&, int) {
  not_available("Estimation of restricted cointegrating vectors");
  return false;
}

void cvar_restricted_display(CvarSession&) { not_available("Display of restricted cointegrating vectors"); }

}  // namespace qorv::multi
