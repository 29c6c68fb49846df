// A cointegrating VAR end to end: the reference data read from its text file, the
// estimation window's Multivariate page with the case chosen in its menu and the order in
// its box, the rank tests read off the page, and out through the post-estimation menu.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTest>

#include <string>

#include "app/estimation_window.h"
#include "app/engine_link.h"
#include "app/main_window.h"
#include "shared/exchange_slots.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/app_e2e/shown_window.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::DialogDriver;
using e2e::choose;
using namespace zelvorin;

TEST(CvarRoad, RankTestsFromTheEstimationWindow) {
  e2e::ShownWindow shown;
  MainWindow& window = shown.window;
  ASSERT_TRUE(shown.open_reference("cointegration/data.csv"));
  // The test program's folder holds no support files: read them where the sources keep them.
  engine::register_char(charset::kProgramFolder, std::string(ZV_SOURCE_DIR) + "/engine/resources/");

  // Unrestricted intercepts, no trends: case 3; order 2 over 1960Q1-2008Q4.
  window.method_action(MethodMenu::kMultivariate, 23)->trigger();
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(window.estimation_frame()->isVisible());
  QTest::keyClicks(estimation->varmemo(), "LC LY LI");
  estimation->var_order()->setText("2");
  estimation->period1()->setCurrentIndex(estimation->period1()->findText("1960Q1"));

  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tbegfin", e2e::keep_page(page))
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to System Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();

  EXPECT_NE(page.find("Cointegration with unrestricted intercepts and no trends in the VAR"), std::string::npos) << page;
  EXPECT_NE(page.find(" 196 observations from 1960Q1 to 2008Q4. Order of VAR = 2."), std::string::npos) << page;
  // TRACE:0 = 40.379638270716889 of the reference case C3.
  EXPECT_NE(page.find(" r = 0      r>= 1        40.3796"), std::string::npos) << page;
  EXPECT_EQ(estimation->var_order()->text(), "2");
}

}  // namespace
