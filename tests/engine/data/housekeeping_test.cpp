// Workspace housekeeping: file names from the main program or the dialog, the file-error
// box, deleting files, the run check of usable observations, the value scan, the exit
// question and the help hint.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/file_names.h"
#include "engine/core/workspace.h"
#include "engine/data/observation_scans.h"
#include "engine/data/session_prompts.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace qorv;
namespace fs = std::filesystem;

class Housekeeping : public qorv::testing::EngineTest {
 protected:
  void TearDown() override {
    EngineTest::TearDown();
    core::close_all_channels();
  }
  zv_test::ScratchFolder folder_{"zv-housekeeping"};  ///< files made by the tests
};

TEST_F(Housekeeping, FileNameFromTheMainProgram) {
  const struct {
    const char* setting;
    const char* name;
  } cases[] = {
      {"MYDATA", "MYDATA.LST"},
      {"  /home/ann/run.1/results  ", "/home/ann/run.1/results.LST"},  // the folder's "." does not count
      {"/home/ann/data.lst", "/home/ann/data.lst"},
      {"notes.", "notes."},
  };
  for (const auto& c : cases) {
    core::set_char_setting(charset::kDataFile, c.setting);
    std::string name;
    EXPECT_TRUE(core::GETFILENAME(name, "LST", core::kSaveFile));
    EXPECT_EQ(name, c.name);
    EXPECT_TRUE(fixed_text::trim(core::char_setting(charset::kDataFile)).empty());
  }
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(Housekeeping, FileNameFromTheDialog) {
  dialog_script::load("strict\nfile \"save LST\" -> /tmp/out.lst\nfile \"open DAT\" -> cancel\n");
  std::string name = "unchanged";
  EXPECT_TRUE(core::GETFILENAME(name, "LST", core::kSaveFile));
  EXPECT_EQ(name, "/tmp/out.lst");
  EXPECT_FALSE(core::GETFILENAME(name, "DAT", core::kOpenFile));
  EXPECT_EQ(name, "/tmp/out.lst");
}

TEST_F(Housekeeping, OpeningAFileForReading) {
  const fs::path path = folder_ / "in.dat";
  std::ofstream(path) << "1 2\n";
  core::set_char_setting(charset::kDataFile, path.string());
  EXPECT_TRUE(core::OPENOUTFILE(core::channel::kDataInput, "DAT"));
  std::string record;
  EXPECT_EQ(core::read_record(core::channel::kDataInput, record), core::ReadStatus::kOk);
  EXPECT_EQ(record, "1 2");

  // A missing file, or a folder, shows the file-error box and opens nothing.
  for (const fs::path& bad : {folder_ / "absent.dat", folder_.path()}) {
    dialog_script::reset();
    core::set_char_setting(charset::kDataFile, bad.string());
    EXPECT_FALSE(core::OPENOUTFILE(core::channel::kDataInput, "DAT"));
    EXPECT_FALSE(core::channel_is_open(core::channel::kDataInput));
    EXPECT_EQ(dialog_script::transcript_text(),
              "message long\n"
              "    Error in file specification! This could be due to one of the following:\n"
              "    1: You may have mis-typed the file name.\n"
              "    2: There is insufficient space on disk. Remember that you need at least\n"
              "       8MB of free hard disk space for Zelvorin to run smoothly.\n"
              "    3: You may be attempting to write to a write protected disk.\n"
              "    4: The file you are trying to read/write may be currently in use by another\n"
              "       application.\n"
              "    5: You may be attempting to write onto a read only file.\n"
              "    6: You may not have permission to read/write on the disk/directory you have\n"
              "       chosen.\n");
  }
  // Each line goes 80 characters wide.
  EXPECT_EQ(dialog_script::calls().back().items.size(), 10u);
}

TEST_F(Housekeeping, DeletingAFile) {
  const fs::path path = folder_ / "old.tmp";
  std::ofstream(path) << "x";
  core::DELETEFILE(path);
  EXPECT_FALSE(fs::exists(path));
  core::DELETEFILE(path);  // already gone: nothing happens
}

TEST_F(Housekeeping, RunOfUsableObservations) {
  const struct {
    std::vector<int> flags;
    int start, finish;
    bool run;
  } cases[] = {
      {{1, 1, 2, 2}, 1, 4, true},
      {{2, 2, 1}, 1, 3, false},
      {{2, 1, 2}, 1, 3, false},
      {{2, 1, 2}, 2, 3, true},   // the break lies before the range's first usable flag
      {{2, 2, 1}, 1, 2, true},   // the break lies after the range
      {{0, 0, 0}, 1, 3, true},
      {{2, 2}, 1, 9, true},      // observations past the flags are not read
  };
  for (const auto& c : cases) EXPECT_EQ(data::CHECKFLAGRUN(c.start, c.finish, c.flags), c.run);
}

TEST_F(Housekeeping, FirstMissingValueOfListedVariables) {
  auto& g = core::globals();
  g.nobs = 4;
  g.nvars = 3;
  const double M = limits::kMissing;
  const double columns[3][4] = {{1, 2, 3, 4}, {5, M, 7, M}, {M, 1, 1, 1}};
  for (int j = 1; j <= 3; ++j)
    for (int t = 1; t <= 4; ++t) core::data_at(t, j) = columns[j - 1][t - 1];
  const std::vector<int> list = {1, 3, 2};
  auto found = data::FINDVALUEVAR(list, 1, 4, M);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->list_position, 2);  // variable 3, the second listed
  EXPECT_EQ(found->observation, 1);
  found = data::FINDVALUEVAR(list, 2, 4, M);
  ASSERT_TRUE(found);
  EXPECT_EQ(found->list_position, 3);
  EXPECT_EQ(found->observation, 2);
  EXPECT_FALSE(data::FINDVALUEVAR(std::vector<int>{1, 7}, 1, 9, M));  // 7 is no variable
}

