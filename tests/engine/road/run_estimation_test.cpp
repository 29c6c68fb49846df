// The estimation dialogue from the current equation to an estimate, and the page the
// post-regression dialogue shows for it (as the options dialogue hands it on).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/road/run_estimation.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
using namespace qorv::road;
namespace macro = qorv::testing::macro;

namespace {

class RunEstimation : public qorv::testing::MacroTest {};

TEST_F(RunEstimation, OlsEstimateIsShownAndFailuresShowNoPage) {
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
    if (estimation().status == status::kEstimated) diagnostics::POSTREGRESSION();
    const std::string text = dialog_script::transcript_text();
    EXPECT_NE(text.find(r.seen), std::string::npos) << text;
    EXPECT_EQ(text.find("--- page 1 ---") != std::string::npos, r.status == 0) << text;
  }
}

TEST_F(RunEstimation, ArAndMaModelsStartFromTheInitialValueMenu) {
  // Two AR lags: the program's or the user's values (no likelihood plot); the estimator of
  // this version refuses, and the menu comes back until the user leaves it.
  take_equation(std::vector<int>{macro::kLc, macro::kIntercept, macro::kLy});
  estimation().method = method::kGaussNewtonArGaps;
  estimation().arma_lags = {1, 4};
  dialog_script::load("strict\nmenu 1023 -> 2\nvalues -> 0.5 0.25\nmenu 1023 -> 1\nmenu 1023 -> 0\n");
  RUNESTIMATION(true);
  EXPECT_EQ(estimation().status, status::kFailed);
  const std::string text = dialog_script::transcript_text();
  EXPECT_EQ(text.find("Plot of concentrated"), std::string::npos) << text;
  std::vector<std::string> grid;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "values")
      for (const auto& item : call.items) grid.push_back(item.substr(0, item.find_last_not_of(' ') + 1));
  EXPECT_EQ(grid, (std::vector<std::string>{"AR lag 1", "AR lag 4"}));
  size_t refusals = 0;
  for (size_t at = text.find("Gauss-Newton estimation of AR errors is not available"); at != std::string::npos;
       at = text.find("Gauss-Newton estimation of AR errors is not available", at + 1))
    ++refusals;
  EXPECT_EQ(refusals, 2u);
  // One MA lag offers the plot, which this version lacks: the menu comes back with the
  // user's values offered.
  estimation().method = method::kMa;
  estimation().arma_lags = {2};
  dialog_script::reset();
  dialog_script::load("strict\nmenu 1023 -> 3\nmenu 1023 -> 0\n");
  RUNESTIMATION(true);
  EXPECT_NE(dialog_script::transcript_text().find("3.  Plot of concentrated log-likelihood/IV minimand"),
            std::string::npos);
  EXPECT_NE(dialog_script::transcript_text().find("The concentrated log-likelihood plot is not available"),
            std::string::npos);
  std::vector<int> preselected;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "menu") preselected.push_back(call.detail);
  EXPECT_EQ(preselected, (std::vector<int>{3, 2}));
}

TEST(LimitText, NumberRightJustifiedInSixColumns) {
  EXPECT_EQ(limit_text("Total number of parameters too large (>", 102),
            "Total number of parameters too large (>   102)");
}

}  // namespace
