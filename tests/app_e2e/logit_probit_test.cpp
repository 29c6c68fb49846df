// A probit model end to end: the mtcars data read from its text file, the estimation
// window's "Logit and Probit models" entry, the engine's menus answered on their forms
// and the coefficients read off the results page.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

#include <map>
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
    const std::vector<std::string> row = qorv::testing::words(e2e::coefficient_row(page, name));
    ASSERT_EQ(row.size(), 4u) << page;
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[1]), expected.at(std::string("coef:") + name)));
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[2]), expected.at(std::string("se:") + name)));
  }
  EXPECT_NE(page.find(" 32 observations used for estimation from    1 to   32"), std::string::npos) << page;
}

}  // namespace
