#include "engine/core/output_files.h"

#include <filesystem>
#include <system_error>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "shared/temp_files.h"

namespace qorv::core {

namespace {

std::filesystem::path panel_path() {
  return std::filesystem::path(std::string(fixed_text::trim(char_setting(charset::kTempFolder)))) /
         temp_files::kEditorPanel;
}

}  // namespace

void OPENTEMPFILE(int mode, int& status) {
  if (mode == kCreatePanel) {
    close_channel(channel::kEditorPanel);
    const std::filesystem::path path = panel_path();
    std::error_code ec;
    std::filesystem::remove(path, ec);
    status = 0;
    if (!open_channel(channel::kEditorPanel, path, OpenMode::kNew)) {
      status = 1;
      SHOWOK(kError, kNoHelp, kTempFileMessage);
    }
    report_writer().panel_lines = 0;
  } else if (mode == kDeletePanel) {
    close_channel(channel::kEditorPanel);
    std::error_code ec;
    std::filesystem::remove(panel_path(), ec);
  }
}

}  // namespace qorv::core
