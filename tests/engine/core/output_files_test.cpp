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

}  // namespace
