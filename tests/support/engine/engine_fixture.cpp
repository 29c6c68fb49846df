#include "tests/support/engine/engine_fixture.h"

#include "engine/core/engine_state.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

void EngineTest::SetUp() {
  core::reset_engine_state();
  dialog_script::reset();
}

}  // namespace qorv::testing
