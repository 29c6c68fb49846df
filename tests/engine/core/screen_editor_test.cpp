#include "engine/core/screen_editor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "shared/equation_box.h"
#include "shared/exchange_slots.h"
#include "shared/qorv_api.h"
#include "tests/engine/core/spec_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv;

class ScreenEditor : public qorv::testing::SpecTest {
 protected:
  std::filesystem::path box_file() const { return folder_ / "E$.TTT"; }
  static int32_t slot25() {
    int32_t v = 0;
    const int16_t n = 25;
    RETRIEVEINT(&v, &n);
    return v;
  }
  static int edit(std::string& text, std::string_view extension = "LST", int help_kind = 2) {
    core::EditorCursor cursor;
    return core::SCREENEDITOR(text, cursor, 1, extension, help_kind);
  }
};

TEST(EditorHelp, ContextOfEachHelpKind) {
  const struct {
    int kind, context;
  } cases[] = {{1, 20101}, {8, 121}, {9, 115}, {10, 114}, {14, 0},  {15, 2011},
               {2, 3002},  {60, 3060}, {100, 3100}, {101, 101}, {128, 128}, {20465, 20465}};
  for (const auto& c : cases) EXPECT_EQ(core::editor_help_context(c.kind), c.context) << c.kind;
}

TEST_F(ScreenEditor, FullTextComesBackUnchangedOnOk) {
  // 3120 characters without a blank at the end: nothing may be lost at the last column.
  std::string full;
  for (int i = 0; full.size() < 3120; ++i) full += "V" + std::to_string(i % 10) + " ";
  full.resize(3119);
  full += "Z";
  dialog_script::load("text -> \"" + full + "\"\n");
  std::string text = full;
  EXPECT_EQ(edit(text), core::kEditorAccepted);
  EXPECT_EQ(text, full);
  ASSERT_EQ(dialog_script::calls().size(), 1u);
  EXPECT_EQ(dialog_script::calls()[0].block, full);
  EXPECT_EQ(dialog_script::calls()[0].help_context, 3002);
}

TEST_F(ScreenEditor, TypedLinesRunOnInOneStreamAndTheTitleIsShown) {
  core::set_editor_title({"first line", "second && line"});
  dialog_script::load("text -> \"Y X\\nZ\"\n");
  std::string text = block("old");
  EXPECT_EQ(edit(text), core::kEditorAccepted);
  EXPECT_EQ(text, block("Y X Z"));
  EXPECT_EQ(dialog_script::calls()[0].text, "first line\r\nsecond && line");
}

TEST_F(ScreenEditor, EquationBoxFileIsWrittenWhenAskedAndReadBackWhole) {
  // A name that runs across column 78 of the file.
  const std::string typed = std::string(74, ' ') + "LONGNAME X(-1) Z";
  core::set_slot(slots::kEquationBoxRequest, slots::kTrue);
  dialog_script::load("text -> \"" + typed + "\"\n");
  std::string text = block("");
  ASSERT_EQ(edit(text), core::kEditorAccepted);
  EXPECT_EQ(core::slot(slots::kEquationBoxRequest), 0);
  EXPECT_NE(core::slot(slots::kEquationBoxDone), 0);
  EXPECT_EQ(slot25(), 1);
  const std::vector<std::string> records = lines_of(box_file());
  ASSERT_EQ(records.size(), 40u);
  for (const std::string& r : records) EXPECT_EQ(r.size(), 78u);
  EXPECT_EQ(records[0], std::string(74, ' ') + "LONG");
  EXPECT_EQ(records[1], "NAME X(-1) Z" + std::string(66, ' '));
  EXPECT_EQ(contents(box_file()), equation_box::file_bytes(text));
  EXPECT_EQ(equation_box::read_lines(box_file()), (std::vector<std::string>{"LONGNAME X(-1) Z"}));
}

TEST_F(ScreenEditor, EquationBoxFileIsWrittenAlsoOnCancelWithTheShownText) {
  core::set_slot(slots::kEquationBoxRequest, slots::kTrue);
  dialog_script::load("text -> cancel\n");
  std::string text = block("Y X");
  EXPECT_EQ(edit(text), core::kEditorCancelled);
  EXPECT_EQ(text, block("Y X"));
  EXPECT_EQ(equation_box::read_lines(box_file()), (std::vector<std::string>{"Y X"}));
  EXPECT_EQ(slot25(), 1);
}

TEST_F(ScreenEditor, NoEquationBoxFileUnlessAsked) {
  core::set_slot(slots::kEquationBoxDone, slots::kTrue);  // written earlier in the request
  dialog_script::load("text -> \"Y X\"\n");
  std::string text = block("");
  EXPECT_EQ(edit(text), core::kEditorAccepted);
  EXPECT_FALSE(std::filesystem::exists(box_file()));
  EXPECT_NE(core::slot(slots::kEquationBoxDone), 0);
  core::set_slot(slots::kEquationBoxDone, 0);
  EXPECT_EQ(slot25(), 0);
}

TEST_F(ScreenEditor, UnwritableTemporaryFolderIsReportedAndSlot32Kept) {
  core::set_char_setting(charset::kTempFolder, (folder_ / "missing" / "").string());
  core::set_slot(slots::kEquationBoxRequest, slots::kTrue);
  dialog_script::load("text -> \"Y X\"\n");
  std::string text = block("");
  EXPECT_EQ(edit(text), core::kEditorAccepted);
  EXPECT_EQ(core::slot(slots::kEquationBoxDone), 0);
  EXPECT_EQ(core::slot(slots::kEquationBoxRequest), 0);
  EXPECT_NE(dialog_script::transcript_text().find("message error 0 Unable to create temporary file"), std::string::npos);
}

TEST_F(ScreenEditor, TextTooLongForTheEditorIsRefusedNotCut) {
  std::string text = std::string(3120, 'A') + "B";
  EXPECT_EQ(edit(text), core::kEditorCancelled);
  EXPECT_EQ(text, std::string(3120, 'A') + "B");
  EXPECT_EQ(dialog_script::transcript_text(),
            "message error 0 Specification too long: at most 3120 characters\n");
}

TEST_F(ScreenEditor, SquareBracketComments) {
  const struct {
    const char* text;
    bool refused;
    const char* after;
  } cases[] = {
      {"LIST X [comment] Y", false, "LIST X           Y"},
      {"A [b] C [d]", false, "A     C    "},
      {"", false, ""},
      {"X [a", true, "X [a"},
      {"X ] Y [Z]", true, "X ] Y [Z]"},
      {"[a] X ] [b", true, "    X ] [b"},
  };
  for (const auto& c : cases) {
    dialog_script::reset();
    std::string text = c.text;
    EXPECT_EQ(core::CHECKBRACKETS(text), c.refused) << c.text;
    EXPECT_EQ(text, c.after) << c.text;
    EXPECT_EQ(dialog_script::transcript_text(),
              c.refused ? "message warning 0  The commenting out square brackets are not properly positioned!\n" : "")
        << c.text;
  }
}

}  // namespace
