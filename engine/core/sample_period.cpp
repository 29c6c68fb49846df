#include "engine/core/sample_period.h"

#include "engine/core/dialog_bridge.h"
#include "engine/core/obs_label.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

std::string_view mode_title(int mode) {
  switch (mode) {
    case kEstimationPeriod: return "Type the start and finish of your estimation period, then press ENTER:";
    case kSavedObservations: return "Type the start and finish of the observations to be saved, then press ENTER:";
    case kSavedFits: return "Type the start and finish of fitted values and/or forecasts to be saved:";
    case kPlottedFits: return "Type the start and finish of fitted values and/or forecasts to be plotted:";
    default: return "";
  }
}

/// The label of observation `t` as a prompt shows it.
std::string prompt_label(int t) { return plain_label(OBSLABEL(t)); }

/// The next blank-separated word of `text` from `at`; `at` moves past it.
std::string_view next_word(std::string_view text, std::size_t& at) {
  while (at < text.size() && text[at] == ' ') ++at;
  const std::size_t start = at;
  while (at < text.size() && text[at] != ' ') ++at;
  return text.substr(start, at - start);
}

}  // namespace

obs_calendar::DataStart current_data_start() {
  const Globals& g = globals();
  return obs_calendar::start_from_fields(g.frequency, g.start_year, g.start_period, g.century_base);
}

std::optional<SamplePair> read_sample(std::string_view text, int minimum, int maximum,
                                      const obs_calendar::DataStart& start) {
  text = fixed_text::trim(text);
  if (minimum > maximum) return std::nullopt;
  if (text.empty()) return SamplePair{minimum, maximum};
  std::size_t at = 0;
  const auto first = obs_calendar::observation_of(next_word(text, at), start);
  if (!first || *first < minimum || *first > maximum) return std::nullopt;
  const auto last = obs_calendar::observation_of(next_word(text, at), start);
  if (!last || *last < *first || *last > maximum) return std::nullopt;
  if (!next_word(text, at).empty()) return std::nullopt;
  return SamplePair{static_cast<int>(*first), static_cast<int>(*last)};
}

std::string sample_prompt(int mode, int minimum, int maximum) {
  return std::string(mode_title(mode)) + "\n(Minimum " + prompt_label(minimum) + " Maximum " +
         prompt_label(maximum) + ")>\n Press Ok to choose all available observations. ";
}

bool GETSAMPLE(int minimum, int maximum, int& start, int& end, int mode, std::string& text) {
  const obs_calendar::DataStart data = current_data_start();
  const bool asks_again = mode == kEstimationPeriod || mode == kSavedObservations;
  while (true) {
    std::string answer = fixed_text::pad(text, charset::kSampleWidth);
    if (mode != kSampleTextOnly) {
      int status = kDialogOk;
      ASKSTRING(kNoHelp, status, sample_prompt(mode, minimum, maximum), answer, charset::kSampleWidth);
      if (status != kDialogOk) return true;
    }
    if (const auto pair = read_sample(answer, minimum, maximum, data)) {
      start = pair->start;
      end = pair->end;
      text = std::string(fixed_text::trim(answer));
      return false;
    }
    BEEP();
    if (!asks_again) return true;
    text = std::string(fixed_text::trim(answer));
  }
}

}  // namespace qorv::core

namespace qorv::core {

bool ask_estimation_period(int& start, int& end) {
  const int nobs = globals().nobs;
  const std::string preset(fixed_text::trim(char_setting(charset::kSampleText)));
  std::string text;
  int first = start, last = end;
  bool failed = true;
  if (!preset.empty()) {
    text = preset;
    failed = GETSAMPLE(1, nobs, first, last, kSampleTextOnly, text);
    set_char_setting(charset::kSampleText, "");
  }
  if (failed) failed = GETSAMPLE(1, nobs, first, last, kEstimationPeriod, text);
  if (failed) return true;
  start = first;
  end = last;
  return false;
}

}  // namespace qorv::core
