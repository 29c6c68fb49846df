// The stand-in's state between calls: the loaded script, the transcript, the calls, the
// failures and the dialog count. Used by the dialog exports.
#pragma once

#include <string>
#include <string_view>

#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/dialog_script/script_rules.h"

namespace dialog_script::detail {

/// Counts one dialog; over the cap it records the overrun and throws CapReached.
void count_dialog();

/// Counts the dialog and finds the rule that answers it: in a strict script the next
/// expectation when it fits, else the first rule that fits (a `once` rule is then
/// dropped). Returns nullptr when nothing fits, after recording the failure.
/// `match_text` is what a quoted match is looked for in; `what` names the dialog in the
/// failure ("menu 2039 Title").
const Rule* answer_for(Kind kind, int help_context, std::string_view match_text, std::string_view what);

/// Appends a line to the transcript.
void record(std::string line);

/// Appends a call to the list of calls.
void record_call(Call call);

/// Records something that makes the run fail.
void add_failure(std::string text);

/// Number of the next results page shown, from 1.
int next_page_number();

}  // namespace dialog_script::detail
