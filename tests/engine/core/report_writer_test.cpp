// Where report lines go: the results page, the editor panel file, the file being saved,
// or an OUTALT box when no page is open.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace qorv::core;

class ReportWriterTest : public qorv::testing::EngineTest {
 protected:
  void TearDown() override {
    close_all_channels();
    EngineTest::TearDown();
  }

  // Opens channel `unit` on a new file `name` in the test folder.
  fs::path open(int unit, const std::string& name) {
    const fs::path p = dir_ / name;
    EXPECT_TRUE(open_channel(unit, p, OpenMode::kReplace));
    return p;
  }
  void open_page() {
    page_ = open(57, "J$.OOO");
    report_writer().copy_flag = true;
  }
  // The bytes of `p`, after closing every channel.
  static std::string contents(const fs::path& p) {
    close_all_channels();
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  zv_test::ScratchFolder dir_{"zv-report"};
  fs::path page_;
};

TEST_F(ReportWriterTest, PageLinesTurnHardBlanksAndNulIntoBlanks) {
  open_page();
  WRITELINE(std::string("A#B\0 \xE9#", 7), 57);
  WRITELINE("   ", 57);
  WRITELINE("model page", 58);  // the channel number of a page line is not used
  EXPECT_EQ(contents(page_), "A B  \xE9 \n   \nmodel page\n");
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(ReportWriterTest, NoPageOpenShowsOutalt) {
  const fs::path page = open(57, "J$.OOO");  // open, but no page flag
  WRITELINE("A#B" + std::string(77, ' '), 57);
  WRITELINE(std::string(70, 'x'), 8);
  ASSERT_EQ(dialog_script::transcript().size(), 2u);
  EXPECT_EQ(dialog_script::transcript()[0], "message error 0 OUTALT A B");
  EXPECT_EQ(dialog_script::transcript()[1], "message error 0 OUTALT " + std::string(65, 'x'));
  EXPECT_EQ(report_writer().outalt, "OUTALT " + std::string(65, 'x'));
  EXPECT_EQ(contents(page), "");
}

TEST_F(ReportWriterTest, PanelControlLinesAndCounter) {
  const fs::path panel = open(55, "J$.TTT");
  WRITELINE("%ABC", 55);
  WRITELINE("ABC", 55);
  WRITELINE("%", 55);
  WRITELINE("#keep# ", 55);
  EXPECT_EQ(report_writer().panel_lines, 4);
  EXPECT_EQ(contents(panel), "ABC\nABC\n\n#keep# \n");

  // A closed panel file takes nothing and no file appears; a control line that was not
  // written is not counted.
  fs::remove(panel);
  WRITELINE("%lost", 55);
  EXPECT_EQ(report_writer().panel_lines, 4);
  WRITELINE("lost", 55);
  EXPECT_EQ(report_writer().panel_lines, 5);
  EXPECT_TRUE(fs::is_empty(dir_));
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(ReportWriterTest, SavedFileTakesLinesUnchanged) {
  const fs::path saved = open(10, "results.out");
  WRITELINE(" A#B  ", 10);
  WRITEPAGEBREAK(10);
  WRITESTARS(100, 10);
  EXPECT_EQ(contents(saved), " A#B  \n \f\n" + std::string(79, '*') + "\n");
}

TEST_F(ReportWriterTest, PageBreakAndStarsOnThePage) {
  WRITEPAGEBREAK(57);  // no page: nothing, and no box
  WRITESTARS(79, 57);
  EXPECT_TRUE(dialog_script::transcript().empty());
  open_page();
  WRITESTARS(79, 57);
  WRITEPAGEBREAK(57);
  WRITESTARS(3, 99);
  EXPECT_EQ(contents(page_), std::string(79, '*') + "\n\n\n***\n");
}

TEST(HashToBlank, EveryHash) {
  std::string t = "#A##B#";
  HASHTOBLANK(t);
  EXPECT_EQ(t, " A  B ");
}

}  // namespace
