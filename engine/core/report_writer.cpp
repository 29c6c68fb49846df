#include "engine/core/report_writer.h"

#include <algorithm>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/engine_state.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

constexpr std::string_view kOutalt = "OUTALT ";
constexpr std::size_t kOutaltColumns = 65;  // of the line, after "OUTALT "

const ResetRegistration kReset{[] { report_writer() = ReportWriterState{}; }};

}  // namespace

ReportWriterState& report_writer() {
  static ReportWriterState state;
  return state;
}

void WRITELINE(std::string_view line, int channel) {
  ReportWriterState& s = report_writer();
  if (channel == channel::kEditorPanel) {
    if (line.starts_with('%')) {
      if (write_record(channel, line.substr(1))) ++s.panel_lines;
    } else {
      ++s.panel_lines;
      write_record(channel, line);
    }
    return;
  }
  if (channel == channel::kSavedResults) {
    write_record(channel, line);
    return;
  }
  std::string page_line(line);
  HASHTOBLANK(page_line);
  std::replace(page_line.begin(), page_line.end(), '\0', ' ');
  if (s.copy_flag) {
    write_record(channel::kResultsPage, page_line);
    return;
  }
  s.outalt = fixed_text::pad(std::string(kOutalt) + fixed_text::pad(page_line, kOutaltColumns),
                             kOutalt.size() + kOutaltColumns);
  SHOWOK(kError, kNoHelp, s.outalt);
}

void WRITEPAGEBREAK(int channel) {
  if (channel == channel::kSavedResults) {
    write_record(channel, " \f");
  } else if (report_writer().copy_flag) {
    write_record(channel::kResultsPage, "");
    write_record(channel::kResultsPage, "");
  }
}

void WRITESTARS(int count, int channel) {
  const std::string rule(static_cast<std::size_t>(std::clamp(count, 0, kMaxStars)), '*');
  if (channel == channel::kSavedResults) {
    write_record(channel, rule);
  } else if (report_writer().copy_flag) {
    write_record(channel::kResultsPage, rule);
  }
}

void HASHTOBLANK(std::string& text) { std::replace(text.begin(), text.end(), '#', ' '); }

}  // namespace qorv::core
