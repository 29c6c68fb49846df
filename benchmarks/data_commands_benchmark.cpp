// The statistics commands at the longest sample a data set holds (3100 observations):
// COR with its default order 1033, SPECTRUM X(999) and ADF X(12), each from the data
// matrix to the written results page and plot files, the dialogs answered by the scripted
// stand-in (its transcript is cleared outside the timed part).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "engine/data/spectrum_command.h"
#include "engine/data/statistics_command.h"
#include "engine/data/unit_root_command.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;

constexpr int kObs = 3100;

/// A random walk with drift and a cycle over 3100 observations, the only variable X.
void install() {
  core::reset_engine_state();
  const auto folder = std::filesystem::temp_directory_path() / "zv-data-commands-benchmark";
  std::filesystem::create_directories(folder);
  core::set_char_setting(charset::kTempFolder, folder.string() + "/");
  auto& g = core::globals();
  g.nobs = kObs;
  g.nvars = 1;
  g.frequency = 4;
  g.periods_per_year = 4;
  g.start_year = 60;
  g.start_period = 1;
  g.century_base = 1900;
  g.sample_start = 1;
  g.sample_end = kObs;
  core::set_variable(1, "X", "");
  unsigned state = 12345u;
  double level = 100.0;
  for (int t = 1; t <= kObs; ++t) {
    state = state * 1664525u + 1013904223u;
    level += 0.05 + ((state >> 8) * (1.0 / 16777216.0) - 0.5) + 0.3 * std::sin(t / 7.0);
    core::data_at(t, 1) = level;
  }
  dialog_script::load("results -> close\n");
}

/// Runs `command` once per iteration; the stand-in's transcript and the plot counters are
/// reset between iterations, untimed.
template <typename Command>
void run(benchmark::State& state, Command command) {
  install();
  for (auto _ : state) {
    const int status = command();
    benchmark::DoNotOptimize(status);
    state.PauseTiming();
    if (status != data::kCommandDone) state.SkipWithError("the command was refused");
    dialog_script::reset();
    dialog_script::load("results -> close\n");
    core::set_slot(slots::kPlotCounters, 0);
    state.ResumeTiming();
  }
}

void cor_default_order(benchmark::State& state) {
  const std::vector<int> x = {1};
  run(state, [&] {
    const auto r = data::AUTOCORRELATIONS(x, 1, kObs, data::kStatisticsMode, -1);
    return r.figures.autocorrelation.order == 1033 ? static_cast<int>(r.status) : -1;
  });
}

void spectrum_999(benchmark::State& state) {
  run(state, [] { return static_cast<int>(data::SPECTRUM(1, 1, kObs, 999).status); });
}

void adf_12(benchmark::State& state) {
  run(state, [] { return static_cast<int>(data::ADFTEST(1, 1, kObs, 12).status); });
}

BENCHMARK(cor_default_order)->Unit(benchmark::kMillisecond);
BENCHMARK(spectrum_999)->Unit(benchmark::kMillisecond);
BENCHMARK(adf_12)->Unit(benchmark::kMillisecond);

}  // namespace
