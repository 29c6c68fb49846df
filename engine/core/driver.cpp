// DRIVER: the engine's single entry for work.
#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "engine/data/data_input.h"
#include "shared/qorv_api.h"

namespace {

using namespace qorv::core;

/// The words the driver keeps between requests.
struct DriverState {
  bool data_loaded = false;  ///< set by every request 1, never cleared
  int command_first = 0;     ///< first observation of the command interpreter's range
  int command_last = 0;      ///< last observation of that range
  bool new_data = false;     ///< a data set came in since the command interpreter last ran
};

DriverState g_driver;

const ResetRegistration g_reset([] { g_driver = DriverState{}; });

/// The command range becomes the whole data set.
void whole_command_range() {
  g_driver.command_first = 1;
  g_driver.command_last = globals().nobs;
}

/// The sample slots name the whole data set.
void whole_sample_slots() {
  set_slot(slots::kSampleEnd, globals().nobs);
  set_slot(slots::kSampleStart, 1);
}

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
  whole_sample_slots();
  whole_command_range();
}

/// Request 1: read or define a data set. The result is the data input's status.
int16_t load_data() {
  int next_step = 0;
  qorv::data::DATAINPUTMENU(next_step);
  whole_command_range();
  g_driver.data_loaded = true;
  whole_sample_slots();
  g_driver.new_data = true;
  return static_cast<int16_t>(next_step);
}

}  // namespace

extern "C" void DRIVER(int16_t* request) {
  if (request == nullptr) return;
  try {
    entry_work();
    first_request();
    if (*request != 3) whole_command_range();
    switch (*request) {
      case 1: *request = load_data(); break;
      case 3: *request = static_cast<int16_t>(slots::plots_kept(slot(slots::kPlotCounters))); break;
      default: break;
    }
  } catch (...) {
    *request = *request == 1 ? -1 : 0;
  }
}
