// A folder of a test's own under the system's temporary folder, made empty on
// construction and removed with everything in it on destruction.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

namespace zv_test {

class ScratchFolder {
 public:
  /// "<tag>-<test name>-<process id>" under the temporary folder.
  explicit ScratchFolder(const std::string& tag)
      : path_(std::filesystem::temp_directory_path() / (tag + "-" + test_name() + "-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  operator const std::filesystem::path&() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  std::string string() const { return path_.string(); }

 private:
  static std::string test_name() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return info ? info->name() : "none";
  }

  std::filesystem::path path_;  ///< the folder
};

}  // namespace zv_test
