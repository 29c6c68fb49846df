// The text editor form: the caller's block, the word boxes, help topics, and equation and
// list files.
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QLabel>
#include <QFile>
#include <QMessageBox>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "dialogs/text_editor_form.h"
#include "qtshared/help.h"
#include "shared/pravel_api.h"
#include "shared/temp_files.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/support/special_files.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using dialog_driver::screenshot;

std::string temp_dir() { return std::getenv(temp_files::kSessionFolderVariable); }

/// Calls GetTextP on a 40 × 78 block with two variable names.
int16_t edit(std::string& block, int16_t mode, const std::string& ext = "EQU") {
  const std::string msg = "Specify the regression equation";
  const std::string names = "GDP           CONS          ";
  const int16_t msglen = static_cast<int16_t>(msg.size()), linelen = 78, nlines = 40,
                help = 20101, nnames = 2;
  int16_t status = 0;
  GetTextP(&msglen, &linelen, &nlines, &help, &status, &nnames, msg.data(), block.data(),
           names.data(), &mode, ext.data());
  return status;
}

TEST(TextEditor, FullBlockComesBackWhole) {
  std::string block;
  for (int i = 0; i < 3120; ++i) block += static_cast<char>('A' + i % 26);
  const std::string original = block;
  DialogDriver driver;
  driver.then("Teditor", [](QWidget* form) {
    EXPECT_EQ(child<QPlainTextEdit>(form, "editor")->toPlainText().size(), 3120);
    click(form, "ok");
  });
  EXPECT_EQ(edit(block, 0), 1);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(block, original);
}

TEST(TextEditor, TypedLinesAreJoinedByOneBlankAndTheBlockIsFilled) {
  std::string block(3120, ' ');
  block.replace(0, 5, "OLD X");
  DialogDriver driver;
  driver.then("Teditor", [](QWidget* form) {
    screenshot(form, "text_editor");
    EXPECT_TRUE(child<QLabel>(form, "message")->isVisible());
    auto* memo = child<QPlainTextEdit>(form, "editor");
    EXPECT_EQ(memo->toPlainText(), "OLD X");
    // Tab and Shift+Tab leave the box: it is a text box, not a code editor.
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
      memo->setFocus();
      QTest::keyClick(memo, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
      EXPECT_NE(form->focusWidget(), memo);
    }
    EXPECT_EQ(memo->toPlainText(), "OLD X");
    memo->setPlainText("Y C X1\nX2;");
    click(form, "ok");
  });
  EXPECT_EQ(edit(block, 0), 1);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(block, "Y C X1 X2;" + std::string(3110, ' '));
}

TEST(TextEditor, TooLongTextIsRefusedAndCancelKeepsTheBlock) {
  std::string block(3120, ' ');
  block.replace(0, 3, "KEP");
  DialogDriver driver;
  driver.then("Teditor", [](QWidget* form) {
    child<QPlainTextEdit>(form, "editor")->setPlainText(QString(3121, 'Z'));
    click(form, "ok");
    EXPECT_TRUE(form->isVisible());
    click(form, "cancel");
  });
  driver.then("messageBox", [](QWidget* box) {
    EXPECT_EQ(child<QLabel>(box, "text")->text(), "Text too long: at most 3120 characters");
    click(box, "ok");
  });
  EXPECT_EQ(edit(block, 0), 2);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(block.substr(0, 4), "KEP ");
}

TEST(TextEditor, WordBoxesInsertAtTheCaretAndHaveTheirOwnHelp) {
  std::string block(3120, ' ');
  block.replace(0, 6, "Y = ()");
  DialogDriver driver;
  driver.then("Teditor", [](QWidget* form) {
    auto* memo = child<QPlainTextEdit>(form, "editor");
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(5);
    memo->setTextCursor(cursor);
    auto* functions = child<QListWidget>(form, "QorvFunctions");
    EXPECT_EQ(functions->currentItem()->text(), "LOG");
    EXPECT_EQ(functions->count(), 22);
    EXPECT_FALSE(child<QListWidget>(form, "QorvCommands")->isVisible());
    functions->setFocus();
    QTest::keyClick(functions, Qt::Key_Return);
    EXPECT_EQ(memo->toPlainText(), "Y = (LOG )");
    auto* variables = child<QListWidget>(form, "variables");
    variables->setCurrentRow(1);
    variables->setFocus();
    QTest::keyClick(variables, Qt::Key_Enter);
    EXPECT_EQ(memo->toPlainText(), "Y = (LOG CONS )");
    QTest::keyClick(variables, Qt::Key_F1);
    EXPECT_EQ(qtshared::help::last_topic(), 104);
    functions->setFocus();
    QTest::keyClick(functions, Qt::Key_F1);
    EXPECT_EQ(qtshared::help::last_topic(), 102);
    memo->setFocus();
    QTest::keyClick(memo, Qt::Key_F1);
    EXPECT_EQ(qtshared::help::last_topic(), 20101);
    QTest::keyClick(form, Qt::Key_Escape);  // Esc is Cancel
  });
  EXPECT_EQ(edit(block, 0), 2);
  EXPECT_TRUE(driver.finish()) << driver.failure();
}

