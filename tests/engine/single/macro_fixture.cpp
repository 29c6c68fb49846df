#include "tests/engine/single/macro_fixture.h"

#include "engine/core/workspace.h"

namespace qorv::testing {

void install_macro_data() {
  const std::vector<std::vector<double>> rows = read_data_table(macro_reference_file("data.csv")).rows;
  auto& g = core::globals();
  g.nobs = static_cast<int>(rows.size());
  g.nvars = 6;
  g.frequency = 4;
  g.periods_per_year = 4;
  g.start_year = 60;
  g.century_base = 1900;
  g.start_period = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  const char* names[] = {"INPT", "LC", "LY", "INFL", "R", "LC(-1)"};
  for (int v = 1; v <= 6; ++v) core::set_variable(v, names[v - 1], "");
  for (int t = 1; t <= g.nobs; ++t) {
    for (int v = 1; v <= 5; ++v) core::data_at(t, v) = rows[static_cast<size_t>(t - 1)][static_cast<size_t>(v - 1)];
    core::data_at(t, macro::kLcLag) = t == 1 ? limits::kMissing : rows[static_cast<size_t>(t - 2)][1];
  }
  g.sample_start = 1;
  g.sample_end = g.nobs;
}

void MacroTest::SetUp() {
  EngineTest::SetUp();
  install_macro_data();
}

}  // namespace qorv::testing
