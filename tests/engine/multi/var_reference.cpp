#include "tests/engine/multi/var_reference.h"

#include <stdexcept>

#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"

namespace qorv::testing {

const VarReferenceData& var_reference_data() {
  static const VarReferenceData data = [] {
    const DataTable table = read_data_table(std::string(ZV_REFERENCE_DIR) + "/var/data.csv");
    VarReferenceData d;
    d.names = table.names;
    d.nobs = static_cast<int>(table.rows.size());
    for (std::size_t j = 0; j < table.names.size(); ++j)
      for (const auto& row : table.rows) d.values.push_back(row.at(j));
    return d;
  }();
  return data;
}

std::string var_reference_name(int number) { return var_reference_data().names.at(static_cast<std::size_t>(number - 1)); }

void install_var_workspace() {
  const VarReferenceData& d = var_reference_data();
  auto& g = core::globals();
  g.nobs = d.nobs;
  g.frequency = 4;
  g.periods_per_year = 4;
  g.start_year = 59;
  g.century_base = 1900;
  g.start_period = 2;
  g.max_vars = limits::max_vars_for(g.nobs);
  g.nvars = static_cast<int>(d.names.size());
  for (int j = 1; j <= g.nvars; ++j) {
    core::set_variable(j, d.names[static_cast<std::size_t>(j - 1)], "");
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = d.values[static_cast<std::size_t>((j - 1) * g.nobs + t - 1)];
  }
  g.sample_start = 4;
  g.sample_end = g.nobs;
}

multi::VarLayout var_reference_layout(const std::string& case_name) {
  // INPT 1, T 2, DLY 3, DLC 4, DLI 5; 1960Q1 is observation 4.
  if (case_name == "V3") return multi::VarLayout{{3, 4, 5}, {1, 2}, 3, 4, 196};
  if (case_name == "V1") return multi::VarLayout{{4, 5}, {1}, 1, 4, 196};
  throw std::invalid_argument("unknown VAR case " + case_name);
}

}  // namespace qorv::testing
