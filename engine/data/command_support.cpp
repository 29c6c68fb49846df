#include "engine/data/command_support.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "engine/core/availability.h"
#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/obs_label.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"

namespace qorv::data {

bool valid_command_arguments(std::span<const int> variables, int first, int last) {
  const core::Globals& g = core::globals();
  if (variables.empty() || first < 1 || first > last || last > g.nobs) return false;
  return std::all_of(variables.begin(), variables.end(), [&](int v) { return v >= 1 && v <= g.nvars; });
}

AvailableRun available_run(std::span<const int> variables, int first, int last) {
  const core::Globals& g = core::globals();
  std::vector<int32_t> marks(static_cast<std::size_t>(g.nobs));
  AvailableRun run{first, last, 0};
  core::MARKAVAILABLE(core::work_array().first(static_cast<std::size_t>(g.nobs) * static_cast<std::size_t>(g.nvars)),
                      g.nobs, static_cast<int>(variables.size()), variables, limits::kMissing, run.first, run.last,
                      marks, 0);
  for (int t = run.first; t <= run.last && run.gap == 0; ++t)
    if (marks[static_cast<std::size_t>(t - 1)] != core::kAllPresent) run.gap = t;
  return run;
}

UnbrokenRun unbroken_run(int variable, int first, int last) {
  UnbrokenRun result;
  const std::array<int, 1> list = {variable};
  if (!valid_command_arguments(list, first, last)) return result;
  result.run = available_run(list, first, last);
  if (result.run.gap != 0) {
    core::SHOWMSGFILE(core::msg::kSampleGap);
    result.status = kCommandRefused;
  } else {
    result.status = kCommandDone;
  }
  return result;
}

std::vector<double> variable_values(int variable, int first, int last) {
  std::vector<double> values;
  values.reserve(static_cast<std::size_t>(std::max(0, last - first + 1)));
  for (int t = first; t <= last; ++t) values.push_back(core::data_at(t, variable));
  return values;
}

CalculatingNotice::CalculatingNotice() { core::SHOWCALCULATING(); }
CalculatingNotice::~CalculatingNotice() { core::STOPCALC(); }

std::string blank_report_line() { return std::string(kReportWidth, ' '); }

void place(std::string& line, int column, std::string_view text) {
  if (column < 1 || column > static_cast<int>(line.size())) return;
  const auto from = static_cast<std::size_t>(column - 1);
  line.replace(from, std::min(text.size(), line.size() - from), text.substr(0, line.size() - from));
}

void place_centred(std::string& line, int first, int last, std::string_view text) {
  const int width = last - first + 1, length = static_cast<int>(text.size());
  place(line, first + std::max(0, (width - length) / 2), text);
}

void write_centred_line(std::string_view text) {
  std::string line = blank_report_line();
  place_centred(line, 1, kReportWidth, text);
  core::WRITELINE(line, core::channel::kResultsPage);
}

std::string label_text(int t) { return core::plain_label(core::OBSLABEL(t)); }

void append_period(std::string& line, int first, int last) {
  core::APPENDTEXT(line, 1, label_text(first));
  core::APPENDTEXT(line, 1, "to");
  core::APPENDTEXT(line, 1, label_text(last));
}

}  // namespace qorv::data
