// The engine's dialog wrappers, seen through the scripted stand-in: what reaches the
// dialog (kinds, help contexts, texts and widths) and what comes back.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "shared/zvd_file.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace qorv::core;
using Lines = std::vector<std::string>;
namespace fs = std::filesystem;

class DialogBridgeTest : public qorv::testing::EngineTest {
 protected:
  void TearDown() override {
    close_all_channels();
    EngineTest::TearDown();
  }
  const Lines& transcript() { return dialog_script::transcript(); }
  zv_test::ScratchFolder folder_{"zv-dialog-bridge"};
};

TEST_F(DialogBridgeTest, MessageBoxesCarryKindHelpAndTrimmedText) {
  SHOWOK(kError, 2019, "Cannot open file   ");
  SHOWOK(kWarning, 0, std::string(300, 'x'));
  SHOWMESSAGE("   Not enough observations!   ");
  DISKSPACEMESSAGE();
  EXPECT_EQ(transcript(), (Lines{"message error 2019 Cannot open file", "message warning 0 " + std::string(255, 'x'),
                                 "message information 0 Not enough observations!",
                                 "message error 0  There is not enough free hard disk to carry out computations!"}));
  EXPECT_EQ(dialog_script::calls()[0].text, "Cannot open file");  // the trimmed length goes with it
  EXPECT_EQ(dialog_script::calls()[1].text.size(), 255u);
}

TEST_F(DialogBridgeTest, IntegerQuestionsAndTheirRePrompts) {
  dialog_script::load(R"(
    integer "order" -> 99 once
    integer "order" -> 3 once
    integer "typed" -> "two"
    integer -> cancel
  )");
  // A caller that accepts 0..12 and beeps and asks again otherwise.
  int value = 1, status = 0;
  for (;;) {
    status = 0;
    ASKINTEGER(2019, value, status, " Order of LM test (maximum 12)?   ");
    if (status != kDialogOk || (value >= 0 && value <= 12)) break;
    BEEP();
  }
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(value, 3);
  // Text that is not an integer reads like Cancel: status 2, value 0.
  for (const char* prompt : {"Number typed as text?", "Window length?"}) {
    value = 5;
    status = 0;
    ASKINTEGER(0, value, status, prompt);
    EXPECT_EQ(status, kDialogCancel) << prompt;
    EXPECT_EQ(value, 0) << prompt;
  }
  EXPECT_EQ(transcript(), (Lines{"integer 2019 Order of LM test (maximum 12)? -> 99", "beep",
                                 "integer 2019 Order of LM test (maximum 12)? -> 3",
                                 "integer 0 Number typed as text? -> \"two\"", "integer 0 Window length? -> cancel"}));
  // the value shown the second time is the answer of the first
  EXPECT_EQ(dialog_script::calls()[2].detail, 99);
  EXPECT_EQ(dialog_script::calls()[0].text, " Order of LM test (maximum 12)?");
}

TEST_F(DialogBridgeTest, QuestionWithoutCancelButton) {
  int value = 4, status = kDialogOk;  // status 1 on entry: no Cancel button
  ASKINTEGER(0, value, status, "Number of cointegrating vectors?");
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);  // the script had no answer
  EXPECT_EQ(transcript(), (Lines{"integer 0 Number of cointegrating vectors? -> UNMATCHED default 4"}));
}

TEST_F(DialogBridgeTest, RealsStringsAndYesNo) {
  dialog_script::load(R"(
    real "damping" -> 0.01
    real -> cancel
    string "name" -> "LGDP"
    string -> cancel
    yesno "continue" -> yes
    yesno -> no
  )");
  float damping = 1.0f;
  int status = 0;
  ASKREAL(2017, damping, status, "Damping factor?");
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(damping, 0.01f);
  ASKREAL(0, damping, status, "Other?");
  EXPECT_EQ(status, kDialogCancel);
  EXPECT_EQ(damping, 0.0f);

  std::string name = "OLD";
  ASKSTRING(0, status, "New name?", name, 9);
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(name, "LGDP     ");
  EXPECT_EQ(dialog_script::calls()[2].items, (Lines{"OLD"}));  // the default shown
  std::string kept = "1970 1990";
  ASKSTRING(0, status, "Sample?", kept, 32);
  EXPECT_EQ(status, kDialogCancel);
  EXPECT_EQ(kept, "1970 1990");

  EXPECT_TRUE(ASKYESNO(0, "Do you wish to continue?"));
  EXPECT_FALSE(ASKYESNO(0, "Quit?"));
}

