#include "engine/data/new_data_shape.h"

#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::data {

namespace {

/// Width of the typed dates answer.
constexpr int kDatesWidth = 127;

/// The example of the dates question for frequencies 2 to 5.
std::string_view date_example(int frequency) {
  switch (frequency) {
    case obs_calendar::kAnnual: return " (e.g. 1964 1978) ";
    case obs_calendar::kHalfYearly: return " (e.g. 74H1 84H2 or 1850H1 1954H2) ";
    case obs_calendar::kQuarterly: return " (e.g. 74Q1 84Q3 or 1812Q2 1927Q3) ";
    default: return " (e.g. 75M2 84M11 or 1975M2 2010M12) ";
  }
}

/// The words of `text`, separated by blanks, tabs or commas.
std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  const auto separator = [](char c) { return c == ' ' || c == '\t' || c == ','; };
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) ++i;
    const std::size_t from = i;
    while (i < text.size() && !separator(text[i])) ++i;
    if (i > from) out.push_back(text.substr(from, i - from));
  }
  return out;
}

/// Refuses a count outside 1..3100 with its message (a beep below 1); true when it fits.
bool count_fits(long nobs, bool dated) {
  if (nobs < 1) {
    if (dated) core::SHOWOK(core::kError, core::kNoHelp, shape_messages::kFinishBeforeStart);
    else core::BEEP();
    return false;
  }
  if (nobs > limits::kMaxObs) {
    core::SHOWOK(core::kError, core::kNoHelp, shape_messages::kTooManyObservations);
    return false;
  }
  return true;
}

std::optional<NewDataShape> ask_undated() {
  for (;;) {
    int count = 0;
    if (core::slot(slots::kNumObservations) != slots::kUnset) {
      count = core::take_preset(slots::kNumObservations);
    } else {
      int status = core::kDialogOk;  // no Cancel button
      core::ASKINTEGER(kObservationsHelp, count, status, shape_messages::kObservationsPrompt);
    }
    if (count_fits(count, false)) return NewDataShape{count, obs_calendar::start_from_fields(obs_calendar::kUndated, 1, 1, 0)};
  }
}

std::optional<NewDataShape> ask_dated(int frequency) {
  const std::string prompt = std::string(shape_messages::kDatesPrompt) + std::string(date_example(frequency)) +
                             std::string(shape_messages::kDatesQuit);
  for (;;) {
    std::string answer(fixed_text::trim(core::char_setting(charset::kSampleText)));
    if (!answer.empty()) {
      core::set_char_setting(charset::kSampleText, "");
    } else {
      int status = core::kDialogOk;
      answer = " ";
      core::ASKSTRING(core::kNoHelp, status, prompt, answer, kDatesWidth);
      if (status != core::kDialogOk) return std::nullopt;
      answer = std::string(fixed_text::trim(answer));
      if (answer.empty()) continue;
    }
    if (answer == "q" || answer == "Q") return std::nullopt;
    const std::vector<std::string_view> w = words(answer);
    const auto first = w.size() == 2 ? obs_calendar::PARSEOBSLABEL(w[0], frequency) : std::nullopt;
    const auto last = w.size() == 2 ? obs_calendar::PARSEOBSLABEL(w[1], frequency) : std::nullopt;
    if (!first || !last) {
      core::BEEP();
      continue;
    }
    const obs_calendar::DataStart start =
        obs_calendar::start_from_fields(frequency, first->year, first->period, first->century);
    const long nobs = obs_calendar::label_observation(*last, start);
    if (count_fits(nobs, true)) return NewDataShape{static_cast<int>(nobs), start};
  }
}

/// The first name of the registered data set that is invalid, or that a later name
/// repeats; empty when every name is sound. `checked` receives the upper-case names.
std::optional<std::string> name_culprit(int nvars, std::vector<std::string>& checked) {
  checked.clear();
  for (int j = 1; j <= nvars; ++j) {
    std::string name(fixed_text::trim(core::variable_name(j)));
    const std::string as_registered = name;
    if (!names::VALIDNAME(name)) return as_registered;
    checked.push_back(name);
  }
  for (std::size_t j = 0; j < checked.size(); ++j)
    for (std::size_t k = j + 1; k < checked.size(); ++k)
      if (checked[j] == checked[k]) return checked[j];
  return std::nullopt;
}

}  // namespace

std::optional<NewDataShape> ASKOBSERVATIONS(int frequency) {
  if (frequency == obs_calendar::kUndated) return ask_undated();
  return ask_dated(frequency);
}

bool CHECKVARNAMES() {
  const long nobs = core::slot(slots::kNumObservations);
  const long nvars = core::slot(slots::kNumVariables);
  const int frequency = core::slot(slots::kFrequency);
  if (nobs < 1 || nobs > limits::kMaxObs || nvars < 0 || nvars > limits::kMaxVars ||
      nobs * nvars > limits::kCapacity || obs_calendar::periods_per_year(frequency) == 0) {
    core::SHOWMSGFILE(52, 54);
    return false;
  }
  std::vector<std::string> checked;
  if (const auto culprit = name_culprit(static_cast<int>(nvars), checked)) {
    core::SHOWOK(core::kError, core::kNoHelp,
                 std::string(shape_messages::kBadNames) +
                     (culprit->empty() ? std::string(shape_messages::kBlankName) : *culprit) +
                     std::string(shape_messages::kBadNamesEnd));
    return false;
  }
  const obs_calendar::DataStart start = obs_calendar::start_from_fields(
      frequency, core::slot(slots::kStartYear), core::slot(slots::kStartPeriod), core::slot(slots::kCenturyBase));
  core::Globals& g = core::globals();
  g.nobs = static_cast<int>(nobs);
  g.nvars = static_cast<int>(nvars);
  g.frequency = frequency;
  g.periods_per_year = obs_calendar::periods_per_year(frequency);
  g.start_year = start.start_year;
  g.start_period = start.start_period;
  g.century_base = start.century_base;
  g.max_vars = limits::max_vars_for(g.nobs);
  for (int j = 1; j <= g.nvars; ++j)
    core::set_variable(j, checked[static_cast<std::size_t>(j - 1)], core::variable_desc(j));
  return true;
}

}  // namespace qorv::data
