// The new-data dialog, the save-subset and clipboard dialogs, the results window and the
// File commands that use them.
#include "app/new_data_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>

#include "app/clipboard_dialogs.h"
#include "app/engine_link.h"
#include "app/estimation_window.h"
#include "app/main_window.h"
#include "app/results_window.h"
#include "app/small_dialogs.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;

TEST(NewData, EntriesAreCheckedAndCounted) {
  struct Case {
    NewDataEntry entry;
    const char* message;  // "" when accepted
    int nobs;
    int century;
  };
  const Case cases[] = {
      {{4, "3", "", "90", "1", "99", "4"}, "", 40, 1900},
      {{4, " 3 ", "", "1 990", "1", "1999", "4"}, "", 40, 1900},  // blanks inside numbers are removed
      {{2, "1", "", "1950", "", "1999", ""}, "", 50, 0},
      {{5, "1", "", "2005", "11", "2006", "2"}, "", 4, 2000},
      {{1, "2", "250", "", "", "", ""}, "", 250, 0},
      {{1, "100", "1300", "", "", "", ""}, "Too many observations/variables!", 0, 0},
      {{2, "1", "", "1", "", "3200", ""}, "Too many observations/variables!", 0, 0},
      {{4, "201", "", "90", "1", "99", "4"}, "Too many variables!", 0, 0},
      {{4, "x", "", "90", "1", "99", "4"}, "Too many variables!", 0, 0},
      {{4, "3", "", "99", "1", "90", "4"}, "Invalid data", 0, 0},
      {{4, "3", "", "90", "2", "90", "1"}, "Invalid data", 0, 0},
      {{4, "3", "", "90", "5", "99", "4"}, "Invalid data", 0, 0},
      {{3, "3", "", "90", "0", "99", "2"}, "Invalid data", 0, 0},
      {{1, "3", "0", "", "", "", ""}, "Invalid data", 0, 0},
      {{2, "3", "", "10000", "", "10001", ""}, "Invalid data", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.entry.start_year + "/" + c.entry.variables + "/" + c.entry.observations).toStdString());
    const NewDataCheck r = check_new_data(c.entry);
    EXPECT_EQ(r.message, QString::fromLatin1(c.message));
    EXPECT_EQ(r.clear_variables, r.message == "Too many variables!");
    if (r.message.isEmpty()) {
      EXPECT_EQ(r.shape.nobs, c.nobs);
      EXPECT_EQ(r.shape.century_base, c.century);
    }
  }
}

TEST(NewData, DialogStaysOpenOnARefusalAndRegistersTheFileLayout) {
  RecordedMessages messages;
  NewDataDialog dialog("Loading data from an ASCII file", 20102, NewDataDialog::Road::kAsciiFile, -999);
  EXPECT_EQ(dialog.entry().frequency, 4);  // none yet: quarterly offered
  dialog.variables_box()->setText("500");
  dialog.accept();
  EXPECT_EQ(messages.shown, (std::vector<QString>{"Too many variables!"}));
  EXPECT_TRUE(dialog.variables_box()->text().isEmpty());
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  dialog.set_frequency(2);
  dialog.set_file_layout(2, 1);
  dialog.variables_box()->setText("2");
  dialog.start_year_box()->setText("1950");
  dialog.end_year_box()->setText("1999");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.shape().nobs, 50);
  EXPECT_EQ(engine::retrieve_int(slots::kNewDataOrganisation), 2);
  EXPECT_EQ(engine::retrieve_int(slots::kNewDataFormat), 1);
  EXPECT_EQ(engine::retrieve_int(slots::kFrequency), 2);
}

