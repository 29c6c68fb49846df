#include "shared/dialog_folder.h"

#include <cstdlib>
#include <system_error>

namespace dialog_folder {

void remember_file(const std::filesystem::path& file) {
  if (file.empty()) return;
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::absolute(file, ec).parent_path();
  if (ec || !std::filesystem::is_directory(folder, ec)) return;
  ::setenv(kFolderVariable, folder.c_str(), 1);
}

std::filesystem::path start() {
  std::error_code ec;
  if (const char* folder = std::getenv(kFolderVariable); folder != nullptr && folder[0] != '\0') {
    if (std::filesystem::is_directory(folder, ec)) return folder;
  }
  std::filesystem::path current = std::filesystem::current_path(ec);
  return ec ? std::filesystem::path() : current;
}

}  // namespace dialog_folder
