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

/// The program's icon in the desktop's icon themes (installed under hicolor/*/apps).
inline constexpr const char* kIconName = "zelvorin";

/// True when ZVD files open with `program`: the default handler of the MIME type is our
/// desktop entry, whose command is exactly two words, the program's path and "%f".
bool in_force(const Folders& folders, const std::filesystem::path& program);

/// The desktop entry that opens ZVD files with `program`.
std::string desktop_entry(const std::filesystem::path& program);

/// Writes the desktop entry, the MIME type and the default-application entry, replacing
/// any earlier ones, and refreshes the desktop's MIME and application caches; false when a
/// file could not be written.
bool set(const Folders& folders, const std::filesystem::path& program);

/// Removes what `set` wrote and refreshes the caches, so that no cache still names the
/// deleted entry.
void remove(const Folders& folders);

/// `path` as a word of an Exec key: as it stands when it holds none of the characters the
/// desktop entry format reserves, else in double quotes with `"`, `` ` ``, `$` and `\`
/// escaped; "%" is doubled and backslashes are escaped once more for the key's value.
std::string exec_word(const std::string& path);

/// The words of an Exec key's value, undoing `exec_word`: split at blanks outside double
/// quotes, quotes and escapes dropped, "%%" read as "%" (field codes such as "%f" stay).
std::vector<std::string> split_command(const std::string& command);

}  // namespace zelvorin::association
