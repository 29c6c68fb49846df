// Every engine road that reads a file the user names, given a path that is not a regular
// file: each ends at once with its own file-error message and the data set unchanged.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "engine/data/data_adding.h"
#include "engine/data/data_commands.h"
#include "engine/data/data_input.h"
#include "engine/data/support_files.h"
#include "shared/exchange_slots.h"
#include "shared/file_reading.h"
#include "tests/engine/data/old_data_set.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/special_files.h"

namespace {

using namespace qorv;
namespace fs = std::filesystem;
using qorv::testing::expect_old_data_set;
using zv_test::Special;

const std::string kFileBox = "    Error in file specification! This could be due to one of the following:";

class SpecialFileRoads : public qorv::testing::EngineTest, public ::testing::WithParamInterface<Special> {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    qorv::testing::install_old_data_set();
  }

  static bool shown(const std::string& line) {
    for (const std::string& t : dialog_script::transcript())
      if (t == line) return true;
    return false;
  }

  zv_test::ScratchFolder folder_{"zv-special-roads"};
};

TEST_P(SpecialFileRoads, TextAsciiAndTsdInputShowTheFileBox) {
  const struct {
    int kind;
    const char* name;
  } roads[] = {{data::kInputAscii, "data.dat"}, {data::kInputText, "data.csv"}, {data::kInputTsd, "data.tsd"}};
  for (const auto& road : roads) {
    SCOPED_TRACE(road.name);
    // As root the unreadable file opens, and the ASCII dialogue comes before its first read.
    if (GetParam() == Special::kUnreadable && zv_test::running_as_root() && road.kind == data::kInputAscii) continue;
    ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), folder_ / road.name);
    dialog_script::reset();
    dialog_script::load("yesno \"can take a long time\" -> yes\n");
    core::set_slot(slots::kDataInputKind, road.kind);
    core::set_char_setting(charset::kDataFile, (folder_ / road.name).string());
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    data::DATAINPUTMENU(status, data::DataInputRoad::kRequest);
    EXPECT_LT(zv_test::seconds_since(start), 1.0);
    EXPECT_EQ(status, data::kInputFailed);
    // A file that opens but cannot be read fails at its first record, with the reader's
    // own read error.
    const bool read_error = dialog_script::transcript_text().find("rror in reading") != std::string::npos;
    EXPECT_TRUE(shown(kFileBox) || (GetParam() == Special::kUnreadable && read_error))
        << dialog_script::transcript_text();
    EXPECT_FALSE(core::channel_is_open(core::channel::kDataInput));
    expect_old_data_set();
  }
}

TEST_P(SpecialFileRoads, AddingAZvdFileNamesTheReason) {
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), folder_ / "more.zvd");
  dialog_script::load("file -> \"" + (folder_ / "more.zvd").string() + "\"\n");
  const auto start = std::chrono::steady_clock::now();
  data::ADDDATAFILE();
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  ASSERT_EQ(dialog_script::transcript().size(), 2u) << dialog_script::transcript_text();
  EXPECT_EQ(dialog_script::transcript()[1], "message error 0 Could not open this file " +
                                                 std::string(GetParam() == Special::kDanglingLink ? "No such file or directory"
                                                             : GetParam() == Special::kUnreadable ? zv_test::unreadable_reason()
                                                                                                  : "Not a regular file"));
  expect_old_data_set();
}

TEST_P(SpecialFileRoads, ABatchFileShowsTheFileBoxAndTheCommandsGoOn) {
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), folder_ / "run.bat");
  const auto start = std::chrono::steady_clock::now();
  data::run_commands("BATCH " + (folder_ / "run.bat").string() + "; A = 1");
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  EXPECT_TRUE(shown(kFileBox)) << dialog_script::transcript_text();
  EXPECT_EQ(core::globals().nvars, 2);  // A = 1 ran after the refusal
}

TEST_P(SpecialFileRoads, SupportAndMessageFilesAreMissingOrCorrupt) {
  if (GetParam() == Special::kUnreadable && zv_test::running_as_root())
    GTEST_SKIP() << "as root the unreadable support file opens; only its reads fail";
  // The program folder holds the special in place of each file; the installed folder holds
  // no calendar file.
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), folder_ / "DATES.CSV");
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), folder_ / "ERROR4.ZQT");
  core::set_char_setting(charset::kProgramFolder, folder_.string());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(data::OPENSUPPORTFILE("DATES.CSV", core::channel::kSupport));
  core::SHOWMSGFILE(3, 3);
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  const std::vector<std::string> expected = {
      "message error 0 The file DATES.CSV is missing or corrupt. Unable to proceed.",
      "message error 0 The message file " + (folder_ / "ERROR4.ZQT").string() + " cannot be opened to show line 3."};
  EXPECT_EQ(dialog_script::transcript(), expected);
}

class FileBound : public qorv::testing::EngineTest {};

TEST_F(FileBound, AFileOverTheBoundIsRefusedWithItsSize) {
  // Sparse: the bound is checked on the size before any byte is read.
  zv_test::ScratchFolder folder{"zv-special-roads"};
  const fs::path path = folder / "huge.csv";
  std::ofstream(path).flush();
  fs::resize_file(path, file_reading::kMaxFileBytes + 1);
  qorv::testing::install_old_data_set();
  core::set_slot(slots::kDataInputKind, data::kInputText);
  core::set_char_setting(charset::kDataFile, path.string());
  int status = 0;
  const auto start = std::chrono::steady_clock::now();
  data::DATAINPUTMENU(status, data::DataInputRoad::kRequest);
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  EXPECT_EQ(status, data::kInputFailed);
  EXPECT_EQ(dialog_script::transcript().back(), "message error 0 File too large: more than 64 MB");
  expect_old_data_set();
}

INSTANTIATE_TEST_SUITE_P(EveryReader, SpecialFileRoads, ::testing::ValuesIn(zv_test::kSpecials),
                         zv_test::SpecialName{});

#ifdef ZV_QORV_RUN
class SpecialPrintTarget : public ::testing::TestWithParam<Special> {};

// The runner's --print-data on a folder, FIFO or device link: "cannot write" at once, the
// special left as it was.
TEST_P(SpecialPrintTarget, TheRunnerRefusesToPrintThere) {
  const zv_test::ScratchFolder folder{"zv-special-print"};
  const fs::path target = folder / "printed.csv", errors = folder / "errors.txt";
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), target);
  const std::string command = std::string("timeout 10 '") + ZV_QORV_RUN + "' --print-data '" + target.string() +
                              "' > /dev/null 2> '" + errors.string() + "'";
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
  std::ifstream in(errors);
  std::string first;
  std::getline(in, first);
  EXPECT_EQ(first, "qorv-run: cannot write " + target.string());
  EXPECT_EQ(fs::symlink_status(target).type(), zv_test::kept_type(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Runner, SpecialPrintTarget, ::testing::ValuesIn(zv_test::kWriteSpecials),
                         zv_test::SpecialName{});
#endif

}  // namespace
