// The association of ZVD data files with the program, the desktop's way: a desktop entry,
// a MIME type for "*.zvd" and the default-application entry, in the user's data and
// configuration folders.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zelvorin::association {

inline constexpr const char* kMimeType = "application/x-zelvorin-zvd";
inline constexpr const char* kDesktopFile = "zelvorin.desktop";

struct Folders {
  std::filesystem::path data_home;    ///< $XDG_DATA_HOME, default ~/.local/share
  std::filesystem::path config_home;  ///< $XDG_CONFIG_HOME, default ~/.config
};

/// The user's folders from the environment.
Folders user_folders();

/// True when ZVD files open with `program`: the default handler of the MIME type is our
/// desktop entry, whose command is exactly two words, the program's path and "%f".
bool in_force(const Folders& folders, const std::filesystem::path& program);

/// Writes the desktop entry, the MIME type and the default-application entry, replacing
/// any earlier ones; false when a file could not be written.
bool set(const Folders& folders, const std::filesystem::path& program);

/// Removes what `set` wrote.
void remove(const Folders& folders);

/// Splits a command line into words at blanks outside double quotes (quotes dropped).
std::vector<std::string> split_command(const std::string& command);

}  // namespace zelvorin::association
