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

}  // namespace qorv::core
