// The estimation dialogue from the current equation to an estimate, and the page the
// post-regression dialogue shows for it (as the options dialogue hands it on).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/road/run_estimation.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
using namespace qorv::road;
namespace macro = qorv::testing::macro;

namespace {

class RunEstimation : public qorv::testing::MacroTest {};

/// The estimation dialogue and, for an estimate, the post-regression dialogue, as the
/// options dialogue runs them.
void run_and_review(bool interactive) {
  RUNESTIMATION(interactive);
  if (estimation().status == status::kEstimated) diagnostics::POSTREGRESSION();
}

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
  // Two AR lags: the program's or the user's values (no likelihood plot). The user's
  // values start the Gauss-Newton iteration, whose estimate reaches the results page.
  take_equation(std::vector<int>{macro::kLc, macro::kIntercept, macro::kLy});
  estimation().method = method::kGaussNewtonArGaps;
  estimation().arma_lags = {1, 4};
  dialog_script::load("menu 1023 -> 2\nvalues -> 0.5 0.25\nresults -> close\nmenu 1002 -> 0\n");
  run_and_review(true);
  EXPECT_EQ(estimation().status, status::kEstimated);
  std::string text = dialog_script::transcript_text();
  EXPECT_EQ(text.find("Plot of concentrated"), std::string::npos) << text;
  EXPECT_NE(text.find("Error TERM : Restricted AR(4) converged after"), std::string::npos) << text;
  std::vector<std::string> grid;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "values")
      for (const auto& item : call.items) grid.push_back(item.substr(0, item.find_last_not_of(' ') + 1));
  EXPECT_EQ(grid, (std::vector<std::string>{"AR lag 1", "AR lag 4"}));
  // A singular first regression explains itself and brings the menu back until the user
  // leaves it.
  take_equation(std::vector<int>{macro::kLc, macro::kIntercept, macro::kIntercept});
  dialog_script::reset();
  dialog_script::load("menu 1023 -> 1 once\nmenu 1023 -> 0\n");
  run_and_review(true);
  EXPECT_EQ(estimation().status, status::kFailed);
  text = dialog_script::transcript_text();
  EXPECT_NE(text.find("The first regression of the autoregressive-error estimation failed"), std::string::npos) << text;
  // One MA lag offers the plot: the menu comes back with the user's values offered, and
  // the estimate's page is followed by the plot again.
  take_equation(std::vector<int>{macro::kLc, macro::kIntercept, macro::kLy});
  estimation().method = method::kMa;
  estimation().arma_lags = {2};
  dialog_script::reset();
  dialog_script::load("strict\nmenu 1023 -> 3\nmenu 1023 -> 1\nresults -> close\nmenu 1002 -> 0\n");
  run_and_review(true);
  EXPECT_EQ(estimation().status, status::kEstimated);
  text = dialog_script::transcript_text();
  EXPECT_NE(text.find("3.  Plot of concentrated log-likelihood/IV minimand"), std::string::npos) << text;
  std::vector<int> preselected;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "menu" && call.help_context == 2023) preselected.push_back(call.detail);
  EXPECT_EQ(preselected, (std::vector<int>{3, 2}));
  // Two plot files: the menu's and the page's.
  EXPECT_EQ(static_cast<uint32_t>(core::slot(slots::kPlotCounters)) >> 16, 2u);
}

TEST_F(RunEstimation, ErrorModelFailuresAndTheirMessages) {
  enum class Data { kMacro, kExactFit, kQuadraticTrend };
  struct Row {
    const char* what;
    int code;
    std::vector<int> equation;
    std::vector<int> lags;
    Data data;
    bool interactive;
    const char* script;
    int status;
    const char* seen;  ///< a text the transcript must hold ("" none)
  };
  const std::vector<int> consumption = {macro::kLc, macro::kIntercept, macro::kLcLag, macro::kLy, macro::kInfl, macro::kR};
  const Row rows[] = {
      {"singular first regression", method::kGaussNewtonAr, {macro::kLc, macro::kIntercept, macro::kIntercept}, {1, 2},
       Data::kMacro, true, "menu 1023 -> 1 once\nmenu 1023 -> 0\n", 1,
       "The first regression of the autoregressive-error estimation failed"},
      {"zero residuals in the iteration", method::kGaussNewtonAr, {macro::kInfl, macro::kIntercept, macro::kR}, {1, 2},
       Data::kExactFit, true, "menu 1023 -> 1 once\nmenu 1023 -> 0\n", 1,
       "The iterations of the autoregressive-error estimation failed"},
      {"no start of the MA recursion", method::kMa, {macro::kInfl, macro::kIntercept, macro::kR}, {1},
       Data::kExactFit, true, "menu 1023 -> 1 once\nmenu 1023 -> 0\n", 1,
       "The moving-average error process could not be estimated"},
      {"likelihood rising to an end", method::kExactAr1, {macro::kInfl, macro::kIntercept}, {1},
       Data::kQuadraticTrend, true, "results -> close\nmenu 1002 -> 0\n", 0,
       "Exact AR(1) Inverse Interpolation Method **Numerical Method Failed**"},
      {"same, unattended", method::kExactAr1, {macro::kInfl, macro::kIntercept}, {1}, Data::kQuadraticTrend, false, "",
       1, ""},
      {"iteration limit, unattended", method::kExactAr2, consumption, {1, 2}, Data::kMacro, false,
       "menu 1023 -> 1 once\nmenu 1023 -> 0\n", 1, ""},
      {"iteration limit raised", method::kExactAr2, consumption, {1, 2}, Data::kMacro, true,
       "menu 1023 -> 1\nmenu \"No convergence after 40 iterations\" -> 2\nresults -> close\nmenu 1002 -> 0\n", 0,
       "Exact AR(2) Newton-Raphson Iterative Method converged after"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    qorv::testing::install_macro_data();
    auto& g = core::globals();
    g.sample_start = r.equation == consumption ? 2 : 1;
    for (int t = 1; t <= g.nobs; ++t) {
      if (r.data == Data::kExactFit) core::data_at(t, macro::kInfl) = 2.0 * core::data_at(t, macro::kR);
      if (r.data == Data::kQuadraticTrend) core::data_at(t, macro::kInfl) = 0.01 * t * t;
    }
    dialog_script::reset();
    dialog_script::load(r.script);
    core::driver_state().interactive = r.interactive;
    take_equation(r.equation);
    estimation().method = r.code;
    estimation().arma_lags = r.lags;
    run_and_review(r.interactive);
    core::driver_state().interactive = true;
    EXPECT_EQ(estimation().status, r.status);
    const std::string text = dialog_script::transcript_text();
    if (*r.seen != '\0') {
      EXPECT_NE(text.find(r.seen), std::string::npos) << text;
    }
    EXPECT_EQ(text.find("--- page 1 ---") != std::string::npos, r.status == 0) << text;
    if (!r.interactive) {
      EXPECT_EQ(text.find("No convergence"), std::string::npos) << text;
    }
  }
}

TEST(LimitText, NumberRightJustifiedInSixColumns) {
  EXPECT_EQ(limit_text("Total number of parameters too large (>", 102),
            "Total number of parameters too large (>   102)");
}

}  // namespace
