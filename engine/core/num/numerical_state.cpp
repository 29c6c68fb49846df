#include "engine/core/num/numerical_state.h"

#include "engine/core/engine_state.h"

namespace qorv::core {

namespace {
NumericalState g_numerical;
CurrentEstimation g_current;

void reset_numerical_state() {
  g_numerical = NumericalState{};
  g_current = CurrentEstimation{};
}

const ResetRegistration g_reset{reset_numerical_state};
}  // namespace

NumericalState& numerical_state() { return g_numerical; }
void clear_numerical_failure() { g_numerical.failure = 0; }
CurrentEstimation& current_estimation() { return g_current; }

}  // namespace qorv::core
