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

namespace {

using namespace qorv::core;
namespace fs = std::filesystem;

class ValueChecks : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    folder_ = fs::temp_directory_path() / ("zv-value-checks-" + std::to_string(getpid()));
    fs::create_directories(folder_);
    std::ofstream out(folder_ / "ERROR4.ZQT", std::ios::binary);
    for (int i = 1; i <= 140; ++i) out << "Line " << i << "\n";
    set_char_setting(charset::kProgramFolder, folder_.string());
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path folder_;  ///< program folder holding the message file
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
