// The screen editor: the one place where the engine lets the user type a multi-line text
// (a model specification, a list of names, restrictions, a formula), and the removal of
// square-bracket comments from a command text.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "engine/core/new_names.h"

namespace qorv::core {

/// `SCREENEDITOR` results.
enum EditorResult : int {
  kEditorAccepted = 0,   ///< OK: the text holds what the user typed
  kEditorCancelled = 1,  ///< cancelled, or a text too long to be shown
  kEditorChooser = 2,    ///< a former editor's request for the variable chooser (never produced)
};

/// The editor's text: 5 pages of 8 lines of 78 characters.
inline constexpr int kEditorLength = 3120;

/// The message shown for a text that does not fit the editor.
inline constexpr std::string_view kTextTooLong = "Specification too long: at most 3120 characters";

/// The help context of the editor for the caller's help kind: above 100 the kind itself;
/// 14 none; 8 121; 9 115; 10 114; 1 20101; 15 2011; any other kind + 3000.
int editor_help_context(int help_kind);

/// Sets the editor's title (the engine's 255-character prompt field) to `lines` joined by
/// carriage return and line feed; what passes 255 characters is cut, the rest blank-filled.
void set_editor_title(std::initializer_list<std::string_view> lines);

/// Shows `text` (blank-filled to 3120 characters) in the dialog library's editor, titled
/// by the prompt field, beside the editor panel file when `panel_mode` is 1, offering
/// `extension` ("LST" or "EQU") for saving and loading. When slot 31 asks for it, the
/// shown text as the dialog left it is written to the equation-box file in the temporary
/// folder, whatever the user answered; slot 32 is then set and slot 31 cleared (a file
/// that cannot be written is reported with the temporary-file message and leaves slot 32
/// alone). Returns 0 with the edited text on OK, 1 with the text unchanged otherwise.
/// `offered`, when given, replaces the workspace's names in the editor's word list.
/// A text with characters past 3120 is never cut: it is refused with `kTextTooLong` and
/// result 1, and no editor is shown. The cursor is kept (the dialog keeps its own caret).
int SCREENEDITOR(std::string& text, EditorCursor& cursor, int panel_mode, std::string_view extension,
                 int help_kind, std::span<const std::string> offered = {});

/// Blanks every "[...]" comment of `text`. Returns false when done; true after showing
/// " The commenting out square brackets are not properly positioned!" when a "[" has no
/// "]" after it or a "]" comes before the first "[" (the text is then left as it stood at
/// that point). Nested brackets are not supported: the first "]" closes the comment.
bool CHECKBRACKETS(std::string& text);

}  // namespace qorv::core
