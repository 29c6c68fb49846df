// The runner from the current equation to the page the viewer shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST_F(Runner, OlsEstimateIsShownAndFailuresShowNoPage) {
  struct Row {
    const char* what;
    int code;
    std::vector<int> equation;
    int status;
    const char* seen;  ///< a text the transcript must hold
  };
  const Row rows[] = {
      {"OLS", method::kOls, {macro::kLc, macro::kIntercept, macro::kLy}, 0, "Ordinary Least Squares Estimation"},
      {"singular", method::kOls, {macro::kLc, macro::kIntercept, macro::kLy, macro::kLy}, 1,
       "A matrix of the computation is singular"},
      {"IV perfect fit", method::kIv, {macro::kLy, macro::kIntercept, macro::kLy}, 1,
       "The equation fits the data exactly"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    dialog_script::reset();
    dialog_script::load("results -> close\nmenu 1002 -> 0\n");
    take_equation(r.equation);
    estimation().instrlist = {macro::kIntercept, macro::kLy};
    estimation().instrnames = {"INPT", "LY"};
    estimation().ninstr = 2;
    estimation().method = r.code;
    RUNESTIMATION(true);
    EXPECT_EQ(estimation().status, r.status);
    const std::string text = dialog_script::transcript_text();
    EXPECT_NE(text.find(r.seen), std::string::npos) << text;
    EXPECT_EQ(text.find("--- page 1 ---") != std::string::npos, r.status == 0) << text;
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

TEST(LimitText, NumberRightJustifiedInSixColumns) {
  EXPECT_EQ(limit_text("Total number of parameters too large (>", 102),
            "Total number of parameters too large (>   102)");
}

}  // namespace
