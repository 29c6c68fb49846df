#include <gtest/gtest.h>

#include "engine/single/iteration_limit.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv::single;

namespace {

class IterationLimit : public qorv::testing::EngineTest {};

TEST_F(IterationLimit, EachChoiceAndTheUnattendedCase) {
  struct Row {
    const char* answer;
    int limit;
    bool abandon, print;
  };
  const Row rows[] = {{"2", 60, false, false}, {"1", 40, false, true}, {"0", 40, true, false},
                      {"cancel", 40, true, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.answer);
    dialog_script::reset();
    dialog_script::load(std::string("menu \"No convergence after 40 iterations\" -> ") + r.answer + "\n");
    int limit = 40;
    bool abandon = false, print = false;
    ITERATIONLIMIT(limit, true, abandon, print);
    EXPECT_EQ(limit, r.limit);
    EXPECT_EQ(abandon, r.abandon);
    EXPECT_EQ(print, r.print);
  }
  EXPECT_NE(dialog_script::transcript_text().find("2. Increase the number of iterations by 20"), std::string::npos);
  dialog_script::reset();
  int limit = 40;
  bool abandon = false, print = true;
  ITERATIONLIMIT(limit, false, abandon, print);
  EXPECT_TRUE(abandon);
  EXPECT_FALSE(print);
  EXPECT_EQ(dialog_script::dialogs_shown(), 0);
}

}  // namespace
