// The value check: silent when the value is absent, the six-line message when present.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/core/value_checks.h"
#include "engine/core/workspace.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace qorv::core;
namespace fs = std::filesystem;

class ValueChecks : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    qorv::testing::install_numbered_message_file(folder_, 140);
  }
  zv_test::ScratchFolder folder_{"zv-value-checks"};  ///< program folder holding the message file
};

TEST_F(ValueChecks, PresentValueShowsTheMessageOnce) {
  const std::vector<double> x{1, 0, 2, 0, 3};
  // Elements 2..5 hold the value 0 twice: one message, flag 1.
  EXPECT_EQ(CHECKVALUEABSENT(x, 4, 1, 0.0), 1);
  const auto& calls = dialog_script::calls();
  ASSERT_EQ(calls.size(), 1u);
  ASSERT_EQ(calls[0].items.size(), 6u);
  EXPECT_TRUE(calls[0].items.front().starts_with("Line 126"));
  EXPECT_TRUE(calls[0].items.back().starts_with("Line 131"));
}

TEST_F(ValueChecks, AbsentValueOrElementsOutsideTheRangeAreSilent) {
  const std::vector<double> x{0, 1, 2, 3, 0};
  EXPECT_EQ(CHECKVALUEABSENT(x, 3, 1, 0.0), 0);   // elements 2..4 only
  EXPECT_EQ(CHECKVALUEABSENT(x, 0, 0, 0.0), 0);   // nothing to compare
  EXPECT_EQ(CHECKVALUEABSENT(x, 5, 0, 1e-300), 0);  // exact equality
  EXPECT_TRUE(dialog_script::calls().empty());
  EXPECT_THROW(CHECKVALUEABSENT(x, 5, 1, 0.0), std::invalid_argument);
}

}  // namespace
