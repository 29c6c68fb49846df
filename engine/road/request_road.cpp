#include "engine/road/request_road.h"

#include <algorithm>

#include "engine/core/availability.h"
#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/menu_system.h"
#include "engine/core/sample_period.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/data/data_adding.h"
#include "engine/data/data_commands.h"
#include "engine/data/data_input.h"
#include "engine/data/data_saving.h"
#include "engine/data/data_set.h"
#include "engine/data/dummy_variables.h"
#include "engine/data/observation_scans.h"
#include "engine/data/session_prompts.h"
#include "engine/multi/system_estimate.h"
#include "engine/road/estimation_options.h"
#include "engine/road/nonlinear_spec.h"
#include "engine/road/system_services.h"
#include "shared/fixed_text.h"

namespace qorv::road {

using namespace core;

namespace {

/// Message-file lines the road shows.
constexpr int kNoVariablesLine = 1;
constexpr int kRunCheckLine = 2;
constexpr int kTooFewObservationsLine = 4;

void whole_command_range() {
  DriverState& d = driver_state();
  d.command_first = 1;
  d.command_last = globals().nobs;
}

/// The system estimators through their dispatcher; true when SURE asks to run again.
bool run_system(int& choice) {
  DriverState& d = driver_state();
  int order_word = slot(slots::kVarOrderChosen);
  return multi::SYSTEMESTIMATE(choice, d.after_ampersand, order_word, system_services());
}

/// The estimation part of the menus: the kinds of action 2 or 3. False when the user left.
bool estimation_menus() {
  DriverState& d = driver_state();
  if (d.action == kSingleEquation) {
    int choice = 1;
    d.single_kind = SINGLEEQMENU(choice);
    return d.single_kind != 0;
  }
  while (true) {
    int choice = 1;
    d.system_kind = SYSTEMMENU(choice);
    if (d.system_kind == 0) return false;
    if (d.system_kind <= 2) return true;
    // SURE runs at once, and again on the same system while the user keeps the equations.
    while (true) {
      int choice = d.system_kind;
      if (!run_system(choice)) break;
    }
    set_slot(slots::kSystemPreset, slots::kUnset);
    if (globals().nvars == 0) return false;
  }
}

/// The Data Processing Menu; false when the user moved on to the estimation menus.
bool data_processing() {
  DriverState& d = driver_state();
  while (true) {
    int choice = 1;
    DATAPROCESSINGMENU(choice);
    if (choice != 2) whole_command_range();
    switch (choice) {
      case 0:
        // Without variables there is nothing to estimate: the request ends.
        if (globals().nvars == 0) return true;
        d.action = kSingleEquation;
        return false;
      case 1:
        qorv::data::DUMMYVARS();
        set_slot(slots::kNumVariables, globals().nvars);
        d.next_step = 2;
        return true;
      case 2:
        data::DATACOMMANDS(std::string(fixed_text::trim_right(char_setting(charset::kSpecification))));
        set_char_setting(charset::kSpecification, "");
        d.next_step = 0;
        return true;
      case 3: {
        int format = 2;
        if (slot(slots::kDataSavingPreset) == slots::kUnset)
          SHOWOK(kInformation, kNoHelp,
                 "The data are about to be saved without a chosen format. Please tell us how you "
                 "reached this point.");
        DATASAVINGMENU(format);
        if (format != 0) data::SAVEDATA(format);
        d.next_step = 2;
        return true;
      }
      case 4:
        data::ADDDATAFILE();
        d.next_step = 2;
        return true;
      case 5:
        if (qorv::data::CONFIRMEXIT(qorv::data::kNewDataFile)) {
          int status = 0;
          qorv::data::DATAINPUTMENU(status, qorv::data::DataInputRoad::kNewData);
          // The main program did not define this data set: it reads the shape back.
          if (status != qorv::data::kInputFailed) {
            qorv::data::write_shape_slots();
            d.new_data = true;
          }
          whole_command_range();
          return true;
        }
        break;
      default:
        return true;
    }
  }
}

/// The limit check and the run check of step 6; false when the request goes back to the
/// Backtracking Menu.
bool sample_fits() {
  const Globals& g = globals();
  const DriverState& d = driver_state();
  if (!qorv::data::CHECKFLAGRUN(g.sample_start, g.sample_end, d.marks)) {
    SHOWMSGFILE(kRunCheckLine, kRunCheckLine);
    return false;
  }
  const int n = g.sample_end - g.sample_start + 1;
  const int limit = observation_limit(d.regressor_count);
  if (n > limit) {
    SHOWOK(kError, kNoHelp, limit_message(limit));
    return false;
  }
  if (n <= d.regressor_count) {
    SHOWMSGFILE(kTooFewObservationsLine, kTooFewObservationsLine);
    return false;
  }
  return true;
}

/// Step 2: the sample. The host's sample text is read once without a question; later
/// passes, and a text that does not read, ask.
bool ask_sample(bool& preset_read) {
  Globals& g = globals();
  int start = g.sample_start > 0 ? g.sample_start : 1;
  int end = g.sample_end > 0 ? g.sample_end : g.nobs;
  // Later passes ask even when the host has written another sample text meanwhile.
  if (preset_read) set_char_setting(charset::kSampleText, "");
  preset_read = true;
  if (ask_estimation_period(start, end)) return false;
  g.sample_start = start;
  g.sample_end = end;
  return true;
}

/// Step 4: the availability marks of the equation's variables over the sample.
void mark_available() {
  Globals& g = globals();
  DriverState& d = driver_state();
  d.marks.assign(static_cast<std::size_t>(std::max(g.nobs, 0)), 0);
  if (d.equation.empty()) return;
  const auto work = work_array();
  const std::span<const double> data(work.data(), static_cast<std::size_t>(g.nobs) * static_cast<std::size_t>(g.nvars));
  // Offset 1: the regressors decide whether an observation can be used at all, the
  // dependent variable with them whether it can be used for estimation.
  MARKAVAILABLE(data, g.nobs, static_cast<int>(d.equation.size()) - 1, d.equation, limits::kMissing,
                g.sample_start, g.sample_end, d.marks, 1);
}

/// Step 8: the Backtracking Menu, until its choice is settled.
void backtrack() {
  DriverState& d = driver_state();
  if (d.show_backtracking && !d.abort) {
    while (true) {
      int choice = 0;
      const bool single = d.action == kSingleEquation;
      d.next_step = BACKTRACKMENU(choice, single ? d.single_kind : 0, single ? 0 : d.system_kind);
      if (d.next_step == 0) d.next_step = 1;
      if (d.next_step != 7 || qorv::data::CONFIRMEXIT(qorv::data::kExitProgram)) break;
    }
  }
  if (d.abort) d.next_step = 1;
  d.show_backtracking = true;
  if (d.next_step == 0) d.next_step = 1;
  d.keep_sample = d.next_step == 2 || d.next_step == 4;
}

/// Steps 1 to 8 of one pass of the estimation loop.
void estimation_pass(bool& preset_sample_read) {
  DriverState& d = driver_state();
  d.cancelled = false;
  if (d.action == kSingleEquation && d.single_kind == kNonLinear) {
    if (!NONLINSPEC(d.keep_equation)) {
      d.next_step = 8;
      d.cancelled = true;
      return;
    }
  } else if (d.keep_equation == 0) {
    CHECKREGRESSORS();
    if (d.cancelled) return;
  }
  if (!d.keep_sample && !ask_sample(preset_sample_read)) {
    backtrack();
    return;
  }
  mark_available();
  if (d.action == kSystemEstimation) {
    d.next_step = 0;
    int choice = d.system_kind;
    run_system(choice);
  } else if (sample_fits()) {
    ASKPREDFAIL();
    bool repeat = false;
    SINGLEEQOPTIONS(d.next_step, d.single_kind, d.window, d.after_ampersand, d.show_backtracking, repeat);
    if (repeat) {
      d.cancelled = true;
      return;
    }
  }
  backtrack();
}

}  // namespace

void MAINMENUS() {
  DriverState& d = driver_state();
  while (true) {
    if (!d.data_loaded && d.next_step == 1) d.action = kSingleEquation;
    d.single_kind = 0;
    d.system_kind = 0;
    d.keep_sample = false;
    d.keep_equation = 0;
    const int32_t preset = take_preset(slots::kActionPreset);
    d.action = preset != slots::kUnset ? preset : (d.action == kLeave ? kDataProcessing : d.action);
    if (d.action != kDataProcessing) whole_command_range();
    if (d.action == kLeave) {
      if (ASKYESNO(kNoHelp, "Are you sure you want to exit Zelvorin?")) {
        close_channel(channel::kSavedResults, CloseMode::kKeep);
        close_channel(channel::kEditorPanel, CloseMode::kDelete);
      }
      d.action = kDataProcessing;
      continue;
    }
    if (d.action == kDataProcessing) {
      if (data_processing()) return;
      continue;  // choice 0: on to the estimation menus
    }
    if (globals().nvars == 0) {
      // Nothing to estimate: the data processing menu offers to add or create variables.
      SHOWMSGFILE(kNoVariablesLine, kNoVariablesLine);
      d.action = kDataProcessing;
      continue;
    }
    if (!estimation_menus()) {
      d.action = kLeave;
      d.single_kind = 0;
      d.system_kind = 0;
    }
    return;
  }
}

int run_request() {
  DriverState& d = driver_state();
  Globals& g = globals();
  const int32_t road = slot(slots::kActionPreset);
  const int32_t system = slot(slots::kSystemPreset);
  set_slot(slots::kShowPlotsNow, road != 1 ? slots::kTrue : 0);
  d.action = kLeave;
  d.next_step = 0;
  MAINMENUS();
  const bool whole_request = road == 1 || (road == 3 && system != slots::kUnset && system >= 3);
  if (!whole_request && (d.single_kind != 0 || d.system_kind != 0)) {
    close_channel(channel::kPlot, CloseMode::kKeep);
    bool preset_sample_read = false;
    do {
      estimation_pass(preset_sample_read);
      d.cancelled = false;
      NEXTSTATE();
    } while (d.loop_code == 2);
  }
  // No temporary variable of the request ever reaches the host.
  delete_temporaries();
  set_slot(slots::kNumVariables, g.nvars);
  if (!whole_request) {
    // Before any estimation the sample is the whole data set.
    set_slot(slots::kSampleStart, g.sample_start > 0 ? g.sample_start : 1);
    set_slot(slots::kSampleEnd, g.sample_start > 0 ? g.sample_end : g.nobs);
  }
  return slots::plots_kept(slot(slots::kPlotCounters));
}

}  // namespace qorv::road
