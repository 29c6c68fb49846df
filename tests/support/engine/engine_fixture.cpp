#include "tests/support/engine/engine_fixture.h"

#include <fstream>
#include <string>

#include "engine/core/engine_state.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

std::filesystem::path program_folder() { return ZV_PROGRAM_FOLDER; }

void install_numbered_message_file(const std::filesystem::path& folder, int lines) {
  std::ofstream out(folder / "ERROR4.ZQT", std::ios::binary);
  for (int i = 1; i <= lines; ++i) out << "Line " << i << "\n";
  core::set_char_setting(charset::kProgramFolder, folder.string());
}

void EngineTest::SetUp() {
  core::reset_engine_state();
  core::set_char_setting(charset::kProgramFolder, program_folder().string());
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
