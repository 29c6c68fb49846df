// A GARCH(1,1) end to end: the reference series read from their text file, the
// estimation window's GARCH-M entry, the engine's menus, lag editor, initial values and
// damping factor answered on their forms, and the estimates read off the results page.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

#include <string>
#include <vector>

#include "app/estimation_window.h"
#include "app/main_window.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/app_e2e/shown_window.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/engine/single/garch_reference.h"
#include "tests/engine/single/printed_numbers.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using e2e::choose;
using namespace zelvorin;

TEST(GarchRoad, GarchFromTheEstimationWindow) {
  e2e::ShownWindow shown;
  MainWindow& window = shown.window;
  ASSERT_TRUE(shown.open_reference("garch/data.csv"));

  window.method_action(MethodMenu::kUnivariate, 19)->trigger();
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(window.estimation_frame()->isVisible());
  estimation->period1()->setCurrentIndex(1);  // the sample starts at the second observation
  QTest::keyClicks(estimation->nonlin(), "YN INPT");

  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tget1option", [](QWidget* form) { choose(form, "GARCH, Auto-Regressive Conditional"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "normal distribution"); })
      .then("Teditor",
            [](QWidget* form) {
              child<QPlainTextEdit>(form, "editor")->setPlainText("1 ; 1");
              click(form, "ok");
            })
      .then("Teditor", [](QWidget* form) { click(form, "ok"); })
      .then("Tvargrid", [](QWidget* form) { click(form, "ok"); })
      .then("Tgetfloat", [](QWidget* form) { e2e::answer(form, "1.0"); })
      .then("Tbegfin",
            [&](QWidget* form) {
              page = child<QPlainTextEdit>(form, "page")->toPlainText().toStdString();
              click(form, "close");
            })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to GARCH Estimation Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();

  EXPECT_NE(page.find("GARCH(1,1) assuming a normal distribution"), std::string::npos) << page;
  EXPECT_NE(page.find(" 1000 observations used for estimation from    2 to 1001"), std::string::npos) << page;
  const auto expected = qorv::testing::garch_expected("GN", {"favoured"});
  for (const std::string name : {"INPT", "MA lag 1", "AR lag 1"}) {
    SCOPED_TRACE(name);
    const std::string row = e2e::coefficient_row(page, name);
    ASSERT_FALSE(row.empty()) << page;
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(qorv::testing::columns(row, 26, 34)),
                                     expected.at("coef:" + name)));
  }
}

}  // namespace
