// The program as a user meets it on a desktop, with the real engine and the real dialog
// library on the offscreen platform: a file read shows the data editor, Copy there puts
// spreadsheet text on the clipboard, modal dialogs come up above the floating variables
// window, and captions and period boxes follow Save As and a new sample at once.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "app/clipboard_dialogs.h"
#include "app/command_editor.h"
#include "app/data_editor.h"
#include "app/estimation_window.h"
#include "app/main_window.h"
#include "app/variables_window.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/app_e2e/shown_window.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::click;
using dialog_driver::DialogDriver;
using e2e::choose;
using e2e::ShownWindow;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;
using namespace zelvorin;

QString sample_path() {
  return QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string());
}

/// The data editor in front, maximised, on the whole sample data set; "Data" and
/// "Variables" enabled.
void expect_data_editor_in_front(const MainWindow& window) {
  EXPECT_TRUE(window.data_editor_frame()->isVisible());
  EXPECT_TRUE(window.data_editor_frame()->isMaximized());
  EXPECT_EQ(window.findChild<QMdiArea*>()->activeSubWindow(), window.data_editor_frame());
  EXPECT_EQ(window.data_editor_frame()->windowTitle(), "Data Editor - usmacro.zvd");
  EXPECT_EQ(window.data_editor()->model()->rowCount(), 196);
  EXPECT_EQ(window.data_editor()->model()->columnCount(), 5);
  EXPECT_TRUE(window.speed_button("Data")->isEnabled());
  EXPECT_TRUE(window.speed_button("Variables")->isEnabled());
}

TEST(Desktop, AFileReadShowsTheDataEditorAndEnablesDataAndVariables) {
  {
    SCOPED_TRACE("the file named on the command line");
    TestHome home;
    RecordedMessages messages;
    MainWindow window(home.ini());
    window.resize(1000, 700);
    window.splash_closed({sample_path()});
    window.show();
    ASSERT_TRUE(window.state().data_loaded);
    expect_data_editor_in_front(window);
    EXPECT_TRUE(messages.shown.empty());
  }
  {
    SCOPED_TRACE("File > Open");
    ShownWindow s;
    RecordedMessages messages;
    DialogDriver driver;
    driver.then("QFileDialog", [](QWidget* w) { dialog_driver::choose_file(w, sample_path()); });
    s.window.menu_action("&File", "&Open...")->trigger();
    ASSERT_TRUE(driver.finish()) << driver.failure();
    ASSERT_TRUE(s.window.state().data_loaded);
    expect_data_editor_in_front(s.window);
  }
}

TEST(Desktop, CtrlCInTheDataEditorCopiesTheChosenBlockAsSpreadsheetText) {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  ShownWindow s;
  RecordedMessages messages;
  ASSERT_TRUE(s.window.open_data_file(sample_path()));
  s.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&s.window));
  s.window.data_editor()->grid()->setFocus();
  QApplication::clipboard()->setText("something copied before");
  s.window.refresh_commands();
  EXPECT_TRUE(s.window.menu_action("&Edit", "&Copy")->isEnabled());
  EXPECT_TRUE(s.window.menu_action("&Edit", "&Paste")->isEnabled());

  QString title;
  DialogDriver driver;
  driver.then("copyDataDialog", [&title](QWidget* w) {
    auto* dialog = dynamic_cast<CopyDataDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    dialog->first_variable_box()->setCurrentIndex(1);  // LC
    dialog->last_variable_box()->setCurrentIndex(2);   // LY
    dialog->first_observation_box()->setCurrentIndex(0);
    dialog->last_observation_box()->setCurrentIndex(2);
    dialog->descriptions_box()->setChecked(false);
    dialog->accept();
  });
  QTest::keyClick(s.window.data_editor()->grid(), Qt::Key_C, Qt::ControlModifier);
  ASSERT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(title, "Copy data to clipboard");
  // The values as the sample file holds them, a names row over the observation labels.
  EXPECT_EQ(QApplication::clipboard()->text(),
            " \tLC\tLY\r\n"
            "1960Q1\t7.47901727155\t7.5784011942\r\n"
            "1960Q2\t7.4915896996\t7.58380716411\r\n"
            "1960Q3\t7.48762177308\t7.58467144643\r\n");
  EXPECT_TRUE(messages.shown.empty());
  QLocale::setDefault(QLocale::c());
}

