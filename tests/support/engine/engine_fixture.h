// Base fixture of the engine tests: every test starts from the engine's load-time state,
// with character setting 5 (the program folder) pointing at the folder that holds the
// built message file, character setting 4 (the temporary folder) at a folder of the test
// process's own, and an empty dialog script and transcript. A test fails when the
// dialog stand-in recorded a failure (a dialog no rule answered, an answer that did not
// fit, the cap, or an unused expectation of a strict script). A test that provokes such
// failures on purpose takes them with dialog_script::take_failures().
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace qorv::testing {

/// The program folder of the build: it holds the message file "ERROR4.ZQT".
std::filesystem::path program_folder();

/// The test process's own temporary folder, ending in "/", as character setting 4 takes it:
/// tests running side by side never share a results page or a panel file through it.
std::string temp_folder();

/// Writes a message file "ERROR4.ZQT" of `lines` lines "Line 1", "Line 2", ... into
/// `folder` and makes `folder` the program folder, so that a test reads which lines the
/// engine showed.
void install_numbered_message_file(const std::filesystem::path& folder, int lines);

/// Opens the data file at `path` as the host does (request 1, data input kind 6), answering
/// yes to its question; true when the request ended with status 0.
bool open_data_file(const std::filesystem::path& path);

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace qorv::testing
