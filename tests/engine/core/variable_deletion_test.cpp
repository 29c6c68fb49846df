#include "engine/core/variable_deletion.h"

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/workspace.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;

class VariableDeletion : public qorv::testing::EngineTest {
 protected:
  // Six variables V1..V6 over three observations; variable j holds 10j + t.
  void SetUp() override {
    EngineTest::SetUp();
    auto& g = core::globals();
    g.nobs = 3;
    g.nvars = 6;
    for (int j = 1; j <= 6; ++j) {
      core::set_variable(j, "V" + std::to_string(j), "variable " + std::to_string(j));
      for (int t = 1; t <= 3; ++t) core::data_at(t, j) = 10.0 * j + t;
    }
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (int j = 1; j <= core::globals().nvars; ++j) out.push_back(core::variable_name(j));
    return out;
  }
};

TEST_F(VariableDeletion, ListIsDeletedFromTheTop) {
  const int list[] = {3, 5};
  EXPECT_EQ(core::DELETEVARIABLES(list), 2);
  EXPECT_EQ(names(), (std::vector<std::string>{"V1", "V2", "V4", "V6"}));
  EXPECT_EQ(core::variable_desc(3), "variable 4");
  EXPECT_DOUBLE_EQ(core::data_at(1, 3), 41.0);
  EXPECT_DOUBLE_EQ(core::data_at(3, 4), 63.0);
  EXPECT_EQ(core::variable_name(5), "");  // the freed places are blank
}

TEST_F(VariableDeletion, RepeatsAndOutOfRangeNumbersAreIgnored) {
  const int list[] = {6, 0, 6, 9, -1};
  EXPECT_EQ(core::DELETEVARIABLES(list), 1);
  EXPECT_EQ(core::globals().nvars, 5);  // deleting the last variable only lowers the count
  EXPECT_DOUBLE_EQ(core::data_at(3, 5), 53.0);
  core::DELETEVARIABLE(7);
  EXPECT_EQ(core::globals().nvars, 5);
}

}  // namespace
