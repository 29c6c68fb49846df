// Non-linear least squares end to end: NIST's Misra1a data read from their text file, the
// model typed in the estimation window's formula box, NIST's first start typed in the
// initial-value grid, and the certified estimates read off the results page.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include <string>
#include <vector>

#include "app/estimation_window.h"
#include "app/main_window.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/app_e2e/shown_window.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/engine/single/printed_numbers.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using e2e::choose;
using namespace zelvorin;

TEST(NonLinearRoad, Misra1aTypedInTheFormulaBox) {
  e2e::ShownWindow shown;
  MainWindow& window = shown.window;
  ASSERT_TRUE(e2e::open_text_data(window, QString(ZV_SOURCE_DIR) + "/tests/tools/misra1a.csv"));

  window.method_action(MethodMenu::kUnivariate, 42)->trigger();
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(window.estimation_frame()->isVisible());
  QTest::keyClicks(estimation->nonlin(), "Y = B1*(1-EXP(-B2*X))");

  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver
      .then("Tvargrid",
            [](QWidget* form) {
              auto* grid = child<QTableWidget>(form, "grid");
              EXPECT_EQ(grid->item(0, 0)->text(), "B1");
              EXPECT_EQ(grid->item(1, 0)->text(), "B2");
              grid->item(0, 1)->setText("500");
              grid->item(1, 1)->setText("0.0001");
              click(form, "ok");
            })
      .then("Tbegfin", e2e::keep_page(page))
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  EXPECT_NE(page.find("Non-Linear Least Squares Estimation"), std::string::npos) << page;
  EXPECT_NE(page.find(" 14 observations used for estimation from    1 to   14"), std::string::npos) << page;
  const auto expected =
      qorv::testing::read_expected(std::string(ZV_REFERENCE_DIR) + "/nls/expected.csv", "MISRA1A_S1");
  for (const char* name : {"B1", "B2"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> row = qorv::testing::words(e2e::coefficient_row(page, name));
    ASSERT_EQ(row.size(), 4u) << page;
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[1]), expected.at(std::string("coef:") + name)));
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[2]), expected.at(std::string("se:") + name)));
  }
}

}  // namespace
