#include "engine/data/data_set.h"

#include <algorithm>

#include "engine/core/workspace.h"

namespace qorv::data {

std::string located(std::string_view base, std::size_t line, std::size_t column,
                    std::string_view detail) {
  std::string text(base);
  if (!text.empty() && text.back() != ' ') text += ' ';
  if (line > 0) {
    text += "Line " + std::to_string(line);
    if (column > 0) text += ", column " + std::to_string(column);
    if (!detail.empty()) text += ": ";
  }
  text += detail;
  text += '.';
  return text;
}

std::string quoted(std::string_view text) {
  constexpr std::size_t kLongest = 40;
  if (text.size() <= kLongest) return "\"" + std::string(text) + "\"";
  return "\"" + std::string(text.substr(0, kLongest)) + "...\"";
}

void install_data_set(const DataSet& data) {
  auto& g = core::globals();
  g.nobs = data.nobs;
  g.nvars = data.nvars();
  g.frequency = data.frequency;
  g.periods_per_year = data.periods_per_year;
  g.start_year = data.start_year;
  g.start_period = data.start_period;
  g.century_base = data.century;
  g.max_vars = limits::max_vars_for(data.nobs);
  for (int j = 1; j <= limits::kMaxVars; ++j) {
    if (j <= data.nvars())
      core::set_variable(j, data.names[static_cast<std::size_t>(j - 1)],
                         data.descs[static_cast<std::size_t>(j - 1)]);
    else
      core::set_variable(j, "", "");
  }
  const auto work = core::work_array();
  std::copy(data.values.begin(), data.values.end(), work.begin());
}

void write_shape_slots() {
  const core::Globals& g = core::globals();
  core::set_slot(slots::kNumVariables, g.nvars);
  core::set_slot(slots::kNumObservations, g.nobs);
  core::set_slot(slots::kFrequency, g.frequency);
  core::set_slot(slots::kStartYear, g.start_year);
  core::set_slot(slots::kStartPeriod, g.start_period);
  core::set_slot(slots::kCenturyBase, g.century_base);
}

}  // namespace qorv::data
