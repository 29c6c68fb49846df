// Dialogues that name new variables: one new name for a list, the name and description of
// a computed series to be saved, and inserting a chosen name into a specification text.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

/// What `ASKNEWVARNAME` did.
enum class NewNameOutcome {
  kAdded,      ///< a valid new name was appended
  kRefused,    ///< a message was shown; nothing added
  kCancelled,  ///< the user cancelled; nothing added
  kChooser,    ///< an empty answer: the variable chooser was offered; nothing added
};

/// Asks `prompt` for one new name (answer up to 127 characters). The first word must pass
/// the name rule (else the answer + " is not a valid name, try again!") and must not be
/// in `names` (else " Variable NAME already exists!"); it is then appended upper-cased.
NewNameOutcome ASKNEWVARNAME(std::vector<std::string>& names, std::string_view prompt);

/// `ASKSERIESNAME` statuses.
enum SeriesNameStatus : int {
  kSeriesNameAccepted = 0,  ///< `name`, `position` and the description are set
  kSeriesNameAgain = 1,     ///< refused or the variables were listed: ask again
  kSeriesNameGiveUp = 2,    ///< the user answered "Q"
};

/// The name and description a computed series is saved under.
struct SeriesName {
  std::string name;         ///< upper case, at most 9 characters
  std::string description;  ///< the text after the name, left-justified; may be empty
  int position = 0;         ///< number of the workspace variable of that name, 0 if new
};

/// Checks the user's `answer` to "Name and optional description for saved ...": "Q" gives
/// up; an empty answer lists the variables in one message box (the question is asked with
/// no results page open); otherwise the first word
/// must be a valid name that is not one of `model_names` nor, for the instrumental and
/// system method codes (5, 8, 9, 12, 13, 15, 19, 61, 80), one of `second_names`. Refusals
/// are error boxes. `out` is set only when the status is `kSeriesNameAccepted`.
int ASKSERIESNAME(std::string_view answer, int method, std::span<const std::string> model_names,
                  std::span<const std::string> second_names, SeriesName& out);

/// Cursor of the screen editor: page 1..5, row 1..8, column 1..78, position in the page
/// 1..624.
struct EditorCursor {
  int page = 1;
  int row = 1;
  int column = 1;
  int position = 1;
};

/// Inserts `name` after the character under the cursor of the 3120-character editor
/// `text`, with one blank before it, and moves the cursor onto the name's last character.
/// A name that would pass character 3120 is refused with "No room left in editor.
/// Variable not inserted!" and leaves text and cursor as they were.
void EDITORINSERTVAR(std::string_view name, std::string& text, EditorCursor& cursor);

}  // namespace qorv::core
