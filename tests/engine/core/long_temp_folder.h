// Engine tests whose temporary folder (character setting 4) has a path over 100
// characters long with blanks in it, as users' home folders often do.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {

class LongTempFolderTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    root_ = std::filesystem::temp_directory_path() /
            ("zv results " + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + " " +
             std::to_string(::getpid()));
    folder_ = root_ / "a folder with blanks whose name is long enough to pass one hundred characters";
    std::filesystem::remove_all(root_);
    std::filesystem::create_directories(folder_);
    ASSERT_GT(folder_.string().size(), 100u);
    core::set_char_setting(charset::kTempFolder, folder_.string() + "/");
  }
  void TearDown() override {
    core::close_all_channels();
    std::filesystem::remove_all(root_);
    EngineTest::TearDown();
  }

  /// The bytes of the file at `path`.
  static std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  /// The lines of the file at `path` (without their "\n").
  static std::vector<std::string> lines_of(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::filesystem::path root_;    ///< removed after the test
  std::filesystem::path folder_;  ///< the temporary folder
};

}  // namespace qorv::testing