TEST(SaveSubset, RangeMustLieInsideTheDataSet) {
  EXPECT_TRUE(valid_range(1, 40, 40));
  EXPECT_TRUE(valid_range(7, 7, 40));
  EXPECT_FALSE(valid_range(0, 4, 40));
  EXPECT_FALSE(valid_range(5, 4, 40));
  EXPECT_FALSE(valid_range(1, 41, 40));

  RecordedMessages messages;
  SaveSubsetDialog dialog(zelvorin::testing::quarters_from_1990(8));
  EXPECT_EQ(dialog.last_box()->currentText(), "1991Q4");
  dialog.first_box()->setCurrentIndex(5);
  dialog.last_box()->setCurrentIndex(2);
  dialog.accept();
  EXPECT_EQ(messages.shown, (std::vector<QString>{"Invalid data"}));
  EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST(ResultsWindow, ShowsAndSavesTheTextWithTheFiltersOfItsKind) {
  struct Case {
    const char* name;
    const char* filter;
    const char* hint;
  };
  const Case cases[] = {
      {"a.out", "Results files (*.OUT)|*.OUT", "Save to a new results file"},
      {"a.BAT", "Batch files (*.BAT)|*.BAT", "Save to a new batch file"},
      {"a.mod", "Model files (*.MOD)|*.MOD", "Save to a new model file"},
      {"a.equ", "Equation files (*.EQU)|*.EQU", "Save to a new equation file"},
      {"a.lst", "Variable list files (*.LST)|*.LST", "Save to a new results file"},
      {"a.txt", "All files (*.*)|*.*", "Save to a new file"},
  };
  for (const Case& c : cases) {
    const SaveChoice choice = save_choice_for(c.name);
    EXPECT_EQ(choice.filter, c.filter);
    EXPECT_EQ(choice.hint, c.hint);
  }

  RecordedMessages messages;
  QTemporaryDir dir;
  const QString path = dir.filePath("ols.OUT");
  const QString line1 = QString(78, '-');
  const QString line2 = QStringLiteral("  INPT      1.2345   ") + QString(57, ' ');
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write((line1 + "\r\n" + line2 + "\r\n\f\r\n").toLatin1());
  }
  EXPECT_EQ(ResultsWindow::open(dir.filePath("none.OUT")), nullptr);
  std::unique_ptr<ResultsWindow> window(ResultsWindow::open(path));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->lines(), (QStringList{line1, line2, "\f"}));
  EXPECT_EQ(window->save_choice().filter, "Results files (*.OUT)|*.OUT");
  ASSERT_TRUE(window->save_to(dir.filePath("copy.OUT")));
  QFile copy(dir.filePath("copy.OUT"));
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), (line1 + "\n" + line2 + "\n\f\n").toLatin1());  // 78-column records kept
  EXPECT_FALSE(window->save_to(dir.filePath("no/such/folder/x.OUT")));
  EXPECT_EQ(messages.shown.size(), 1u);

  // Copy with nothing selected takes the page, without its page break, in a fixed font.
  QApplication::clipboard()->clear();
  window->copy();
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  EXPECT_EQ(copied->text(), line1 + "\n" + line2 + "\n");
  EXPECT_TRUE(copied->html().contains("monospace")) << copied->html().toStdString();
  QTextCursor cursor = window->text()->textCursor();
  cursor.setPosition(line1.size() + 3);
  cursor.setPosition(line1.size() + 7, QTextCursor::KeepAnchor);
  window->text()->setTextCursor(cursor);
  window->copy();
  EXPECT_EQ(QApplication::clipboard()->text(), "INPT");
}

