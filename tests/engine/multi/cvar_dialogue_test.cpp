// The cointegrating VAR dialogue over the reference cases: the rank-test page (eigenvalues,
// statistics, critical values, rank selection), the vector and long-run pages, the menus'
// refusals and the limits of the list, the order and the sample.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/multi/cvar_reference.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using Page = std::vector<std::string>;

class CvarDialogueTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_cvar_workspace();
  }
};

TEST_F(CvarDialogueTest, Dump) {
  const CvarCase c = cvar_case("C3");
  run_cvar(c.list, c.split,
           "menu 1025 -> 3\ninteger \"Order of the VAR\" -> 2\nresults -> close\n"
           "menu 1026 -> 2 once\ninteger \"Number of cointegrating\" -> 2\nmenu 1026 -> 3 once\nmenu 1026 -> 5 once\nmenu 1026 -> 0\n");
  std::cout << dialog_script::transcript_text();
}

}  // namespace
}  // namespace qorv::testing