TEST(TextEditor, RetrieveAndSaveEquationFiles) {
  const std::string path = temp_dir() + "/model.EQU";
  std::ofstream(path, std::ios::binary) << "Y X1;X2;   \r\nZ ; W\n";
  const std::string saved = temp_dir() + "/saved.LST";
  std::string block(3120, ' ');
  DialogDriver driver;
  driver.then("Teditor", [&](QWidget* form) { click(form, "retrieve"); });
  driver.then("fileDialog", [&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
    dialog_driver::choose_file(d, QString::fromStdString(path));
  });
  driver.then("Teditor", [&](QWidget* form) {
    auto* memo = child<QPlainTextEdit>(form, "editor");
    EXPECT_EQ(memo->toPlainText(), "Y X1; X2; \nZ ; W");
    memo->appendPlainText("LAST   ");
    click(form, "save");
  });
  driver.then("fileDialog", [&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(d->selectedNameFilter(), "Variable list files (*.LST *.lst)");
    dialog_driver::choose_file(d, QString::fromStdString(saved));
  });
  driver.then("Teditor", [](QWidget* form) { click(form, "ok"); });
  EXPECT_EQ(edit(block, 0, "LST"), 1);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  std::ifstream in(saved, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  EXPECT_EQ(bytes.str(), "Y X1; X2;\nZ ; W\nLAST\n");
  EXPECT_EQ(block.substr(0, 22), "Y X1; X2;  Z ; W LAST ");
}

// A FIFO or a link to a device chosen (and confirmed) as the file to save: refused at once
// with the save's message, and left as it was. (A folder cannot be chosen: the save dialog
// opens it.)
TEST(TextEditor, SavingOverAFifoOrADeviceLinkIsRefused) {
  for (const zv_test::Special kind : {zv_test::Special::kFifo, zv_test::Special::kDeviceLink}) {
    SCOPED_TRACE(zv_test::special_name(kind));
    const std::filesystem::path target = std::filesystem::path(temp_dir()) / (zv_test::special_name(kind) + ".EQU");
    ASSERT_TRUE(zv_test::make_special(kind, target));
    std::string block(3120, ' ');
    std::chrono::steady_clock::time_point start;
    DialogDriver driver;
    driver.then("Teditor", [](QWidget* form) {
      child<QPlainTextEdit>(form, "editor")->setPlainText("Y X");
      click(form, "save");
    });
    driver.then("fileDialog", [&](QWidget* w) { dialog_driver::choose_file(w, QString::fromStdString(target.string())); });
    driver.then("QMessageBox", [&](QWidget* w) {  // the dialog's "already exists" question
      start = std::chrono::steady_clock::now();
      qobject_cast<QMessageBox*>(w)->button(QMessageBox::Yes)->click();
    });
    driver.then("messageBox", [&](QWidget* box) {
      EXPECT_LT(zv_test::seconds_since(start), 1.0);
      EXPECT_EQ(child<QLabel>(box, "text")->text(), "Could not save to this file\nNot a regular file");
      click(box, "ok");
    });
    driver.then("Teditor", [](QWidget* form) { click(form, "cancel"); });
    EXPECT_EQ(edit(block, 0), 2);
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(std::filesystem::symlink_status(target).type(), zv_test::kept_type(kind));
    std::filesystem::remove(target);
  }
}

TEST(TextEditor, PanelModeShowsThePanelFile) {
  std::ofstream(temp_dir() + "/J$.TTT", std::ios::binary) << "  Y    dependent variable\r\n  X1   regressor\r\n";
  std::string block(3120, ' ');
  DialogDriver driver;
  driver.then("Teditor", [](QWidget* form) {
    screenshot(form, "text_editor_panel");
    EXPECT_EQ(form->findChild<QLabel*>("message"), nullptr);
    EXPECT_EQ(child<QPlainTextEdit>(form, "panel")->toPlainText(),
              "  Y    dependent variable\n  X1   regressor");
    click(form, "cancel");
  });
  EXPECT_EQ(edit(block, 1), 2);
  EXPECT_TRUE(driver.finish()) << driver.failure();
}

TEST(TextEditor, RetrievedLines) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {{"Y X1;X2;", "Y X1; X2; "}, {"A; B   ", "A; B"}, {"A;;", "A; ; "}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(pravel::retrieved_line(c.in), QString(c.out)) << c.in;
}

}  // namespace
