// An unrestricted VAR end to end: the reference growth-rate data read from its text file,
// the estimation window's Multivariate page with the VAR list and its order, the post
// estimation menu answered on its form and the covariance matrix read off the page.
#include <gtest/gtest.h>

#include <QLineEdit>
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

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using e2e::choose;
using namespace zelvorin;

TEST(VarRoad, CovarianceMatrixFromTheEstimationWindow) {
  e2e::ShownWindow shown;
  MainWindow& window = shown.window;
  ASSERT_TRUE(shown.open_reference("var/data.csv"));

  window.method_action(MethodMenu::kMultivariate, 11)->trigger();
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(window.estimation_frame()->isVisible());
  QTest::keyClicks(estimation->varmemo(), "DLY DLC DLI & INPT T");
  estimation->var_order()->setText("3");

  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tget1option", [](QWidget* form) { choose(form, "Display system covariance matrix of errors"); })
      .then("Tbegfin", e2e::keep_page(page))
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to System Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();

  // Σ̃ = E'E/(n − k) of the VAR(3) over 1959Q2-2008Q4 less three initial values.
  EXPECT_NE(page.find("Estimated System Covariance Matrix of Errors"), std::string::npos) << page;
  EXPECT_NE(page.find(" DLY           9.1341    4.6287   35.9687"), std::string::npos) << page;
  EXPECT_NE(page.find(" DLI          35.9687    5.9348  242.2323"), std::string::npos) << page;
}

}  // namespace
