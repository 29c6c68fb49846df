#include "tests/engine/single/logit_fixture.h"

#include "engine/core/workspace.h"

namespace qorv::testing {

std::vector<std::string> install_logit_data(const std::string& file) {
  const DataTable table = read_data_table(logit_reference_file(file));
  const auto& names = table.names;
  const auto& rows = table.rows;
  auto& g = core::globals();
  g.nobs = static_cast<int>(rows.size());
  g.nvars = static_cast<int>(names.size());
  g.frequency = 1;
  g.periods_per_year = 1;
  g.start_year = 1;
  g.century_base = 0;
  g.start_period = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  for (int v = 1; v <= g.nvars; ++v) core::set_variable(v, names[static_cast<size_t>(v - 1)], "");
  for (int t = 1; t <= g.nobs; ++t)
    for (int v = 1; v <= g.nvars; ++v)
      core::data_at(t, v) = rows[static_cast<size_t>(t - 1)][static_cast<size_t>(v - 1)];
  g.sample_start = 1;
  g.sample_end = g.nobs;
  return names;
}

std::vector<int> logit_equation(const LogitCase& c) {
  std::vector<int> equation = {core::find_variable(c.dependent)};
  for (const auto& r : c.regressors) equation.push_back(core::find_variable(r));
  return equation;
}

}  // namespace qorv::testing