/// The modal form is the active window, holds the keyboard focus, and no other window of
/// the program stays on top of it; the floating variables window is still showing.
void expect_above_everything(QWidget* form, const QWidget* variables) {
  EXPECT_EQ(QApplication::activeWindow(), form) << form->windowTitle().toStdString();
  const QWidget* focus = QApplication::focusWidget();
  EXPECT_TRUE(focus != nullptr && (focus == form || form->isAncestorOf(focus))) << form->windowTitle().toStdString();
  EXPECT_TRUE(variables->isVisible());
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w == form || !w->isVisible() || w->windowHandle() == nullptr) continue;
    EXPECT_FALSE(w->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint))
        << w->metaObject()->className() << " stays on top of " << form->windowTitle().toStdString();
  }
}

bool floats_on_top(const QWidget* variables) {
  return variables->isWindow() && variables->isVisible() && variables->windowHandle() != nullptr &&
         variables->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
}

// The program's own question, its Save As dialog and the engine's results viewer each
// come up above the floating variables window, active and with the focus; the variables
// window floats on top again once each has closed.
TEST(Desktop, ModalDialogsComeUpAboveTheFloatingVariablesWindow) {
  ShownWindow s;  // the program's own message boxes, not recorded ones
  ASSERT_TRUE(s.window.open_data_file(sample_path()));
  s.window.speed_button("Variables")->trigger();
  const QWidget* variables = s.window.variables_window();
  ASSERT_TRUE(floats_on_top(variables));

  DialogDriver question;
  question.then("QMessageBox", [&](QWidget* w) {
    expect_above_everything(w, variables);
    auto* box = qobject_cast<QMessageBox*>(w);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->text().startsWith("All currently loaded data will be lost."));
    box->button(QMessageBox::Cancel)->click();
  });
  EXPECT_FALSE(s.window.open_data_file(sample_path()));
  ASSERT_TRUE(question.finish()) << question.failure();
  EXPECT_TRUE(floats_on_top(variables));

  DialogDriver save_as;
  save_as.then("QFileDialog", [&](QWidget* w) {
    expect_above_everything(w, variables);
    static_cast<QDialog*>(w)->reject();
  });
  s.window.menu_action("&File", "Save &As...")->trigger();
  ASSERT_TRUE(save_as.finish()) << save_as.failure();
  EXPECT_TRUE(floats_on_top(variables));

  s.window.method_action(MethodMenu::kUnivariate, 11)->trigger();
  s.window.estimation()->nonlin()->setPlainText("LC INPT LY");
  DialogDriver request(std::chrono::seconds(60));
  request
      .then("Tbegfin",
            [&](QWidget* form) {
              expect_above_everything(form, variables);
              click(form, "close");
            })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(s.window.estimation()->start());
  ASSERT_TRUE(request.finish()) << request.failure() << "\nforms answered: " << request.seen().size();
  EXPECT_TRUE(floats_on_top(variables));
}

// Save As names the new file in every caption at once, and a sample set by a command
// shows in the estimation window's period boxes without the window being entered again.
TEST(Desktop, CaptionsAndPeriodBoxesFollowSaveAsAndANewSampleAtOnce) {
  ShownWindow s;
  RecordedMessages messages;
  QTemporaryDir dir;
  ASSERT_TRUE(s.window.open_data_file(sample_path()));
  s.window.show_estimation(1);
  s.window.show_data_editor();

  DialogDriver subset;
  subset.then("saveSubsetDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
  ASSERT_TRUE(s.window.save_data_as(dir.filePath("renamed.zvd")));
  ASSERT_TRUE(subset.finish()) << subset.failure();
  EXPECT_EQ(s.window.data_editor_frame()->windowTitle(), "Data Editor - renamed.zvd");
  EXPECT_EQ(s.window.estimation_frame()->windowTitle(), "Estimate/Predict - renamed.zvd");
  EXPECT_EQ(s.window.command_editor_frame()->windowTitle(), "Command Editor - renamed.zvd");

  s.window.show_command_editor();
  s.window.command_editor()->memo()->setPlainText("SAMPLE 1960Q1 2000Q4");
  DialogDriver none;
  ASSERT_TRUE(s.window.command_editor()->go());
  ASSERT_TRUE(none.finish()) << none.failure();
  EXPECT_EQ(s.window.state().sample_end, 164);
  EXPECT_EQ(s.window.estimation()->period1()->currentText(), "1960Q1");
  EXPECT_EQ(s.window.estimation()->period2()->currentText(), "2000Q4");
  EXPECT_TRUE(s.window.status_text().startsWith("Current sample from 1960Q1 to 2000Q4."));
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
