// Base fixture of the engine tests: every test starts from the engine's load-time state
// and an empty dialog script and transcript, and fails when the dialog stand-in recorded
// a failure (a dialog no rule answered, an answer that did not fit, the cap, or an unused
// expectation of a strict script). A test that provokes such failures on purpose takes
// them with dialog_script::take_failures().
#pragma once

#include <gtest/gtest.h>

namespace qorv::testing {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace qorv::testing
