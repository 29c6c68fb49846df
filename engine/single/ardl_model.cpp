#include "engine/single/ardl_model.h"

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"

namespace qorv::single {

namespace {

ArdlChoice& state() {
  static ArdlChoice c;
  return c;
}

void reset_choice() { state() = ArdlChoice{}; }

const core::ResetRegistration kReset{reset_choice};

}  // namespace

ArdlChoice& ardl_choice() { return state(); }

std::string ardl_title_line() {
  static constexpr const char* kNames[] = {"R-BAR Squared", "Akaike Information", "Schwarz Bayesian", "Hannan-Quinn"};
  const ArdlChoice& c = state();
  std::string line = "ARDL(";
  for (size_t i = 0; i < c.orders.size(); ++i) line += (i > 0 ? "," : "") + std::to_string(c.orders[i]);
  line += ") selected";
  if (c.criterion >= 1 && c.criterion < kOrdersGiven) line += std::string(" based on ") + kNames[c.criterion - 1] + " Criterion";
  return line;
}

void estimate_ardl(bool interactive) { estimate_ols(interactive); }

void estimate_ardl_long_run(bool interactive) {
  auto& s = estimation();
  const ArdlChoice& c = state();
  s.lr_multiplier = c.lr_multiplier;
  core::globals().ardl_long_run_count =
      c.orders.empty() ? 0 : static_cast<int>(c.orders.size()) - 1 + c.deterministic;
  LSQCORE(interactive);
}

}  // namespace qorv::single
