// Base fixture of the engine tests: every test starts from the engine's load-time state
// and an empty dialog transcript.
#pragma once

#include <gtest/gtest.h>

namespace qorv::testing {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override;
};

}  // namespace qorv::testing
