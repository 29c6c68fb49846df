#include "app/startup_folders.h"

#include "shared/temp_files.h"

#ifndef ZELVORIN_DATA_DIR
#define ZELVORIN_DATA_DIR "/usr/local/share/zelvorin"
#endif

namespace zelvorin {

std::filesystem::path program_folder(const std::filesystem::path& executable_folder) {
  std::error_code ec;
  if (std::filesystem::exists(executable_folder / std::string(temp_files::kMessageFile), ec))
    return executable_folder;
  return ZELVORIN_DATA_DIR;
}

TempChoice choose_temp_folder(const std::string& configured) {
  TempChoice choice;
  const temp_files::TempFolder base = temp_files::resolve_temp_folder(configured);
  if (base.configured_unusable) choice.message = QString::fromLatin1(temp_files::kUnusableFolderMessage);
  choice.folder = temp_files::make_process_folder(base.folder);
  return choice;
}

}  // namespace zelvorin