TEST(MainWindowFiles, NewDataSetSaveAsAndView) {
  TestHome home;
  {
    ini::IniFile file(home.ini());
    file.set_string("Fonts", "Fixedfontname", "DejaVu Sans Mono");
    file.set_string("Fonts", "Fixedfontsize", "12");
    file.set_string("Fonts", "Fixedfontbold", "1");
    ASSERT_TRUE(file.save());
  }
  RecordedMessages messages;
  MainWindow window(home.ini());
  NewDataEntry entry{4, "3", "", "90", "1", "99", "4"};
  ASSERT_TRUE(window.new_data_set(check_new_data(entry).shape));
  EXPECT_TRUE(window.state().data_loaded);
  EXPECT_EQ(window.state().ws.shape.nobs, 40);
  EXPECT_EQ(window.state().data_file_name, "untitled");
  EXPECT_EQ(window.estimation()->period1()->itemText(0), "1990Q1");
  EXPECT_EQ(window.estimation()->period2()->currentText(), "1999Q4");
  EXPECT_EQ(window.estimation()->windowTitle(), "Estimate/Predict - untitled");
  EXPECT_EQ(window.status_text(),
            "Current sample from 1990Q1 to 1999Q4. Min 1990Q1 Max 1999Q4. (40 obs.) 3 variables, max 200.");

  QTemporaryDir dir;
  EXPECT_FALSE(window.save_data_as(dir.filePath("data.xyz")));
  EXPECT_EQ(messages.shown.back(), "Unable to save file - unrecognised file extension used!");

  const QString out = dir.filePath("r.out");
  {
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("results\n");
  }
  QMdiArea* mdi = window.findChild<QMdiArea*>();
  const auto before = mdi->subWindowList().size();
  ASSERT_TRUE(window.open_text_file(out));
  ASSERT_EQ(mdi->subWindowList().size(), before + 1);
  auto* results = dynamic_cast<ResultsWindow*>(mdi->subWindowList().back()->widget());
  ASSERT_NE(results, nullptr);
  EXPECT_EQ(results->text()->toPlainText(), "results");
  EXPECT_EQ(results->text()->font().family(), "DejaVu Sans Mono");  // the fixed font of the settings
  EXPECT_EQ(results->text()->font().pointSize(), 12);
  EXPECT_TRUE(results->text()->font().bold());
}

}  // namespace

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedMessages;

TEST(ClipboardDialogs, CopyRangesAreCheckedAndDescriptionsNeedNames) {
  RecordedMessages messages;
  HostWorkspace ws;
  ws.shape.nobs = 8;
  ws.shape.nvars = 3;
  ws.shape.frequency = 4;
  ws.shape.periods_per_year = 4;
  ws.shape.start_year = 90;
  ws.shape.century_base = 1900;
  derive_end(ws.shape);
  ws.names[0] = "A";
  ws.names[1] = "B";
  ws.names[2] = "C";
  CopyDataDialog dialog(ws);
  EXPECT_EQ(dialog.last_variable_box()->currentText(), "C");
  EXPECT_EQ(dialog.last_observation_box()->currentText(), "1991Q4");
  EXPECT_TRUE(dialog.with_descriptions());
  dialog.names_box()->setChecked(false);
  EXPECT_FALSE(dialog.descriptions_box()->isChecked());
  EXPECT_FALSE(dialog.descriptions_box()->isEnabled());
  dialog.names_box()->setChecked(true);
  EXPECT_TRUE(dialog.descriptions_box()->isEnabled());

  struct Case {
    int first_var, last_var, first_obs, last_obs;  // box indices, from 0
    bool accepted;
  };
  const Case cases[] = {{0, 2, 0, 7, true}, {1, 1, 3, 3, true}, {2, 1, 0, 7, false}, {0, 2, 5, 4, false}};
  for (const Case& c : cases) {
    messages.shown.clear();
    dialog.setResult(QDialog::Rejected);
    dialog.first_variable_box()->setCurrentIndex(c.first_var);
    dialog.last_variable_box()->setCurrentIndex(c.last_var);
    dialog.first_observation_box()->setCurrentIndex(c.first_obs);
    dialog.last_observation_box()->setCurrentIndex(c.last_obs);
    dialog.accept();
    EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted) << c.first_var << c.last_var << c.first_obs;
    EXPECT_EQ(messages.shown, c.accepted ? std::vector<QString>{} : std::vector<QString>{"Invalid data"});
  }
  EXPECT_EQ(dialog.first_observation(), 6);

  PasteLayoutDialog paste;
  EXPECT_EQ(paste.rows(), PasteLayoutDialog::kNamesWithDescriptions);
  EXPECT_EQ(paste.columns(), PasteLayoutDialog::kDatesFirst);
  paste.rows_group()->button(3)->click();
  paste.columns_group()->button(2)->click();
  EXPECT_EQ(paste.rows(), PasteLayoutDialog::kDataRowsOnly);
  EXPECT_EQ(paste.columns(), PasteLayoutDialog::kDataColumnsOnly);
}

}  // namespace
