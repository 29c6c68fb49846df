// Restricted cointegrating vectors reached through the cointegrating VAR dialogue on
// reference case C3: exactly identifying restrictions, then an over-identifying one added
// after menu 1020 returns to the structural-modelling menu; the pages and the menus.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/single/estimation_state.h"
#include "tests/engine/multi/cvar_reference.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using Page = std::vector<std::string>;

bool transcript_has(const std::string& text) { return dialog_script::transcript_text().find(text) != std::string::npos; }

std::string line_with(const Page& page, const std::string& text) {
  for (const auto& line : page)
    if (line.find(text) != std::string::npos) return line;
  return {};
}

class CvarRestrictedTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_cvar_workspace();
    single::estimation().method = 1;
  }
};

TEST_F(CvarRestrictedTest, ExactlyIdentifiedThenOverIdentified) {
  const CvarCase c = cvar_case("C3");
  run_cvar(c.list, c.split,
           "menu 1025 -> 3\ninteger \"Order\" -> 2\nresults -> close\n"
           "menu 1026 -> 2 once\ninteger \"Number of cointegrating\" -> 2\nmenu 1026 -> 6 once\n"
           "menu 1030 -> 4 once\ntext -> \"A1=1; A2=0; B1=0; B2=1\" once\n"
           "menu 1020 -> 6 once\nmenu 1020 -> 0 once\n"
           "menu 1030 -> 4 once\ntext -> \"A1=1; A2=0; B1=0; B2=1; A3=B3\" once\n"
           "values -> keep\nmenu 1031 -> 1\n"
           "menu 1020 -> 0 once\nmenu 1030 -> 0\nmenu 1026 -> 0\nresults -> close\n");
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 4u);  // rank tests, exactly identified (twice), over-identified
  EXPECT_FALSE(line_with(pages[1], "ML estimates subject to exactly identifying restriction(s)").empty());
  EXPECT_EQ(pages[2], pages[1]);  // option 6 of menu 1020 writes them again
  EXPECT_FALSE(line_with(pages[3], "ML estimates subject to over identifying restriction(s)").empty());
  EXPECT_EQ(line_with(pages[3], " LR Test of Restrictions"), " LR Test of Restrictions          CHSQ(   1)=   7.1313[.008]");
  EXPECT_EQ(line_with(pages[3], " LL subject to exactly identifying"), " LL subject to exactly identifying restrictions=   1771.3");
  EXPECT_TRUE(transcript_has("menu 2020 IR Analysis and Forecasting Menu (Restricted CV's)"));
  EXPECT_TRUE(transcript_has("  0. Return to identify/test cointegrating vectors"));
  // The algorithm is chosen only for the over-identified set.
  int algorithm_menus = 0;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "menu" && call.help_context == 2031) ++algorithm_menus;
  EXPECT_EQ(algorithm_menus, 1);
}

}  // namespace
}  // namespace qorv::testing
