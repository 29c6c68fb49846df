// SURE end to end: the Grunfeld investment data read from their text file, the system
// typed on the estimation window's SURE page, one equation's results chosen from the SURE
// Post Estimation Menu and its coefficients read off the page.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

#include <string>

#include "app/estimation_window.h"
#include "app/main_window.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/app_e2e/shown_window.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::DialogDriver;
using e2e::choose;
using namespace zelvorin;

TEST(SureRoad, EquationResultsFromTheEstimationWindow) {
  e2e::ShownWindow shown;
  MainWindow& window = shown.window;
  ASSERT_TRUE(shown.open_reference("sure/data.csv"));

  window.method_action(MethodMenu::kMultivariate, 31)->trigger();
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(window.estimation_frame()->isVisible());
  QTest::keyClicks(estimation->surememo(), "I_GE INPT F_GE C_GE; I_WH INPT F_WH C_WH");

  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tget1option", [](QWidget* form) { choose(form, "Display individual equation estimation results"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "I_GE"); })
      .then("Tbegfin", e2e::keep_page(page))
      .then("Tget1option", [](QWidget* form) { choose(form, "Choose another equation to inspect"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Quit"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move back to System Estimation Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Action Menu"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();

  const auto row = [&page](const std::string& name) {
    std::string line = e2e::coefficient_row(page, name);
    return line.erase(line.find_last_not_of(' ') + 1);
  };
  // The reference set's S2: -30.7485 (29.6608), .040511 (.014543), .13593 (.025541).
  EXPECT_NE(page.find("Seemingly Unrelated Regressions Estimation"), std::string::npos) << page;
  EXPECT_EQ(row("INPT"), " INPT                     -30.7485            29.6608            -1.0367[.314]");
  EXPECT_EQ(row("F_GE"), " F_GE                      .040511            .014543             2.7855[.013]");
  EXPECT_EQ(row("C_GE"), " C_GE                       .13593            .025541             5.3222[.000]");
  EXPECT_NE(page.find("   System Log-likelihood        -158.3031"), std::string::npos) << page;
}

}  // namespace
