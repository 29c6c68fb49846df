// Where report lines go. Every report, listing and editor-panel text is written by
// `WRITELINE`, which routes a line by its channel: the editor panel file (55), the
// results or model file being saved (10), or else the open results page (57). A line
// meant for a page while none is open is shown as an "OUTALT" error box, so that a report
// written outside a page is never lost silently. Records keep their trailing blanks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qorv::core {

/// The report writer's engine words.
struct ReportWriterState {
  bool copy_flag = false;   ///< a results page is open: page lines go to channel 57
  int32_t panel_lines = 0;  ///< lines written to the editor panel file since it was created
  std::string outalt;       ///< the last line shown as an OUTALT box (72 characters)
};

/// The report writer's state (reset to the values above with the engine).
ReportWriterState& report_writer();

/// Longest rule of stars.
inline constexpr int kMaxStars = 79;

/// Writes one record, by `channel`:
/// - 55 (editor panel file): a line starting with "%" is a control line, written without
///   its "%"; the panel line counter goes up by one when that write succeeds. Any other
///   line is counted and written whole.
/// - 10 (file being saved): the line unchanged.
/// - any other channel: the results page (channel 57, whatever `channel` says), with
///   every "#" and NUL turned into a blank, while a page is open; otherwise an error box
///   "OUTALT " + the first 65 columns of that text.
void WRITELINE(std::string_view line, int channel);

/// A page break: " " + form feed on channel 10; two empty records on the open results
/// page for any other channel (nothing when no page is open).
void WRITEPAGEBREAK(int channel);

/// A rule of `count` "*" (at most 79) on channel 10, or on the open results page for any
/// other channel (nothing when no page is open).
void WRITESTARS(int count, int channel);

/// Turns every "#" of `text` into a blank.
void HASHTOBLANK(std::string& text);

}  // namespace qorv::core
