// The driver itself: a form nobody answers, or a step that takes too long, ends the run
// with a failure and every form closed, so a test never hangs; and the cursor protocol
// of the exports around the forms.
#include <QGuiApplication>

#include "dialogs/busy_cursor.h"
#include "shared/pravel_api.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::click;
using dialog_driver::DialogDriver;

const std::string kMsg = "Do you want to continue?";
const int16_t kMsgLen = static_cast<int16_t>(kMsg.size());
const int16_t kNoHelp = 0;

TEST(DialogDriver, UnexpectedFormIsClosedAndReported) {
  DialogDriver driver;
  driver.then("Tgetint", [](QWidget* form) { click(form, "ok"); });
  int16_t answer = 1, status = 1;
  GetLogP(&kMsgLen, &answer, &kNoHelp, &status, kMsg.data());
  EXPECT_FALSE(driver.finish());
  EXPECT_NE(driver.failure().find("expected Tgetint, found Tgetlogical"), std::string::npos)
      << driver.failure();
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(DialogDriver, DeadlineClosesEveryOpenForm) {
  DialogDriver driver(std::chrono::milliseconds(200));
  driver.then("Tgetlogical", [](QWidget*) { QTest::qWait(1500); });  // a step that hangs
  driver.then("Tgetlogical", [](QWidget* form) { click(form, "yes"); });
  int16_t answer = 1, status = 1;
  GetLogP(&kMsgLen, &answer, &kNoHelp, &status, kMsg.data());
  EXPECT_FALSE(driver.finish());
  EXPECT_NE(driver.failure().find("deadline"), std::string::npos) << driver.failure();
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(DialogDriver, ExportsLeaveTheHourglassUntilStopCalc) {
  DialogDriver driver;
  driver.then("Tgetlogical", [](QWidget* form) {
    EXPECT_FALSE(pravel::busy());  // the arrow while the form shows
    click(form, "no");
  });
  const int16_t len = 4;
  StartCalcP(&len, "busy");
  EXPECT_TRUE(pravel::busy());
  int16_t answer = 1, status = 1;
  GetLogP(&kMsgLen, &answer, &kNoHelp, &status, kMsg.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(status, 7);
  EXPECT_TRUE(pravel::busy());  // the engine computes after a dialog
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  StopCalcP();
  StopCalcP();  // one busy state, not a stack
  EXPECT_FALSE(pravel::busy());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
