// The folder file dialogs open in: the folder of the data file loaded or saved last, or of
// the last file chosen in any file dialog of the process. The program, the dialog library
// and the graph windows each link their own copy of this module, so the folder lives in a
// variable of the process, where every copy finds it.
#pragma once

#include <filesystem>

namespace dialog_folder {

/// The environment variable that holds the folder.
inline constexpr const char* kFolderVariable = "ZELVORIN_DIALOG_FOLDER";

/// `file` was opened, saved or chosen: its folder (made absolute) is the one the next file
/// dialog opens in. A file whose folder does not exist changes nothing.
void remember_file(const std::filesystem::path& file);

/// The folder to open a file dialog in: the remembered one while it exists, else the
/// current working folder.
std::filesystem::path start();

}  // namespace dialog_folder
