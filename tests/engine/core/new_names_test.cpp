#include "engine/core/new_names.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;
using core::NewNameOutcome;

class NewNames : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    auto& g = core::globals();
    g.nobs = 5;
    g.nvars = 3;
    core::set_variable(1, "Y", "");
    core::set_variable(2, "X", "");
    core::set_variable(3, "RES2", "old residuals");
  }
};

TEST_F(NewNames, OneNewNameWithItsRefusals) {
  dialog_script::load(R"(strict
string "time trend" -> "1x"
string "time trend" -> "x"
string "time trend" -> "trend  my trend"
string "time trend" -> cancel
string "time trend" -> ""
menu " Variable List" -> cancel
)");
  std::vector<std::string> names = {"Y", "X"};
  const auto ask = [&] { return core::ASKNEWVARNAME(names, "Supply name for time trend:"); };
  EXPECT_EQ(ask(), NewNameOutcome::kRefused);
  EXPECT_EQ(ask(), NewNameOutcome::kRefused);
  EXPECT_EQ(ask(), NewNameOutcome::kAdded);
  EXPECT_EQ(ask(), NewNameOutcome::kCancelled);
  EXPECT_EQ(ask(), NewNameOutcome::kChooser);
  EXPECT_EQ(names, (std::vector<std::string>{"Y", "X", "TREND"}));
  const auto& t = dialog_script::transcript();
  ASSERT_GE(t.size(), 5u);
  EXPECT_EQ(t[1], "message information 0 1x is not a valid name, try again!");
  EXPECT_EQ(t[3], "message information 0 Variable X already exists!");
  EXPECT_EQ(t[4], "string 0 Supply name for time trend: -> \"trend  my trend\"");
  // The chooser offers the variables alphabetically, name in 14 columns, description.
  EXPECT_EQ(t[t.size() - 3], "  RES2          old residuals");
}

TEST_F(NewNames, SeriesNames) {
  const std::vector<std::string> model = {"Y", "X", "RES1"};
  const std::vector<std::string> instruments = {"Z1"};
  const struct {
    const char* answer;
    int method;
    int status;
    const char* name;
    const char* description;
    int position;
    const char* box;  // the error box shown, if any
  } cases[] = {
      {"res9   fitted by OLS  ", 1, 0, "RES9", "fitted by OLS", 0, nullptr},
      {"res2", 1, 0, "RES2", "", 3, nullptr},            // replaces an existing variable
      {"q", 1, 2, "", "", 0, nullptr},
      {" Q ", 1, 2, "", "", 0, nullptr},
      {"RESIDUALS1 x", 1, 1, "", "", 0, "message error 0 RESIDUALS1 is not a valid name, try again!"},
      {"log", 1, 1, "", "", 0, "message error 0 log is not a valid name, try again!"},
      {"res1", 1, 1, "", "", 0, "message error 0  RES1           is used in your current model!"},
      {"z1", 5, 1, "", "", 0, "message error 0  Z1             is used in your current model!"},
      {"z1", 1, 0, "Z1", "", 0, nullptr},                // instruments count only for IV codes
  };
  for (const auto& c : cases) {
    dialog_script::reset();
    core::SeriesName out;
    EXPECT_EQ(core::ASKSERIESNAME(c.answer, c.method, model, instruments, out), c.status) << c.answer;
    if (c.status == core::kSeriesNameAccepted) {
      EXPECT_EQ(out.name, c.name);
      EXPECT_EQ(out.description, c.description);
      EXPECT_EQ(out.position, c.position);
    }
    const auto& t = dialog_script::transcript();
    if (c.box) {
      ASSERT_EQ(t.size(), 1u) << c.answer;
      EXPECT_EQ(t[0], c.box);
    } else {
      EXPECT_TRUE(t.empty()) << c.answer;
    }
  }
}

TEST_F(NewNames, EmptySeriesNameListsTheVariablesInOneBox) {
  // Asked while no results page is open: one box, not one per line of a closed page.
  core::SeriesName out;
  EXPECT_EQ(core::ASKSERIESNAME("   ", 1, {}, {}, out), core::kSeriesNameAgain);
  const std::vector<std::string> expected = {"message long", "  List of Variables and their Descriptions",
                                             "   RES2          old residuals",
                                             "   X             No description for this series",
                                             "   Y             No description for this series"};
  EXPECT_EQ(dialog_script::transcript(), expected);
}

TEST_F(NewNames, InsertIntoTheEditorText) {
  std::string text = "Y INPT";
  core::EditorCursor cursor{1, 1, 6, 6};
  core::EDITORINSERTVAR("X", text, cursor);
  EXPECT_EQ(text.substr(0, 10), "Y INPT X  ");
  EXPECT_EQ(text.size(), 3120u);
  EXPECT_EQ(cursor.column, 8);
  EXPECT_EQ(cursor.position, 8);

  // On the first word: the rest of the text moves right.
  text = "Y INPT";
  cursor = {1, 1, 1, 1};
  core::EDITORINSERTVAR("  LONGNAME ", text, cursor);
  EXPECT_EQ(text.substr(0, 16), "Y LONGNAME INPT ");
  EXPECT_EQ(cursor.column, 10);

  std::string empty;
  cursor = {3, 4, 5, 0};
  core::EDITORINSERTVAR("X", empty, cursor);
  EXPECT_EQ(empty.substr(0, 2), "X ");
  EXPECT_EQ(cursor.page, 1);
  EXPECT_EQ(cursor.row, 1);
  EXPECT_EQ(cursor.column, 1);

  // Across a line and a page: the cursor follows the name's last character.
  text = std::string(623, 'A');
  cursor = {1, 8, 77, 623};
  core::EDITORINSERTVAR("XY", text, cursor);
  EXPECT_EQ(text.substr(622, 4), "A XY");
  EXPECT_EQ(cursor.page, 2);
  EXPECT_EQ(cursor.position, 2);
  EXPECT_EQ(cursor.row, 1);
  EXPECT_EQ(cursor.column, 2);
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(NewNames, NoRoomLeftInTheEditor) {
  const std::string full(3118, 'A');
  std::string text = full;
  core::EditorCursor cursor{5, 8, 78, 624};
  core::EDITORINSERTVAR("AB", text, cursor);
  EXPECT_EQ(text.substr(0, 3118), full);
  EXPECT_EQ(cursor.column, 78);
  // A cursor far past the end of a short text would put the name past character 3120.
  text = "Y X";
  cursor = {5, 8, 78, 624};
  core::EDITORINSERTVAR("Z", text, cursor);
  EXPECT_EQ(text.substr(0, 4), "Y X ");
  const std::vector<std::string> expected(
      2, "message information 0 No room left in editor. Variable not inserted!");
  EXPECT_EQ(dialog_script::transcript(), expected);
}

}  // namespace
