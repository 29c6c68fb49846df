#include "tests/support/engine/engine_fixture.h"

#include <unistd.h>

#include <fstream>
#include <string>
#include <system_error>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/qorv_api.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

std::filesystem::path program_folder() { return ZV_PROGRAM_FOLDER; }

namespace {

/// This process's own temporary folder, made on first use and removed when the process
/// ends, so that tests running side by side never share a results page or a panel file.
class ProcessTempFolder {
 public:
  ProcessTempFolder()
      : path_(std::filesystem::temp_directory_path() / ("zv engine tests " + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
  }
  ~ProcessTempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ProcessTempFolder(const ProcessTempFolder&) = delete;
  ProcessTempFolder& operator=(const ProcessTempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const std::filesystem::path& process_temp_folder() {
  static const ProcessTempFolder folder;
  return folder.path();
}

}  // namespace

std::string temp_folder() { return process_temp_folder().string() + "/"; }

void install_numbered_message_file(const std::filesystem::path& folder, int lines) {
  std::ofstream out(folder / "ERROR4.ZQT", std::ios::binary);
  for (int i = 1; i <= lines; ++i) out << "Line " << i << "\n";
  core::set_char_setting(charset::kProgramFolder, folder.string());
}

bool open_data_file(const std::filesystem::path& path) {
  int32_t kind = 6;
  int16_t slot = slots::kDataInputKind;
  REGISTERINT(&kind, &slot);
  const std::string name = path.string();
  const int16_t length = static_cast<int16_t>(name.size()), code = charset::kDataFile;
  REGISTERCHAR(name.c_str(), &length, &code);
  dialog_script::load("yesno -> yes\n");
  int16_t request = 1;
  DRIVER(&request);
  return request == 0;
}

void EngineTest::SetUp() {
  core::reset_engine_state();
  core::set_char_setting(charset::kProgramFolder, program_folder().string());
  core::set_char_setting(charset::kTempFolder, temp_folder());
  dialog_script::reset();
}

void EngineTest::TearDown() {
  const auto failures = dialog_script::failures();
  if (failures.empty()) return;
  std::string text = "the dialog script failed:\n";
  for (const std::string& f : failures) text += "  " + f + "\n";
  text += "transcript:\n" + dialog_script::transcript_text();
  ADD_FAILURE() << text;
}

}  // namespace qorv::testing
