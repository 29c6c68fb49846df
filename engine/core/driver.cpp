// DRIVER: the engine's single entry for work.
#include "engine/core/workspace.h"
#include "shared/qorv_api.h"

namespace {

using namespace qorv::core;

/// Work done on every entry: the plots-kept half of slot 29 and the equation-box words
/// are cleared.
void entry_work() {
  const int32_t counters = slot(slots::kPlotCounters);
  set_slot(slots::kPlotCounters, slots::make_plot_counters(0, slots::running_plot_number(counters)));
  set_slot(slots::kEquationBoxRequest, 0);
  set_slot(slots::kEquationBoxDone, 0);
}

/// First-request initialisation: the workspace layout, limits and data-set words.
void first_request() {
  Globals& g = globals();
  if (g.workspace_set) return;
  set_workspace();
  g.nobs = slot(slots::kNumObservations) > 0 ? slot(slots::kNumObservations) : 0;
  g.frequency = slot(slots::kFrequency);
  g.max_vars = limits::max_vars_for(g.nobs);
}

}  // namespace

extern "C" void DRIVER(int16_t* request) {
  if (request == nullptr) return;
  try {
    entry_work();
    first_request();
    switch (*request) {
      case 1: *request = -1; break;  // no data-input road yet
      case 3: *request = static_cast<int16_t>(slots::plots_kept(slot(slots::kPlotCounters))); break;
      default: break;
    }
  } catch (...) {
    *request = *request == 1 ? -1 : 0;
  }
}
