#include "engine/core/file_names.h"

#include <array>
#include <system_error>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

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
  name = given;
  // Only the last component decides: a folder called "my.data" holds no extension.
  const std::filesystem::path last = std::filesystem::path(given).filename();
  if (last.string().find('.') == std::string::npos) name += "." + std::string(extension);
  return true;
}

bool OPENOUTFILE(int unit, std::string_view extension) {
  std::string name;
  core::close_channel(unit);
  if (!GETFILENAME(name, extension, core::kOpenFile)) return false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(name, ec) || !core::open_channel(unit, name, core::OpenMode::kOld)) {
    core::close_channel(unit);
    FILEERRORBOX();
    return false;
  }
  return true;
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
