#include "engine/core/variable_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;

class VariableList : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    core::globals().nvars = 3;
    core::set_variable(1, "Y", "output");
    core::set_variable(2, "B", "");
    core::set_variable(3, "A", "first");
  }
};

// The scripted stand-in picks options by the number their line shows, and variable lines
// show none: these tests cover what is offered and the cancelled choice.
TEST_F(VariableList, ChoosingKeepsOrderOnlyForRegressors) {
  dialog_script::load(R"(strict
menu " Variable List" -> cancel
menu " Choose Regressor" -> cancel
)");
  EXPECT_EQ(core::LISTVARIABLES(core::kChooseVariable), "");
  const std::vector<std::string> model = {"X", "Y"};
  EXPECT_EQ(core::PICKVARIABLE(model), -1);  // nothing chosen: no position
  const std::vector<std::string> expected = {
      "menu 0 Variable List -> cancel",    "  A             first", "  B", "  Y             output",
      "menu 0 Choose Regressor -> cancel", "  Y             output", "  B", "  A             first"};
  EXPECT_EQ(dialog_script::transcript(), expected);
}

TEST_F(VariableList, NothingToChoose) {
  core::globals().nvars = 0;
  EXPECT_EQ(core::LISTVARIABLES(core::kChooseRegressor), "");
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(VariableList, ListingOnTheResultsPage) {
  // No page is open here, so each line reaches the user as an OUTALT box.
  EXPECT_EQ(core::LISTVARIABLES(core::kListVariables), "");
  const std::vector<std::string> expected = {
      "message error 0 OUTALT List of Variables and their Descriptions",
      "message error 0 OUTALT  A             first",
      "message error 0 OUTALT  B             No description for this series",
      "message error 0 OUTALT  Y             output"};
  EXPECT_EQ(dialog_script::transcript(), expected);
}

}  // namespace
