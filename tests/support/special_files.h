// Paths that are not what their names promise: a folder, a FIFO, a link to a device, a
// dangling link and a file nobody may read, for the table tests of every file reader.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

namespace zv_test {

enum class Special { kFolder, kFifo, kDeviceLink, kDanglingLink, kUnreadable };

inline constexpr std::array<Special, 5> kSpecials = {Special::kFolder, Special::kFifo, Special::kDeviceLink,
                                                     Special::kDanglingLink, Special::kUnreadable};

/// The rows a writer must refuse: something that exists and is not a regular file.
inline constexpr std::array<Special, 3> kWriteSpecials = {Special::kFolder, Special::kFifo, Special::kDeviceLink};

/// A name for test output ("Folder", "Fifo", ...).
inline std::string special_name(Special kind) {
  switch (kind) {
    case Special::kFolder: return "Folder";
    case Special::kFifo: return "Fifo";
    case Special::kDeviceLink: return "DevZeroLink";
    case Special::kDanglingLink: return "DanglingLink";
    case Special::kUnreadable: return "Unreadable";
  }
  return "Unknown";
}

/// For INSTANTIATE_TEST_SUITE_P: the row's name.
struct SpecialName {
  std::string operator()(const ::testing::TestParamInfo<Special>& info) const { return special_name(info.param); }
};

/// True when the tests run as the superuser, who may read any file.
inline bool running_as_root() { return ::geteuid() == 0; }

/// The system's reason for the unreadable row: a file without read permission; as root,
/// who reads any file, a link to /proc/self/mem, a regular file that opens but whose
/// first read fails.
inline std::string unreadable_reason() { return running_as_root() ? "Input/output error" : "Permission denied"; }

/// Makes `kind` at `path` (whose folder exists); an unreadable file holds `content`. False
/// when it cannot be made here.
inline bool make_special(Special kind, const std::filesystem::path& path, const std::string& content = "x\n") {
  namespace fs = std::filesystem;
  std::error_code ec;
  switch (kind) {
    case Special::kFolder: return fs::create_directories(path, ec);
    case Special::kFifo: return ::mkfifo(path.c_str(), 0600) == 0;
    case Special::kDeviceLink: {
      // The superuser links to a zero device of the test's own, so that a writer that
      // wrongly replaces the link's target replaces that node and never the system's.
      fs::path device = "/dev/zero";
      if (running_as_root()) {
        device = path.string() + ".zero-device";
        if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 5)) != 0) return false;
      }
      fs::create_symlink(device, path, ec);
      return !ec;
    }
    case Special::kDanglingLink: fs::create_symlink(path.parent_path() / "no-such-target", path, ec); return !ec;
    case Special::kUnreadable:
      if (running_as_root()) {
        fs::create_symlink("/proc/self/mem", path, ec);
        return !ec;
      }
      std::ofstream(path, std::ios::binary) << content;
      return ::chmod(path.c_str(), 0) == 0;
  }
  return false;
}

/// What a refused writer leaves at the path of `kind` (links are not followed): the
/// special itself, not a regular file put in its place.
inline std::filesystem::file_type kept_type(Special kind) {
  namespace fs = std::filesystem;
  switch (kind) {
    case Special::kFolder: return fs::file_type::directory;
    case Special::kFifo: return fs::file_type::fifo;
    case Special::kDeviceLink:
    case Special::kDanglingLink:
    case Special::kUnreadable: return running_as_root() || kind != Special::kUnreadable ? fs::file_type::symlink
                                                                                         : fs::file_type::regular;
  }
  return fs::file_type::none;
}

/// Skips the current test when `kind` cannot be made at `path`.
#define ZV_MAKE_SPECIAL_OR_SKIP(kind, path, ...)                                                   \
  do {                                                                                             \
    if (!::zv_test::make_special(kind, path __VA_OPT__(, ) __VA_ARGS__))                            \
      GTEST_SKIP() << ::zv_test::special_name(kind) << " cannot be made here";                     \
  } while (false)

/// Seconds since `start`.
inline double seconds_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace zv_test
