// The engine's two small output-file services: the editor panel file "J$.TTT" (channel
// 55), whose guidance text the text editor shows beside the user's text, and the file
// the user chose to be written (channel 9).
#pragma once

#include <string>
#include <string_view>

namespace qorv::core {

/// Modes of `OPENTEMPFILE`.
enum TempFileMode : int {
  kCreatePanel = 1,  ///< create the editor panel file afresh
  kDeletePanel = 4,  ///< close and delete it
};

/// The message shown when a temporary file cannot be created.
inline constexpr std::string_view kTempFileMessage =
    "Unable to create temporary file\rTry changing temporary file location in Options Startup or "
    "consult system administrator.";

/// Mode 1: deletes an old editor panel file, creates it empty on channel 55 and sets the
/// panel line counter to 0; `status` is 0, or 1 with an error box when the file cannot be
/// created (panel lines are then dropped). Mode 4: closes channel 55 and deletes the file.
/// Any other mode changes nothing.
void OPENTEMPFILE(int mode, int& status);

/// Kinds of output file of `OPENFILE`.
enum OutputFileKind : int {
  kTextDataFile = 1,   ///< a data file in a text format, written by the engine on channel 9
  kZvdDataFile = 2,    ///< a ZVD data file, written afterwards by the dialog library
  kEditorTextFile = 3, ///< a saved equation ("EQU") or list ("LST") file, on channel 9
};

/// Asks the name of a file the user wants written (character setting 1, or the file
/// dialog offering `extension`) into `name`. Kinds 1 and 3 open channel 9 on it: the
/// caller writes its records and closes the channel, and only a clean close
/// (`close_channel` returning true) replaces a file of that name, which is never touched
/// before. Kind 2 only checks that the file can be created there. `kind` comes back 0
/// when the user cancelled (no file touched) or when the file cannot be written there
/// (after the file-error box); otherwise unchanged.
void OPENFILE(int& kind, std::string_view extension, std::string& name);

}  // namespace qorv::core
