#include "engine/core/file_names.h"

#include <array>
#include <system_error>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::core {

namespace {

/// Whether the last path component holds a "." (a folder called "my.data" gives none).
bool has_extension(std::string_view name) {
  return std::filesystem::path(std::string(name)).filename().string().find('.') != std::string::npos;
}

constexpr std::array<std::string_view, 10> kFileErrorLines = {
    "  Error in file specification! This could be due to one of the following:",
    "  1: You may have mis-typed the file name.",
    "  2: There is insufficient space on disk. Remember that you need at least",
    "     8MB of free hard disk space for Zelvorin to run smoothly.",
    "  3: You may be attempting to write to a write protected disk.",
    "  4: The file you are trying to read/write may be currently in use by another",
    "     application.",
    "  5: You may be attempting to write onto a read only file.",
    "  6: You may not have permission to read/write on the disk/directory you have",
    "     chosen.",
};

}  // namespace

bool GETFILENAME(std::string& name, std::string_view extension, int mode) {
  const std::string given(fixed_text::trim(core::char_setting(charset::kDataFile)));
  if (given.empty()) {
    std::string chosen;
    int result = core::kDialogCancel;
    core::ASKFILE(chosen, mode, extension, result);
    if (result != core::kDialogOk) return false;
    name = chosen;
    return true;
  }
  core::set_char_setting(charset::kDataFile, "");
  if (mode == core::kOpenFile) {
    name = with_extension(given, extension).string();
    return true;
  }
  name = given;
  if (!has_extension(given)) name += "." + std::string(extension);
  return true;
}

std::filesystem::path with_extension(std::string_view typed, std::string_view extension) {
  namespace fs = std::filesystem;
  const fs::path path{std::string(fixed_text::trim(typed))};
  if (has_extension(path.string())) return path;
  const std::string upper = "." + names::upper(extension);
  std::string lower = upper;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const std::string& ext : {upper, lower})
    if (file_reading::is_readable_file(path.string() + ext)) return path.string() + ext;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string wanted = names::upper(path.filename().string() + upper);
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (names::upper(it->path().filename().string()) == wanted && file_reading::is_readable_file(it->path()))
      return path.has_parent_path() ? folder / it->path().filename() : it->path().filename();
  return path.string() + upper;
}

bool OPENOUTFILE(int unit, std::string_view extension) {
  std::string name;
  core::close_channel(unit);
  if (!GETFILENAME(name, extension, core::kOpenFile)) return false;
  if (!core::open_channel(unit, name, core::OpenMode::kOld)) {
    core::close_channel(unit);
    FILEREFUSED(name);
    return false;
  }
  return true;
}

void FILEREFUSED(const std::filesystem::path& path) {
  if (file_reading::open(path).failure == file_reading::Failure::kTooLarge) {
    SHOWOK(kError, kNoHelp, file_reading::describe(file_reading::Failure::kTooLarge));
    return;
  }
  FILEERRORBOX();
}

void FILEERRORBOX() {
  std::vector<std::string> lines;
  for (const std::string_view line : kFileErrorLines) lines.emplace_back(line);
  core::SHOWOKLONG(lines);
}

void DELETEFILE(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

}  // namespace qorv::core
