#include "tests/engine/multi/reference_data.h"

#include <algorithm>
#include <stdexcept>

#include "engine/core/workspace.h"
#include "tests/engine/single/macro_reference.h"

namespace qorv::testing {

int ReferenceData::number(const std::string& name) const {
  const auto it = std::find(names.begin(), names.end(), name);
  if (it == names.end()) throw std::invalid_argument("no variable " + name);
  return static_cast<int>(it - names.begin()) + 1;
}

ReferenceData read_reference_data(const std::string& path) {
  const DataTable table = read_data_table(path);
  ReferenceData d;
  d.names = table.names;
  d.nobs = static_cast<int>(table.rows.size());
  for (std::size_t j = 0; j < table.names.size(); ++j)
    for (const auto& row : table.rows) d.values.push_back(row.at(j));
  return d;
}

void install_reference_workspace(const ReferenceData& data, const ReferenceDates& dates, int sample_start) {
  auto& g = core::globals();
  g.nobs = data.nobs;
  g.frequency = dates.frequency;
  g.periods_per_year = dates.periods_per_year;
  g.start_year = dates.start_year;
  g.century_base = dates.century_base;
  g.start_period = dates.start_period;
  g.max_vars = limits::max_vars_for(g.nobs);
  g.nvars = static_cast<int>(data.names.size());
  for (int j = 1; j <= g.nvars; ++j) {
    core::set_variable(j, data.names[static_cast<std::size_t>(j - 1)], "");
    for (int t = 1; t <= g.nobs; ++t)
      core::data_at(t, j) = data.values[static_cast<std::size_t>((j - 1) * g.nobs + t - 1)];
  }
  g.sample_start = sample_start;
  g.sample_end = g.nobs;
}

}  // namespace qorv::testing
