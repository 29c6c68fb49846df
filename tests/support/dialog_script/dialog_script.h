// A scripted stand-in for the dialog library: it defines every dialog export, answers
// each dialog from a script and records a transcript of everything shown. Engine tests
// link it in place of the real library, so every road through the engine runs headless.
//
// The script language and the transcript format are described in README.md next to this
// file; other tests and outside checks rely on both.
#pragma once

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dialog_script {

/// Raised by the dialog that goes over the cap, to stop a loop that keeps asking. Engine
/// entry points catch it like any other error; a test that calls a wrapper directly sees
/// it as an uncaught exception.
struct CapReached : std::runtime_error {
  using std::runtime_error::runtime_error;
};

inline constexpr int kDefaultCap = 10000;

/// Forgets the script, the transcript, the failures and the dialog count; the cap goes
/// back to its default.
void reset();

/// Replaces the script with the rules in `text`. A rule that cannot be read throws
/// std::invalid_argument naming its line; the old script is then kept.
void load(std::string_view text);

/// As `load`, from a file; a file that cannot be read throws std::invalid_argument.
void load_file(const std::filesystem::path& path);

/// At most `dialogs` dialogs are answered; the next one records the overrun as a failure
/// and throws CapReached.
void set_cap(int dialogs);

/// The transcript so far, one entry per line.
const std::vector<std::string>& transcript();

/// The transcript as one text, each line ended by "\n".
std::string transcript_text();

/// The results pages of the transcript, each as its lines (the lines between
/// "--- page N ---" and "--- end page ---").
std::vector<std::vector<std::string>> pages();

/// True when a line of `page` contains `text`.
inline bool page_has(const std::vector<std::string>& page, std::string_view text) {
  return std::any_of(page.begin(), page.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

/// Everything that makes the run fail: unmatched dialogs, answers that do not fit their
/// dialog, the cap, and (strict scripts) expectations not yet used.
std::vector<std::string> failures();

/// `failures()`, after which they are forgotten (and a strict script's remaining
/// expectations dropped): for tests that provoke failures on purpose.
std::vector<std::string> take_failures();

/// Dialogs answered or shown so far (every call except the busy state and `writefit`).
int dialogs_shown();

/// One call of a dialog export, with its texts exactly as the caller passed them.
struct Call {
  std::string kind;                ///< the transcript's word: "menu", "integer", "message", ...
  int help_context = 0;            ///< as passed (0 where the export has none)
  int detail = 0;                  ///< message: box kind; menu: preselected index (from 0);
                                   ///< integer: value on entry; file: mode on entry
  std::string text;                ///< title, prompt or message: every character passed
  std::vector<std::string> items;  ///< option lines, long-message lines, names: full width
  std::string answer;              ///< the answer as the transcript shows it
  std::string block;               ///< text editor: the text as handed in (the whole block)
};

/// Every call so far, in order.
const std::vector<Call>& calls();

}  // namespace dialog_script