TEST_F(Housekeeping, CeilingDivision) {
  const struct { int a, b, q, r; } cases[] = {{10, 5, 2, 5}, {11, 5, 3, 1}, {0, 4, 0, 4}, {3, 0, 0, 0}};
  for (const auto& c : cases) {
    const auto d = data::CEILDIV(c.a, c.b);
    EXPECT_EQ(d.quotient, c.q) << c.a << "/" << c.b;
    EXPECT_EQ(d.remainder, c.r) << c.a << "/" << c.b;
  }
}

TEST_F(Housekeeping, ExitQuestion) {
  // Leaving the program closes the results file being saved and deletes the panel file.
  const fs::path panel = folder_ / "panel";
  const fs::path results = folder_ / "results.out";
  ASSERT_TRUE(core::open_channel(core::channel::kEditorPanel, panel, core::OpenMode::kReplace));
  ASSERT_TRUE(core::open_channel(core::channel::kSavedResults, results, core::OpenMode::kReplace));
  dialog_script::load(R"S(strict
yesno "exit" -> no
yesno "new data file" -> yes
yesno "exit" -> yes
)S");
  EXPECT_FALSE(data::CONFIRMEXIT(data::kExitProgram));
  EXPECT_TRUE(core::channel_is_open(core::channel::kEditorPanel));
  EXPECT_TRUE(data::CONFIRMEXIT(data::kNewDataFile));
  EXPECT_TRUE(core::channel_is_open(core::channel::kEditorPanel));
  EXPECT_TRUE(data::CONFIRMEXIT(data::kExitProgram));
  EXPECT_FALSE(core::channel_is_open(core::channel::kEditorPanel));
  EXPECT_FALSE(core::channel_is_open(core::channel::kSavedResults));
  EXPECT_FALSE(fs::exists(panel));
  EXPECT_TRUE(fs::exists(results));
  EXPECT_EQ(dialog_script::transcript_text(),
            "yesno 0 Are you sure you want to exit Zelvorin? -> no\n"
            "yesno 0 Are you sure you want to start with a new data file? -> yes\n"
            "yesno 0 Are you sure you want to exit Zelvorin? -> yes\n");
}

TEST_F(Housekeeping, HelpHint) {
  data::FUNCHELPHINT();
  EXPECT_EQ(dialog_script::transcript_text(),
            "message information 0 For help on functions or commands, please move cursor to appropriate list and "
            "press <F1>\n");
}

}  // namespace
