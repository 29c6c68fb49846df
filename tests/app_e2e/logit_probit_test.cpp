// A probit model end to end: the mtcars data read from its text file, the estimation
// window's "Logit and Probit models" entry, the engine's menus answered on their forms
// and the coefficients read off the results page.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/estimation_window.h"
#include "app/main_window.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/app_e2e/shown_window.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/engine/single/logit_reference.h"
#include "tests/engine/single/printed_numbers.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using e2e::choose;
using namespace zelvorin;

/// The whitespace-separated fields of the page's line that starts with " NAME ", after
/// the coefficient table's heading.
std::vector<std::string> coefficient_fields(const std::string& page, const std::string& name) {
  std::istringstream in(page);
  std::string line;
  bool table = false;
  while (std::getline(in, line)) {
    if (line.rfind(" Regressor ", 0) == 0) table = true;
    if (!table || line.rfind(" " + name + " ", 0) != 0) continue;
    std::istringstream words(line);
    std::vector<std::string> out;
    for (std::string w; words >> w;) out.push_back(w);
    return out;
  }
  return {};
}

TEST(LogitProbitRoad, ProbitFromTheEstimationWindow) {
  e2e::ShownWindow shown;
  MainWindow& window = shown.window;
  ASSERT_TRUE(shown.open_reference("logit-probit/mtcars.csv"));

  window.method_action(MethodMenu::kUnivariate, 71)->trigger();
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(window.estimation_frame()->isVisible());
  QTest::keyClicks(estimation->nonlin(), "AM INPT WT HP");

  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tget1option", [](QWidget* form) { choose(form, "Estimate/Test/Forecast with a Probit model"); })
      .then("Tbegfin", e2e::keep_page(page))
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Logit/Probit Estimation Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();

  EXPECT_NE(page.find("Probit Maximum Likelihood Estimation"), std::string::npos) << page;
  const auto expected = qorv::testing::logit_expected("MT_PROBIT");
  for (const char* name : {"INPT", "WT", "HP"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> row = coefficient_fields(page, name);
    ASSERT_EQ(row.size(), 4u) << page;
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[1]), expected.at(std::string("coef:") + name)));
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[2]), expected.at(std::string("se:") + name)));
  }
  EXPECT_NE(page.find(" 32 observations used for estimation from    1 to   32"), std::string::npos) << page;
}

}  // namespace
