#include "engine/data/data_input.h"

#include <array>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/file_names.h"
#include "engine/core/menu_system.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/data/ascii_data.h"
#include "engine/data/data_import.h"
#include "engine/data/data_set.h"
#include "engine/data/new_data_shape.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::data {

namespace {

constexpr int kDataInputMenu = 1010;

constexpr std::array<std::string_view, 12> kCsvAdvice = {
    "  Layout of a CSV, TXT or PRN data file:",
    "  1: Columns are variables and rows are observations.",
    "  2: The first row holds the variable names, each optionally followed by its",
    "     description; or the descriptions stand on a second row below the names.",
    "  3: The first column holds the dates (e.g. 1990, 70Q1, 76M12, 30/7/83), or the",
    "     observation numbers when the data are undated.",
    "  4: A blank field holds a missing value.",
    "  Fields are separated by commas, tabs, semicolons or blanks; names may stand in",
    "  double quotes. A name has 1 to 9 characters: a letter or _ first, then",
    "  letters, digits, _ or .; names must differ from each other and from the",
    "  reserved words of the command language.",
    "  Press OK to choose the file.",
};

/// Closes a channel when it goes out of scope.
struct ChannelCloser {
  int unit;  ///< the channel to close
  ~ChannelCloser() { core::close_channel(unit); }
};

/// Installs a data set of `shape` and `nvars` variables, named and described as the main
/// program registered them, holding `values` (nobs x nvars, variable after variable).
void install_shape(const NewDataShape& shape, int nvars, std::vector<double> values) {
  DataSet data;
  data.nobs = shape.nobs;
  data.frequency = shape.start.frequency;
  data.periods_per_year = obs_calendar::periods_per_year(shape.start.frequency);
  data.start_year = shape.start.start_year;
  data.start_period = shape.start.start_period;
  data.century = shape.start.century_base;
  for (int j = 1; j <= nvars; ++j) {
    data.names.push_back(core::variable_name(j));
    data.descs.push_back(core::variable_desc(j));
  }
  data.values = std::move(values);
  install_data_set(data);
}

/// The number of variables of a new data set: slot 4 once, else asked with no Cancel
/// button; answers outside 0..max_vars beep and ask again.
int ask_variables(int max_vars) {
  const std::string prompt = std::string(input_messages::kVariablesPrompt) + std::to_string(max_vars) + " " +
                             std::string(input_messages::kVariablesPromptEnd);
  for (;;) {
    int answer = 0;
    if (core::slot(slots::kNumVariables) != slots::kUnset) {
      answer = core::take_preset(slots::kNumVariables);
    } else {
      int status = core::kDialogOk;  // no Cancel button
      core::ASKINTEGER(core::kNoHelp, answer, status, prompt);
    }
    if (answer >= 0 && answer <= max_vars) return answer;
    core::BEEP();
  }
}

/// The frequency of a new data set: the Data Frequency Menu (or slot 7 once); 0 on cancel.
int ask_frequency() {
  int choice = 1;
  do {
    choice = 1;
    core::FREQUENCYMENU(choice);
  } while (choice < 0 || choice > obs_calendar::kMonthly);
  return choice;
}

/// Keyboard and ASCII data: frequency, observations, variables, then the numbers of the
/// file open on channel 8 (ASCII only).
int new_data_set(int kind) {
  const int frequency = ask_frequency();
  if (frequency == 0) return kInputFailed;
  const std::optional<NewDataShape> shape = ASKOBSERVATIONS(frequency);
  if (!shape) return kInputFailed;
  const int nvars = ask_variables(limits::max_vars_for(shape->nobs));
  const std::size_t cells = static_cast<std::size_t>(shape->nobs) * static_cast<std::size_t>(nvars);
  if (nvars == 0) {
    install_shape(*shape, 0, {});
    return kInputNoVariables;
  }
  if (kind == kInputKeyboard) {
    // The values are typed in the main program: the matrix is left as it stands.
    const auto work = core::work_array();
    install_shape(*shape, nvars, std::vector<double>(work.begin(), work.begin() + static_cast<long>(cells)));
    return 0;
  }
  std::vector<double> values(cells, limits::kMissing);
  std::vector<std::string> names;
  for (int j = 1; j <= nvars; ++j) names.push_back(core::variable_name(j));
  if (!READTEXTDATA(values, shape->nobs, nvars, names, shape->start, core::channel::kDataInput))
    return kInputFailed;
  install_shape(*shape, nvars, std::move(values));
  write_shape_slots();
  return 0;
}

int input_of_kind(int kind) {
  switch (kind) {
    case kInputKeyboard:
      return new_data_set(kind);
    case kInputAscii:
      if (!core::OPENOUTFILE(core::channel::kDataInput, "DAT")) return kInputFailed;
      return new_data_set(kind);
    case kInputZvd:
      // The main program read the file and registered it: its name is only consumed.
      core::set_char_setting(charset::kDataFile, "");
      if (!CHECKVARNAMES()) return kInputFailed;
      core::STARTCALC(ascii_messages::kReading);
      core::STOPCALC();
      return 0;
    case kInputCombine:
      core::SHOWOK(core::kInformation, core::kNoHelp, input_messages::kNoCombine);
      return kInputFailed;
    case kInputWorksheet:
      core::SHOWOK(core::kInformation, core::kNoHelp, input_messages::kNoWorksheet);
      return kInputFailed;
    case kInputText:
    case kInputTsd:
      if (kind == kInputText) CSVINPUTHELP();
      if (!core::OPENOUTFILE(core::channel::kDataInput, kind == kInputText ? "CSV" : "TSD")) return kInputFailed;
      if (!(kind == kInputText ? IMPORTTEXTFILE : IMPORTTSDFILE)(core::channel::kDataInput)) return kInputFailed;
      write_shape_slots();
      return 0;
    default:
      return kInputFailed;
  }
}

}  // namespace

void DATAINPUTMENU(int& status, DataInputRoad road) {
  const ChannelCloser closer{core::channel::kDataInput};
  int kind = kInputExit;
  if (core::slot(slots::kDataInputKind) != slots::kUnset) {
    kind = core::take_preset(slots::kDataInputKind);
  } else {
    if (road == DataInputRoad::kRequest) core::SHOWOK(core::kInformation, core::kNoHelp, input_messages::kNoKind);
    kind = kInputZvd;
    core::show_menu_table(*core::find_menu_table(kDataInputMenu), kind);
  }
  try {
    const int result = input_of_kind(kind);
    if (result != kInputFailed) core::forget_temporaries();  // they belonged to the old data set
    if (result != 0) status = result;
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
    status = kInputFailed;
  }
}

void CSVINPUTHELP() {
  std::vector<std::string> lines;
  for (const std::string_view line : kCsvAdvice) lines.emplace_back(line);
  core::SHOWOKLONG(lines);
}

}  // namespace qorv::data