TEST_F(DialogBridgeTest, OptionListsArePassedEightyWide) {
  dialog_script::load("menu -> 2\nchoices -> 1 3\n");
  const Lines options = {"1. One", "2. " + std::string(90, 'y'), "3. Three"};
  int status = 0, index = 1;
  ASKONEOPTION(2004, status, index, " Some Menu ", options);
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(index, 1);
  const auto& call = dialog_script::calls()[0];
  EXPECT_EQ(call.detail, 1);
  EXPECT_EQ(call.text, " Some Menu");
  ASSERT_EQ(call.items.size(), 3u);
  EXPECT_EQ(call.items[0], "1. One" + std::string(74, ' '));
  EXPECT_EQ(call.items[1], "2. " + std::string(77, 'y'));

  std::vector<int> flags = {0, 1, 0};
  ASKSOMEOPTIONS(0, status, flags, "Choose", Lines{" quit", "Y", "X"});
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(flags, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(dialog_script::calls()[1].items[0].size(), 80u);
}

TEST_F(DialogBridgeTest, ValueGridAndFileDialog) {
  dialog_script::load("values -> 0.5 2\nfile \"save OUT\" -> /data/run.OUT\nfile -> cancel\n");
  std::vector<double> values = {1, 1};
  int status = 0;
  ASKVALUES(values, Lines{"A1", "A2"}, 2023, status, "Initial values");
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(values, (std::vector<double>{0.5, 2}));
  EXPECT_EQ(dialog_script::calls()[0].items, (Lines{"A1            ", "A2            "}));

  std::string name = "old.OUT";
  int result = 0;
  ASKFILE(name, kSaveFile, "OUT", result);
  EXPECT_EQ(result, kDialogOk);
  EXPECT_EQ(name, "/data/run.OUT");
  ASKFILE(name, kOpenFile, "BAT", result);
  EXPECT_EQ(result, kDialogCancel);
  EXPECT_EQ(name, "/data/run.OUT");
  EXPECT_EQ(dialog_script::calls()[1].items, (Lines{"old.OUT"}));
}

TEST_F(DialogBridgeTest, EditorGetsTheNamesAndThePanelFileStaysOpenForAppending) {
  globals().nvars = 2;
  set_variable(1, "Y", "");
  set_variable(2, "X", "");
  const fs::path panel = folder_ / "J$.TTT";
  ASSERT_TRUE(open_channel(channel::kEditorPanel, panel, OpenMode::kReplace));
  ASSERT_TRUE(write_record(channel::kEditorPanel, "first"));
  dialog_script::load("text \"equation\" -> \"Y C\\nX\"\n");
  std::string text = "old";
  int status = 0;
  EDITTEXTFILE("Specify the equation", 78, 40, 2005, status, 1, "EQU", text);
  EXPECT_EQ(status, kDialogOk);
  EXPECT_EQ(text, "Y C X" + std::string(3120 - 5, ' '));
  EXPECT_EQ(dialog_script::calls()[0].items, (Lines{"Y             ", "X             "}));
  ASSERT_TRUE(channel_is_open(channel::kEditorPanel));
  ASSERT_TRUE(write_record(channel::kEditorPanel, "second"));
  close_channel(channel::kEditorPanel);
  std::ifstream in(panel);
  std::string a, b;
  std::getline(in, a);
  std::getline(in, b);
  EXPECT_EQ(a, "first");
  EXPECT_EQ(b, "second");

  dialog_script::load("text -> cancel\n");
  EDITTEXTFILE("Again", 78, 40, 0, status, 2, "LST", text);
  EXPECT_EQ(status, kDialogCancel);
  EXPECT_FALSE(channel_is_open(channel::kEditorPanel));  // nothing was open, nothing is opened
}

TEST_F(DialogBridgeTest, BusyStateAndCalculatingNotice) {
  SHOWCALCULATING();
  STOPCALC();
  EXPECT_EQ(transcript(), (Lines{"busy begin Calculating or writing to file! Please wait...", "busy end"}));
}

TEST_F(DialogBridgeTest, ResultsViewerAndGraphWindow) {
  const fs::path page = folder_ / "J$.OOO";
  std::ofstream(page) << " Ordinary Least Squares Estimation\n";
  const fs::path plot = folder_ / "plot1.$$$";
  std::ofstream(plot) << " Actual and Fitted Values\n *\n";
  dialog_script::load("results -> save-results /data/a.OUT\ngraph -> keep\n");
  std::string results, model = "m.MOD";
  EXPECT_EQ(SHOWRESULTSPAGE(page.string(), results, model, 1), 3);
  EXPECT_EQ(results, "/data/a.OUT");
  EXPECT_EQ(model, "m.MOD");
  EXPECT_TRUE(SHOWPLOTFILE(plot.string()));
  EXPECT_EQ(transcript(), (Lines{"results 0 J$.OOO -> save-results /data/a.OUT", "--- page 1 ---",
                                 " Ordinary Least Squares Estimation", "--- end page ---",
                                 "graph 0 plot1.$$$ Actual and Fitted Values -> keep"}));
}

TEST_F(DialogBridgeTest, DataFilesAreWrittenThroughTheLibrary) {
  const std::string names = "A             B             ";
  const std::string descs = "first" + std::string(75, ' ') + "second";
  const std::vector<double> data = {1, 2, 3, 4, 5, 6};
  const DataFileHeader header{.nobs = 3, .nvars = 2, .frequency = 2, .periods_per_year = 1,
                              .start_year = 1990, .start_period = 1, .century_base = 0};
  const fs::path file = folder_ / "out.zvd";
  EXPECT_EQ(WRITEDATAFILE(header, names, 14, descs, 80, file.string(), data), 0);
  const zvd::ReadResult back = zvd::read_file(file);
  ASSERT_EQ(back.error, zvd::ReadError::kNone);
  EXPECT_EQ(back.data_set.names, (Lines{"A", "B"}));
  EXPECT_EQ(back.data_set.descriptions, (Lines{"first", "second"}));
  EXPECT_EQ(back.data_set.data, data);
  EXPECT_EQ(back.data_set.shape.start_year, 1990);

  // A folder that does not exist: status 1 after the library's error box.
  EXPECT_EQ(WRITEDATAFILE(header, names, 14, descs, 80, (folder_ / "no" / "x.zvd").string(), data), 1);
  EXPECT_TRUE(transcript().back().starts_with("message error 0 Could not save to this file"));
  // Arguments that do not fit are refused before the library is called.
  const std::size_t shown = dialog_script::calls().size();
  EXPECT_EQ(WRITEDATAFILE(header, names, 14, descs, 80, file.string(), std::vector<double>(5)), 1);
  EXPECT_EQ(dialog_script::calls().size(), shown);
}

class MessageFileTest : public DialogBridgeTest {
 protected:
  void SetUp() override {
    DialogBridgeTest::SetUp();
    std::ofstream out(folder_ / "ERROR4.ZQT", std::ios::binary);
    for (int i = 1; i <= 30; ++i) out << "Line " << i << (i % 2 == 0 ? "\r\n" : "\n");
    set_char_setting(charset::kProgramFolder, folder_.string());
  }
};

TEST_F(MessageFileTest, OneLineInAnInformationBoxSeveralInALongMessage) {
  SHOWMSGFILE(2, 2);
  SHOWMSGLINES(5, 7);
  EXPECT_EQ(transcript(), (Lines{"message information 0 Line 2", "message long", "  Line 5", "  Line 6", "  Line 7"}));
  EXPECT_EQ(dialog_script::calls()[1].items[1], "Line 6" + std::string(74, ' '));
}

TEST_F(MessageFileTest, AtMostTwentyLines) {
  SHOWMSGFILE(1, 30);
  ASSERT_EQ(dialog_script::calls().size(), 1u);
  EXPECT_EQ(dialog_script::calls()[0].items.size(), 20u);
  EXPECT_EQ(transcript().back(), "  Line 20");
}

TEST_F(MessageFileTest, MissingFileOrLinesGiveAnErrorBox) {
  SHOWMSGFILE(29, 32);
  const std::string file = (folder_ / "ERROR4.ZQT").string();
  EXPECT_EQ(transcript().back(), "message error 0 The message file " + file + " has no lines 31 to 32.");
  fs::remove(folder_ / "ERROR4.ZQT");
  SHOWMSGFILE(4, 4);
  EXPECT_EQ(transcript().back(), "message error 0 The message file " + file + " cannot be opened to show line 4.");
}

}  // namespace
