#include "shared/temp_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace temp_files {

namespace fs = std::filesystem;

std::string plot_file_name(unsigned number) { return "plot" + std::to_string(number) + ".$$$"; }

std::string host_plot_copy_name(unsigned number) {
  static const char digits[] = "0123456789ABCDEF";
  std::string name = "pld";
  for (int shift = 12; shift >= 0; shift -= 4) name += digits[(number >> shift) & 0xFu];
  return name + ".$$$";
}

bool folder_is_writable(const fs::path& folder) {
  std::error_code ec;
  if (folder.empty() || !fs::is_directory(folder, ec)) return false;
  return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string folder_text(const fs::path& folder) {
  std::string text = folder.generic_string();
  if (text.empty() || text.back() != '/') text += '/';
  return text;
}

namespace {

fs::path private_user_folder() {
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) base = "/tmp";
  const fs::path folder = base / ("zelvorin-" + std::to_string(::getuid()));
  ::mkdir(folder.c_str(), 0700);  // an existing folder is fine
  struct stat st {};
  if (::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()) {
    ::chmod(folder.c_str(), 0700);
    return folder;
  }
  return base;
}

}  // namespace

TempFolder resolve_temp_folder(std::string_view configured) {
  TempFolder result;
  if (!configured.empty()) {
    const fs::path wanted{std::string(configured)};
    if (folder_is_writable(wanted)) {
      result.folder = wanted;
      return result;
    }
    result.configured_unusable = true;
  }
  result.folder = private_user_folder();
  return result;
}

fs::path make_process_folder(const fs::path& base) {
  const fs::path folder = base / ("run-" + std::to_string(::getpid()));
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec || !folder_is_writable(folder)) return {};
  return folder;
}

}  // namespace temp_files

namespace temp_files {

void publish_session_folder(const std::filesystem::path& folder) {
  ::setenv(kSessionFolderVariable, folder.c_str(), 1);
}

std::filesystem::path session_folder(std::string_view configured) {
  if (const char* published = std::getenv(kSessionFolderVariable);
      published != nullptr && published[0] != '\0')
    return published;
  const std::filesystem::path base = resolve_temp_folder(configured).folder;
  const std::filesystem::path own = base / ("run-" + std::to_string(::getpid()));
  std::error_code ec;
  return std::filesystem::is_directory(own, ec) ? own : base;
}

}  // namespace temp_files
