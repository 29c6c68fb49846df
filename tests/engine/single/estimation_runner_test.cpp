// The runner from the current equation to an estimate, without dialogue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;

namespace {

class Runner : public qorv::testing::MacroTest {};

TEST_F(Runner, EstimatesWithoutDialogue) {
  struct Row {
    const char* what;
    int code;
    std::vector<int> equation;
    EstimateOutcome outcome;
  };
  const Row rows[] = {
      {"OLS", method::kOls, {macro::kLc, macro::kIntercept, macro::kLy}, EstimateOutcome::kEstimated},
      {"singular", method::kOls, {macro::kLc, macro::kIntercept, macro::kLy, macro::kLy}, EstimateOutcome::kFailed},
      {"IV perfect fit", method::kIv, {macro::kLy, macro::kIntercept, macro::kLy}, EstimateOutcome::kExactFit},
      {"not built", 99, {macro::kLc, macro::kIntercept, macro::kLy},
       EstimateOutcome::kNotAvailable},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    dialog_script::reset();
    dialog_script::load("strict\n");
    take_equation(r.equation);
    estimation().instrlist = {macro::kIntercept, macro::kLy};
    estimation().instrnames = {"INPT", "LY"};
    estimation().ninstr = 2;
    estimation().method = r.code;
    ASSERT_TRUE(start_estimate());
    EXPECT_EQ(estimate_equation(false), r.outcome);
    EXPECT_EQ(estimation().status, r.outcome == EstimateOutcome::kEstimated ? status::kEstimated : status::kFailed);
    EXPECT_TRUE(dialog_script::calls().empty()) << dialog_script::transcript_text();
  }
}

TEST_F(Runner, LagTableFindsTheLaggedDependentVariable) {
  take_equation(std::vector<int>{macro::kLc, macro::kIntercept, macro::kLcLag});
  const auto& table = estimation().reglagtable;
  ASSERT_EQ(table.size(), 2u);
  EXPECT_EQ(table[0].variable, macro::kIntercept);
  EXPECT_EQ(table[0].lag, 0);
  EXPECT_EQ(table[1].variable, macro::kLc);
  EXPECT_EQ(table[1].lag, -1);
  EXPECT_EQ(estimation().eqvarnames[2], "LC(-1)");
}

}  // namespace
