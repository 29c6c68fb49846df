// The services of a request that this version does not have yet. Each tells the user so
// plainly and returns as a cancelled step would, so the request goes back to its menu.
#include <string>
#include <string_view>

#include "engine/core/dialog_bridge.h"
#include "engine/road/pending_services.h"

namespace qorv::road {

using namespace core;

namespace {

void not_available(std::string_view what) {
  SHOWOK(kInformation, kNoHelp, std::string(what) + " is not available in this version of Zelvorin.");
}

}  // namespace

void SYSTEMESTIMATE(int, int& next_step) {
  not_available("Estimation of VAR and cointegrating VAR models");
  next_step = 0;
}

bool SUREESTIMATE(int) {
  not_available("SURE estimation");
  return false;
}

}  // namespace qorv::road
