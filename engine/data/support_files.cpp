#include "engine/data/support_files.h"

#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"

#ifndef ZELVORIN_DATA_DIR
#define ZELVORIN_DATA_DIR "/usr/local/share/zelvorin"
#endif

namespace qorv::data {

std::vector<std::filesystem::path> support_folders() {
  std::vector<std::filesystem::path> folders;
  const std::string_view program = fixed_text::trim(core::char_setting(charset::kProgramFolder));
  if (!program.empty()) folders.emplace_back(program);
  folders.emplace_back(ZELVORIN_DATA_DIR);
  return folders;
}

std::optional<std::filesystem::path> find_support_file(std::string_view name) {
  const std::string_view trimmed = fixed_text::trim(name);
  if (trimmed.empty()) return std::nullopt;
  for (const auto& folder : support_folders()) {
    const std::filesystem::path candidate = folder / trimmed;
    if (file_reading::is_readable_file(candidate)) return candidate;
  }
  return std::nullopt;
}

bool OPENSUPPORTFILE(std::string_view name, int unit) {
  const auto found = find_support_file(name);
  if (found && core::open_channel(unit, *found, core::OpenMode::kOld)) return true;
  core::SHOWOK(core::kError, core::kNoHelp,
               "The file " + std::string(fixed_text::trim(name)) +
                   " is missing or corrupt. Unable to proceed.");
  return false;
}

}  // namespace qorv::data
