// DRIVER: the engine's single entry for work.
#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/data/data_input.h"
#include "engine/road/request_road.h"
#include "shared/qorv_api.h"

namespace {

using namespace qorv::core;

/// The command range becomes the whole data set.
void whole_command_range() {
  DriverState& d = driver_state();
  d.command_first = 1;
  d.command_last = globals().nobs;
}

/// The sample slots name the whole data set.
void whole_sample_slots() {
  set_slot(slots::kSampleEnd, globals().nobs);
  set_slot(slots::kSampleStart, 1);
}

/// Work done on every entry: the plots-kept half of slot 29, the equation-box words and
/// the abort flag are cleared.
void entry_work() {
  const int32_t counters = slot(slots::kPlotCounters);
  set_slot(slots::kPlotCounters, slots::make_plot_counters(0, slots::running_plot_number(counters)));
  set_slot(slots::kEquationBoxRequest, 0);
  set_slot(slots::kEquationBoxDone, 0);
  driver_state().abort = false;
}

/// First-request initialisation: the workspace layout, limits and data-set words, and the
/// estimation services' option words (in the driver's state, at their load-time values).
void first_request() {
  Globals& g = globals();
  if (g.workspace_set) return;
  set_workspace();
  g.sample_start = 0;
  g.sample_end = 0;
  g.nobs = slot(slots::kNumObservations) > 0 ? slot(slots::kNumObservations) : 0;
  g.frequency = slot(slots::kFrequency);
  g.max_vars = limits::max_vars_for(g.nobs);
  whole_sample_slots();
  whole_command_range();
}

/// Request 1: read or define a data set. The result is the data input's status.
int16_t load_data() {
  int next_step = 0;
  qorv::data::DATAINPUTMENU(next_step);
  whole_command_range();
  driver_state().data_loaded = true;
  whole_sample_slots();
  driver_state().new_data = true;
  return static_cast<int16_t>(next_step);
}

}  // namespace

extern "C" void DRIVER(int16_t* request) {
  if (request == nullptr) return;
  const int16_t code = *request;
  try {
    entry_work();
    first_request();
    if (code != 3) whole_command_range();
    switch (code) {
      case 1: *request = load_data(); break;
      case 3: *request = static_cast<int16_t>(qorv::road::run_request()); break;
      default: break;
    }
  } catch (...) {
    *request = code == 1 ? -1 : static_cast<int16_t>(slots::plots_kept(slot(slots::kPlotCounters)));
  }
  // The method and VAR presets steer one request only: an order or case the request did
  // not use must not answer the next one's question.
  if (code == 3)
    for (const int16_t preset : {slots::kMethodPreset, slots::kVarOrderPreset, slots::kVarOptionPreset})
      set_slot(preset, slots::kUnset);
}
