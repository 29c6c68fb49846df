// The Post Regression Menu and the residuals menu, whose options follow the method of
// the current estimate.
#include "engine/diagnostics/post_regression_menus.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv;
using Lines = std::vector<std::string>;

namespace {

class PostRegressionMenus : public qorv::testing::EngineTest {};

/// The option lines the menu showed, without the transcript's indent.
Lines shown_options(const std::function<int(int&)>& show, int& help) {
  dialog_script::reset();
  dialog_script::load("menu -> 1\n");
  int choice = 1;
  EXPECT_EQ(show(choice), 1);
  help = dialog_script::calls().at(0).help_context;
  Lines shown(dialog_script::transcript().begin() + 1, dialog_script::transcript().end());
  for (std::string& line : shown) line.erase(0, 2);
  return shown;
}

TEST_F(PostRegressionMenus, OptionsFollowTheMethod) {
  const Lines post = {"0. Move to Backtracking Menu",
                      "1. Display regression results again",
                      "2. Move to Hypothesis Testing Menu",
                      "3. List/plot/save residuals and fitted values",
                      "4. Standard, White and Newey-West adjusted variance matrices",
                      "5. Estimate/test (possibly non-linear) functions of parameters",
                      "6. Plot the leverage measures of the regression (OLS)",
                      "7. Save the leverage measures of the regression (OLS)",
                      "8. Forecast",
                      "9. Plot of forecast values only"};
  struct Case {
    int code;
    const char* option0;
  };
  const Case cases[] = {
      {1, "0. Move to Backtracking Menu"},
      {5, "0. Move to Backtracking Menu"},
      {70, "0. Move to GARCH Estimation Menu"},
      {17, "0. Choose another equation to inspect"},
      {82, "0. Choose another equation to inspect"},
      {83, "0. Choose another equation to inspect"},
      {84, "0. Choose another equation to inspect"},
      {78, "0. Move to Post ARDL Model Selection Menu"},
      {79, "0. Move to Post ARDL Model Selection Menu"},
      {80, "0. Move to Post ARDL Model Selection Menu"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    int help = 0;
    Lines expected = post;
    expected[0] = c.option0;
    EXPECT_EQ(shown_options([&](int& choice) { return diagnostics::POSTREGMENU(choice, c.code); }, help), expected);
    EXPECT_EQ(help, 2002);
  }

  const Lines residuals = {"0. Return to Post Regression Menu",
                           "1. List residuals and fitted values",
                           "2. Plot actual and fitted values",
                           "3. Plot residuals",
                           "4. Plot the autocorrelation function and the spectrum of residuals",
                           "5. Plot the histogram of residuals",
                           "6. Save residuals (and forecast errors if any)",
                           "7. Save fitted values (and forecasts if any)"};
  Lines garch = residuals;
  garch[5] = "5. Plot the histogram of scaled residuals";
  garch.push_back("8. Plot conditional standard errors of GARCH model (values of h-hats)");
  garch.push_back("9. Save conditional standard errors of GARCH (& forecasts if any)");
  for (const auto& [code, expected] : {std::pair{1, residuals}, {71, residuals}, {70, garch}}) {
    SCOPED_TRACE(code);
    int help = 0;
    EXPECT_EQ(shown_options([&](int& choice) { return diagnostics::RESIDMENU(choice, code); }, help), expected);
    EXPECT_EQ(help, 2037);
  }
}

}  // namespace
