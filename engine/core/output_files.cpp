#include "engine/core/output_files.h"

#include <filesystem>
#include <system_error>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/file_names.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "shared/file_reading.h"
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

void OPENFILE(int& kind, std::string_view extension, std::string& name) {
  if (kind != kTextDataFile && kind != kZvdDataFile && kind != kEditorTextFile) {
    kind = 0;
    return;
  }
  const int mode = kind == kEditorTextFile ? kSaveFile : kSaveDataFile;
  if (!core::GETFILENAME(name, extension, mode)) {
    kind = 0;
    return;
  }
  bool ready = false;
  if (kind == kZvdDataFile) {
    std::filesystem::path folder = std::filesystem::path(name).parent_path();
    if (folder.empty()) folder = ".";
    ready = file_reading::writable_target(name) == file_reading::Failure::kNone &&
            temp_files::folder_is_writable(folder);
  } else {
    ready = open_channel(channel::kUserOutput, name, OpenMode::kReplaceSafely);
  }
  if (!ready) {
    core::FILEERRORBOX();
    kind = 0;
  }
}

}  // namespace qorv::core
