// File names the user gives the engine: taken from the main program's data-file setting
// or asked with the file dialog, checked and opened on a channel; the file-error box; and
// deleting a file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qorv::core {

/// A file name for `mode` (`core::FileMode`: 1 open, 2 save, 3 save a data file). When the
/// data-file setting (character setting 1) is not blank it is the name, without leading
/// and trailing blanks, with "." + `extension` appended when its last path component
/// holds no "." (for opening, as `with_extension` finds it); the setting is then blanked
/// and no dialog is shown. Otherwise the file
/// dialog asks, offering `extension`. Returns false when the dialog was cancelled
/// (`name` unchanged).
bool GETFILENAME(std::string& name, std::string_view extension, int mode);

/// The file `typed` (trimmed) names: itself when its last path component holds a ".";
/// otherwise the first readable file of NAME.EXT, NAME.ext and a file of the same folder
/// whose name matches NAME.EXT ignoring case; NAME.EXT when none exists (EXT being
/// `extension` in upper case).
std::filesystem::path with_extension(std::string_view typed, std::string_view extension);

/// Opens for reading, on channel `unit`, the file `GETFILENAME` gives in open mode. A
/// file that does not exist or cannot be opened shows `FILEREFUSED`. Returns true when
/// the channel is open on the file; false on cancel or failure (the channel closed).
bool OPENOUTFILE(int unit, std::string_view extension);

/// The ten-line box of the reasons a file cannot be read or written.
void FILEERRORBOX();

/// Tells why `path` could not be opened for reading: "File too large: more than 64 MB"
/// for a file past the readers' bound, else `FILEERRORBOX`.
void FILEREFUSED(const std::filesystem::path& path);

/// Removes `path` when it exists; a file that cannot be removed stays, silently.
void DELETEFILE(const std::filesystem::path& path);

}  // namespace qorv::core
