#include "engine/data/data_adding.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/file_names.h"
#include "engine/core/message_lines.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "shared/names.h"
#include "shared/obs_calendar.h"
#include "shared/zvd_file.h"

namespace qorv::data {

namespace {

obs_calendar::DataStart start_of(const DataSet& d) {
  return obs_calendar::start_from_fields(d.frequency, d.start_year, d.start_period, d.century);
}

/// The workspace's data set as a `DataSet`.
DataSet workspace_data_set() {
  const core::Globals& g = core::globals();
  DataSet d;
  d.nobs = g.nobs;
  d.frequency = g.frequency;
  d.periods_per_year = g.periods_per_year;
  d.start_year = g.start_year;
  d.start_period = g.start_period;
  d.century = g.century_base;
  for (int j = 1; j <= g.nvars; ++j) {
    d.names.emplace_back(fixed_text::trim(core::variable_name(j)));
    d.descs.push_back(core::variable_desc(j));
  }
  const auto work = core::work_array();
  d.values.assign(work.begin(), work.begin() + static_cast<long>(g.nobs) * g.nvars);
  return d;
}

DataSet from_file(const zvd::DataSet& file) {
  DataSet d;
  d.nobs = file.shape.nobs;
  d.frequency = file.shape.frequency;
  d.periods_per_year = obs_calendar::periods_per_year(file.shape.frequency);
  const obs_calendar::DataStart start = obs_calendar::start_from_fields(
      file.shape.frequency, file.shape.start_year, file.shape.start_period, file.shape.century_base);
  d.start_year = start.start_year;
  d.start_period = start.start_period;
  d.century = start.century_base;
  d.names = file.names;
  d.descs = file.descriptions;
  d.values = file.data;
  return d;
}

/// The names of `added`, checked by the name rule and upper-cased; empty when one is
/// invalid or repeated.
std::optional<std::vector<std::string>> checked_names(const DataSet& added) {
  std::vector<std::string> checked;
  for (const std::string& raw : added.names) {
    std::string name(fixed_text::trim(raw));
    if (!names::VALIDNAME(name) || std::find(checked.begin(), checked.end(), name) != checked.end())
      return std::nullopt;
    checked.push_back(std::move(name));
  }
  return checked;
}

/// Copies the `from.nobs` values of variable `j` (from 1) of `from` into `to`'s variable
/// `target` from observation `offset` + 1 on.
void place(const DataSet& from, int j, DataSet& to, int target, long offset) {
  const auto source = from.values.begin() + static_cast<long>(j - 1) * from.nobs;
  std::copy(source, source + from.nobs,
            to.values.begin() + static_cast<long>(target - 1) * to.nobs + offset);
}

}  // namespace

std::optional<DataSet> joined_data_set(const DataSet& added) {
  const DataSet base = workspace_data_set();
  if (added.frequency != base.frequency) {
    core::SHOWMSGFILE(core::msg::kFrequencyMismatch);
    return std::nullopt;
  }
  // Where the added set starts, counted in observations of the loaded set (0: together).
  const long offset = obs_calendar::label_observation(obs_calendar::date_of(1, start_of(added)), start_of(base)) - 1;
  const long first = std::min(0L, offset);
  const long end = std::max<long>(base.nobs, offset + added.nobs);
  const long nobs = end - first;
  const long nvars = static_cast<long>(base.nvars()) + added.nvars();
  if (nobs > limits::kMaxObs || nvars > limits::max_vars_for(static_cast<int>(nobs)) ||
      nobs * nvars > limits::kCapacity) {
    core::SHOWMSGFILE(core::msg::kDataSetTooLarge);
    return std::nullopt;
  }
  const std::optional<std::vector<std::string>> names = checked_names(added);
  if (!names) {
    core::SHOWMSGFILE(core::msg::kBadVariableNames);
    return std::nullopt;
  }
  for (const std::string& name : *names) {
    if (std::find(base.names.begin(), base.names.end(), name) == base.names.end()) continue;
    core::SHOWOK(core::kError, core::kNoHelp,
                 std::string(add_messages::kCommonPrefix) + " " + name + " " + std::string(add_messages::kCommonSuffix));
    return std::nullopt;
  }

  const DataSet& earlier = first < 0 ? added : base;  // its start is the joined set's start
  DataSet joined;
  joined.nobs = static_cast<int>(nobs);
  joined.frequency = base.frequency;
  joined.periods_per_year = base.periods_per_year;
  joined.start_year = earlier.start_year;
  joined.start_period = earlier.start_period;
  joined.century = earlier.century;
  joined.names = base.names;
  joined.names.insert(joined.names.end(), names->begin(), names->end());
  joined.descs = base.descs;
  joined.descs.insert(joined.descs.end(), added.descs.begin(), added.descs.end());
  joined.values.assign(static_cast<std::size_t>(nobs * nvars), limits::kMissing);
  for (int j = 1; j <= base.nvars(); ++j) place(base, j, joined, j, -first);
  for (int j = 1; j <= added.nvars(); ++j) place(added, j, joined, base.nvars() + j, offset - first);
  return joined;
}

void ADDDATAFILE() {
  std::string name;
  if (!core::GETFILENAME(name, "ZVD", core::kOpenFile)) return;
  const zvd::ReadResult read = zvd::read_file(name);
  if (read.error != zvd::ReadError::kNone) {
    core::SHOWOK(core::kError, core::kNoHelp, zvd::read_message(read));
    return;
  }
  const std::optional<DataSet> joined = joined_data_set(from_file(read.data_set));
  if (!joined) return;
  core::STARTCALC(add_messages::kReading);
  install_data_set(*joined);
  core::STOPCALC();
  write_shape_slots();
  // The host reads the joined set back whole; every range names all of it.
  core::Globals& g = core::globals();
  g.sample_start = 1;
  g.sample_end = g.nobs;
  core::set_slot(slots::kSampleStart, 1);
  core::set_slot(slots::kSampleEnd, g.nobs);
  core::DriverState& d = core::driver_state();
  d.command_first = 1;
  d.command_last = g.nobs;
}

}  // namespace qorv::data
