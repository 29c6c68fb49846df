// The folders the program settles at start-up: the program folder (where the message and
// help files are) and this run's temporary folder.
#pragma once

#include <QString>

#include <filesystem>
#include <string>

namespace zelvorin {

/// The executable's folder when it holds the engine's message file, else the data folder
/// fixed when the program was installed.
std::filesystem::path program_folder(const std::filesystem::path& executable_folder);

struct TempChoice {
  std::filesystem::path folder;  ///< this run's own folder, created; empty when none could be made
  QString message;               ///< a warning to show, or empty
};

/// The configured folder when usable, else a private per-user folder; inside it a folder
/// of this process's own, so that two running copies never share files.
TempChoice choose_temp_folder(const std::string& configured);

}  // namespace zelvorin
