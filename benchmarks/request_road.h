// Requests of the host through the whole engine road, as the estimation window makes
// them: the data set handed over as the host hands over a data file it has read
// (request 1), the window's presets registered through the exported calls, and request 3
// run with the scripted stand-in answering the dialogues a user would. What is timed is
// everything from the presets to the engine's return: the menus, the estimate, the
// results page written, read back by the viewer and deleted.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/engine_state.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/qorv_api.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::bench {

inline void register_int(int slot, int value) {
  const auto s = static_cast<int16_t>(slot);
  const auto v = static_cast<int32_t>(value);
  REGISTERINT(&v, &s);
}

inline void register_char(int code, const std::string& text) {
  const auto length = static_cast<int16_t>(text.size());
  const auto c = static_cast<int16_t>(code);
  REGISTERCHAR(text.data(), &length, &c);
}

/// An undated data set: variable names and their values column by column.
struct RoadData {
  std::vector<std::string> names;
  std::vector<double> values;  ///< names.size() columns of `nobs` values
  int nobs = 0;
};

/// A fresh engine holding `d`, handed over as the host hands over a data file it read;
/// the program folder is the source tree's support files, the temporary folder a private
/// one. False when the engine refused the data.
inline bool load_road_data(const RoadData& d) {
  core::reset_engine_state();
  dialog_script::reset();
  const auto temp = std::filesystem::temp_directory_path() / ("zv-road-benchmark-" + std::to_string(::getpid()));
  std::filesystem::create_directories(temp);
  register_char(charset::kTempFolder, temp.string() + "/");
  register_char(charset::kProgramFolder, std::string(ZV_SOURCE_DIR) + "/engine/resources/");
  const auto nvars = static_cast<int>(d.names.size());
  for (const auto& [slot, value] : {std::pair{slots::kNumObservations, d.nobs}, {slots::kNumVariables, nvars},
                                    {slots::kFrequency, 1}, {slots::kPeriodsPerYear, 1}, {slots::kStartYear, 1},
                                    {slots::kStartPeriod, 1}, {slots::kCenturyBase, 0}})
    register_int(slot, value);
  const int16_t flag = 0, nobs = static_cast<int16_t>(d.nobs), columns = static_cast<int16_t>(nvars);
  REGISTERDATA(d.values.data(), &flag, &nobs, &columns);
  for (int i = 0; i < nvars; ++i) {
    const std::string name = fixed_text::pad(d.names[static_cast<std::size_t>(i)], limits::kNameWidth);
    const std::string desc(limits::kDescWidth, ' ');
    const auto index = static_cast<int16_t>(i + 1);
    const int16_t nl = limits::kNameWidth, dl = limits::kDescWidth;
    REGISTERVARS(name.data(), desc.data(), &index, &nl, &dl);
  }
  register_int(slots::kDataInputKind, 3);
  int16_t request = 1;
  DRIVER(&request);
  return request == 0 && dialog_script::failures().empty();
}

/// What the estimation window registers before request 3, and the user's answers to the
/// dialogues that follow.
struct RoadRequest {
  std::vector<std::pair<int, int>> slots;  ///< presets: slot and value
  std::string sample;                      ///< "first last"
  std::string specification;               ///< the equation or the system's text
  std::string script;                      ///< the stand-in's strict script
};

/// Runs `r` once per iteration. The stand-in's transcript is cleared and its script
/// loaded again between iterations, untimed.
inline void run_road_request(benchmark::State& state, const RoadRequest& r) {
  dialog_script::reset();
  dialog_script::load(r.script);
  for (auto _ : state) {
    for (const auto& [slot, value] : r.slots) register_int(slot, value);
    register_char(charset::kSampleText, r.sample);
    register_char(charset::kSpecification, r.specification);
    int16_t request = 3;
    DRIVER(&request);
    benchmark::DoNotOptimize(request);
    state.PauseTiming();
    if (request != 0 || !dialog_script::failures().empty()) {
      state.SkipWithError(("the request failed:\n" + dialog_script::transcript_text()).c_str());
      break;
    }
    dialog_script::reset();
    dialog_script::load(r.script);
    state.ResumeTiming();
  }
}

}  // namespace qorv::bench
