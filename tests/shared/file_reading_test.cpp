// The one way readers open a file: only regular files, bounded, never waiting on a FIFO;
// and every reader in shared/ refusing what is not a regular file with its own failure.
#include "shared/file_reading.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "shared/equation_box.h"
#include "shared/ini_file.h"
#include "shared/plot_file.h"
#include "shared/zvd_file.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/special_files.h"

namespace {

namespace fs = std::filesystem;
using file_reading::Failure;
using zv_test::Special;

class SpecialPath : public ::testing::TestWithParam<Special> {
 protected:
  zv_test::ScratchFolder folder_{"zv-file-reading"};
};

Failure expected_failure(Special kind) {
  if (kind == Special::kUnreadable) return zv_test::running_as_root() ? Failure::kCannotRead : Failure::kCannotOpen;
  return kind == Special::kDanglingLink ? Failure::kCannotOpen : Failure::kNotRegular;
}

TEST_P(SpecialPath, TheRoutineRefusesAtOnce) {
  const fs::path path = folder_ / "data.zvd";
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), path);
  const auto start = std::chrono::steady_clock::now();
  const file_reading::Contents read = file_reading::read_all(path);
  EXPECT_EQ(read.failure, expected_failure(GetParam()));
  EXPECT_TRUE(read.bytes.empty());
  EXPECT_FALSE(read.system_message.empty());
  if (read.failure == Failure::kCannotRead) return;  // it opens; its reads fail
  EXPECT_FALSE(file_reading::open(path).file);
  EXPECT_FALSE(file_reading::is_readable_file(path));
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
}

TEST_P(SpecialPath, EverySharedReaderRefusesWithItsOwnFailure) {
  const fs::path path = folder_ / "file.ext";
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), path, "[Options]\nNumLines=40\n");
  const auto start = std::chrono::steady_clock::now();

  const zvd::ReadResult zvd_read = zvd::read_file(path);
  EXPECT_EQ(zvd_read.error, zvd::ReadError::kCannotOpen);
  const std::string reason = GetParam() == Special::kDanglingLink ? "No such file or directory"
                             : GetParam() == Special::kUnreadable ? zv_test::unreadable_reason()
                                                                  : "Not a regular file";
  EXPECT_EQ(zvd::read_message(zvd_read), "Could not open this file\n" + reason);

  // Settings that cannot be read are the defaults.
  EXPECT_EQ(ini::IniFile::load(path).get_int("Options", "NumLines", 60), 60);

  std::string error;
  EXPECT_FALSE(plot_file::read(path, &error).has_value());
  EXPECT_EQ(error, "cannot read " + path.string() + ": " + reason);

  EXPECT_TRUE(equation_box::read_lines(path).empty());
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
}

INSTANTIATE_TEST_SUITE_P(FileReading, SpecialPath, ::testing::ValuesIn(zv_test::kSpecials), zv_test::SpecialName{});

class SpecialWriteTarget : public SpecialPath {};

TEST_P(SpecialWriteTarget, IsRefusedAndTheZvdWriterLeavesItAsItWas) {
  const fs::path path = folder_ / "saved.zvd";
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), path);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(file_reading::writable_target(path), Failure::kNotRegular);
  zvd::DataSet set;
  set.shape.nobs = 2;
  set.shape.nvars = 1;
  set.names = {"X"};
  set.descriptions = {""};
  set.data = {1.0, 2.0};
  const zvd::WriteResult written = zvd::write_file(path, set);
  EXPECT_FALSE(written.ok);
  EXPECT_EQ(zvd::write_error_message(written), "Could not save to this file\nNot a regular file");
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  EXPECT_EQ(fs::symlink_status(path).type(), zv_test::kept_type(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(FileWriting, SpecialWriteTarget, ::testing::ValuesIn(zv_test::kWriteSpecials),
                         zv_test::SpecialName{});

TEST(FileWriting, NothingThereARegularFileOrALinkToOneMayBeWritten) {
  zv_test::ScratchFolder folder{"zv-file-reading"};
  std::ofstream(folder / "plain.txt").flush();
  fs::create_symlink(folder / "plain.txt", folder / "link.txt");
  fs::create_symlink(folder / "no-such-target", folder / "dangling.txt");
  for (const char* name : {"plain.txt", "link.txt", "dangling.txt", "new.txt", "no-folder/new.txt"})
    EXPECT_EQ(file_reading::writable_target(folder / name), Failure::kNone) << name;
}

TEST(FileReading, ARegularFileAndALinkToOneReadWhole) {
  zv_test::ScratchFolder folder{"zv-file-reading"};
  const std::string bytes("a\0b\r\n\xFF", 6);
  std::ofstream(folder / "plain.txt", std::ios::binary) << bytes;
  fs::create_symlink(folder / "plain.txt", folder / "link.txt");
  std::ofstream(folder / "empty.txt", std::ios::binary).flush();
  for (const char* name : {"plain.txt", "link.txt"}) {
    const file_reading::Contents read = file_reading::read_all(folder / name);
    EXPECT_EQ(read.failure, Failure::kNone) << name;
    EXPECT_EQ(read.bytes, bytes) << name;
  }
  EXPECT_EQ(file_reading::read_all(folder / "empty.txt").failure, Failure::kNone);
  EXPECT_TRUE(file_reading::is_readable_file(folder / "link.txt"));
}

TEST(FileReading, AFileOverTheLimitIsRefusedWithAClearMessage) {
  zv_test::ScratchFolder folder{"zv-file-reading"};
  std::ofstream(folder / "big.txt", std::ios::binary) << std::string(101, 'x');
  const file_reading::Contents read = file_reading::read_all(folder / "big.txt", 100);
  EXPECT_EQ(read.failure, Failure::kTooLarge);
  EXPECT_EQ(read.system_message, "File too large: more than 100 bytes");
  EXPECT_EQ(file_reading::read_all(folder / "big.txt", 101).bytes.size(), 101u);
  EXPECT_EQ(file_reading::describe(Failure::kTooLarge), "File too large: more than 64 MB");
  // A sparse data file past the readers' bound is refused on its size, unread.
  std::ofstream(folder / "huge.zvd").flush();
  fs::resize_file(folder / "huge.zvd", file_reading::kMaxFileBytes + 1);
  EXPECT_EQ(zvd::read_message(zvd::read_file(folder / "huge.zvd")),
            "Could not open this file\nFile too large: more than 64 MB");
}

}  // namespace
