// Hypothesis Testing Menu option 9 on the quarterly macro data (n = 196): LC = log C on
// INPT LY INFL R against C/INC on INPT INC INFL R, with C = exp(LC) and INC = exp(LY),
// R replications under each model, the whole dialogue through the scripted dialogs. The
// counter gives the time per replication (R samples under each model make R replications).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/random_numbers.h"
#include "engine/diagnostics/non_nested_simulation.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;

/// The macro data as variables INPT LC LY INFL R C INC, and OLS of LC on INPT LY INFL R as
/// the current equation.
void install_macro() {
  std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/ols-macro/data.csv");
  std::string line;
  std::getline(in, line);  // obs,INPT,LC,LY,INFL,R
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    std::stringstream fields(line);
    std::string field;
    std::getline(fields, field, ',');
    std::vector<double> row;
    while (std::getline(fields, field, ',')) row.push_back(std::stod(field));
    rows.push_back(row);
  }
  const int n = static_cast<int>(rows.size());
  bench::install_workspace(n, 7);
  const char* names[] = {"INPT", "LC", "LY", "INFL", "R", "C", "INC"};
  for (int v = 1; v <= 7; ++v) core::set_variable(v, names[v - 1], "");
  for (int t = 1; t <= n; ++t) {
    const std::vector<double>& r = rows[static_cast<std::size_t>(t - 1)];
    for (int v = 1; v <= 5; ++v) core::data_at(t, v) = r[static_cast<std::size_t>(v - 1)];
    core::data_at(t, 6) = std::exp(r[1]);
    core::data_at(t, 7) = std::exp(r[2]);
  }
  auto& s = single::estimation();
  s.eqvarlist = {2, 1, 3, 4, 5};
  s.eqvarnames.clear();
  for (const int v : s.eqvarlist) s.eqvarnames.push_back(core::variable_name(v));
}

void non_nested_general(benchmark::State& state) {
  const int replications = static_cast<int>(state.range(0));
  install_macro();
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "zv-non-nested-benchmark";
  std::filesystem::create_directories(folder);
  core::set_char_setting(charset::kTempFolder, folder.string() + "/");
  const std::string script = "strict\nmenu 1042 -> 2\nstring -> \"C\"\nmenu 1042 -> 3\nstring -> \"INC\"\n"
                             "text -> \"INPT INC INFL R\"\ninteger -> " +
                             std::to_string(replications) + "\nresults -> close\n";
  for (auto _ : state) {
    core::set_random_seeds(1, 23, 73);
    dialog_script::reset();
    dialog_script::load(script);
    diagnostics::NONNESTEDGENERAL();
    if (dialog_script::pages().size() != 1 || !dialog_script::failures().empty())
      state.SkipWithError("no results page");
  }
  state.counters["per_replication"] =
      benchmark::Counter(replications, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  std::filesystem::remove_all(folder);
}
BENCHMARK(non_nested_general)->Arg(1000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
