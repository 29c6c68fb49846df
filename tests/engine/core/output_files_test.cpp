// The editor panel file and its modes.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/channels.h"
#include "engine/core/output_files.h"
#include "engine/core/report_writer.h"
#include "tests/engine/core/long_temp_folder.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

namespace fs = std::filesystem;
using namespace qorv::core;

class EditorPanelTest : public qorv::testing::LongTempFolderTest {
 protected:
  fs::path panel() const { return folder_ / "J$.TTT"; }
};

TEST_F(EditorPanelTest, CreatingTwiceStartsAnEmptyFileAndCounter) {
  int status = -1;
  OPENTEMPFILE(kCreatePanel, status);
  EXPECT_EQ(status, 0);
  WRITELINE("%Syntax:", channel::kEditorPanel);
  WRITELINE(" Y X", channel::kEditorPanel);
  EXPECT_EQ(report_writer().panel_lines, 2);
  OPENTEMPFILE(kCreatePanel, status);
  EXPECT_EQ(report_writer().panel_lines, 0);
  WRITELINE(" Z", channel::kEditorPanel);
  close_channel(channel::kEditorPanel);
  EXPECT_EQ(contents(panel()), " Z\n");
}

TEST_F(EditorPanelTest, DeletingClosesAndRemovesAndOtherModesDoNothing) {
  int status = -1;
  OPENTEMPFILE(kCreatePanel, status);
  WRITELINE(" kept", channel::kEditorPanel);
  OPENTEMPFILE(2, status);  // no such mode: file, channel and counter untouched
  EXPECT_TRUE(channel_is_open(channel::kEditorPanel));
  EXPECT_EQ(report_writer().panel_lines, 1);
  OPENTEMPFILE(kDeletePanel, status);
  EXPECT_FALSE(channel_is_open(channel::kEditorPanel));
  EXPECT_FALSE(fs::exists(panel()));
  OPENTEMPFILE(kDeletePanel, status);  // nothing left to delete
  EXPECT_FALSE(fs::exists(panel()));
}

TEST_F(EditorPanelTest, AFolderThatCannotTakeTheFileGivesStatusOne) {
  set_char_setting(charset::kTempFolder, (root_ / "missing").string());
  report_writer().panel_lines = 5;
  int status = 0;
  OPENTEMPFILE(kCreatePanel, status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(report_writer().panel_lines, 0);
  ASSERT_EQ(dialog_script::transcript().size(), 1u);
  EXPECT_EQ(dialog_script::transcript()[0],
            "message error 0 Unable to create temporary file Try changing temporary file location in Options Startup "
            "or consult system administrator.");
  WRITELINE(" lost", channel::kEditorPanel);
  EXPECT_FALSE(fs::exists(root_ / "missing"));
}

class OutputFileTest : public qorv::testing::LongTempFolderTest {};

TEST_F(OutputFileTest, AnExistingFileIsReplacedByTheCallersRecordsOnly) {
  const fs::path target = root_ / "saved data.DAT";
  std::ofstream(target) << "old contents\n";
  dialog_script::load("file \"save data DAT\" -> \"" + target.string() + "\"\n");
  int kind = kTextDataFile;
  std::string name;
  OPENFILE(kind, "DAT", name);
  EXPECT_EQ(kind, kTextDataFile);
  EXPECT_EQ(name, target.string());
  ASSERT_TRUE(channel_is_open(channel::kUserOutput));
  write_record(channel::kUserOutput, "1 2 3");
  EXPECT_EQ(contents(target), "old contents\n");  // untouched until the new file is complete
  EXPECT_TRUE(close_channel(channel::kUserOutput));
  EXPECT_EQ(contents(target), "1 2 3\n");
}

TEST_F(OutputFileTest, ZvdKindLeavesNoChannelAndNoFile) {
  const fs::path target = root_ / "new.ZVD";
  dialog_script::load("file -> \"" + target.string() + "\"\n");
  int kind = kZvdDataFile;
  std::string name;
  OPENFILE(kind, "ZVD", name);
  EXPECT_EQ(kind, kZvdDataFile);
  EXPECT_FALSE(channel_is_open(channel::kUserOutput));
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(OutputFileTest, TheDataFileSettingNamesTheFileWithoutADialog) {
  set_char_setting(charset::kDataFile, (root_ / "MYEQ").string());
  int kind = kEditorTextFile;
  std::string name;
  OPENFILE(kind, "EQU", name);
  EXPECT_EQ(kind, kEditorTextFile);
  EXPECT_EQ(name, (root_ / "MYEQ.EQU").string());
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(OutputFileTest, CancelOrAFolderThatCannotTakeTheFileReturnsKindZero) {
  dialog_script::load("file -> cancel once\nfile -> \"" + (root_ / "no folder" / "x.LST").string() + "\"\n");
  for (int start : {kEditorTextFile, kEditorTextFile, kZvdDataFile}) {
    int kind = start;
    std::string name;
    OPENFILE(kind, "LST", name);
    EXPECT_EQ(kind, 0);
    EXPECT_FALSE(channel_is_open(channel::kUserOutput));
  }
  const std::string transcript = dialog_script::transcript_text();
  std::size_t boxes = 0;
  for (std::size_t at = transcript.find("Error in file specification!"); at != std::string::npos;
       at = transcript.find("Error in file specification!", at + 1))
    ++boxes;
  EXPECT_EQ(boxes, 2u);  // not after the cancel
  EXPECT_FALSE(fs::exists(root_ / "no folder"));
}

}  // namespace
