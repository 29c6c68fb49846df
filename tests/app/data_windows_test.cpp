// Spreadsheet text on the clipboard, the data editor, the variables window, and the main
// window's copy and Paste Data around them.
#include "app/clipboard_text.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include <memory>

#include "app/clipboard_dialogs.h"
#include "app/command_editor.h"
#include "app/data_editor.h"
#include "app/engine_link.h"
#include "app/estimation_window.h"
#include "app/main_window.h"
#include "app/name_drag.h"
#include "app/new_data_dialog.h"
#include "app/variables_window.h"
#include "app/zvd_host.h"
#include "shared/exchange_slots.h"
#include "tests/app/app_test_support.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using namespace zelvorin;
using engine::Call;
using zelvorin::testing::RecordedEngine;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;
using zelvorin::testing::slot;

constexpr double kNone = limits::kMissing;

/// The user's locale for one test.
struct LocaleScope {
  explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
  ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

/// A quarterly data set from 1990Q1: GDP (described) and R, R missing in the second quarter.
std::unique_ptr<HostWorkspace> quarterly() {
  auto ws = std::make_unique<HostWorkspace>();
  DataShape& s = ws->shape;
  s.nobs = 3;
  s.nvars = 2;
  s.frequency = 4;
  s.periods_per_year = 4;
  s.start_year = 90;
  s.start_period = 1;
  s.century_base = 1900;
  derive_end(s);
  ws->names[0] = "GDP";
  ws->descs[0] = "Gross domestic product";
  ws->names[1] = "R";
  const double values[] = {1234.5, -0.25, 1e-7, 5.0, kNone, 6.125};
  std::copy(std::begin(values), std::end(values), ws->data.begin());
  return ws;
}

TEST(ClipboardText, CopyThenPasteRestoresTheBlockInEveryLayout) {
  const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
  const auto ws = quarterly();
  struct Case {
    HeaderRows header;
    bool label_column;
  };
  const Case cases[] = {{HeaderRows::kNamesAndDescriptions, true}, {HeaderRows::kNames, true},
                        {HeaderRows::kNone, true},   {HeaderRows::kNamesAndDescriptions, false},
                        {HeaderRows::kNames, false}, {HeaderRows::kNone, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.header) * 10 + c.label_column);
    QString text = copy_text(*ws, {1, 2, 1, 3, c.header});
    if (!c.label_column) {  // a spreadsheet block without the date column
      QStringList lines = text.split(QStringLiteral("\r\n"));
      for (QString& line : lines) line = line.mid(line.indexOf(QLatin1Char('\t')) + 1);
      text = lines.join(QStringLiteral("\r\n"));
    }
    const PastedData back = PasteDataFromClipboard(text, {c.header, c.label_column, 3, 2});
    ASSERT_TRUE(back.error.isEmpty()) << back.error.toStdString();
    EXPECT_FALSE(back.mismatch);
    EXPECT_EQ(back.values, std::vector<double>(ws->data.begin(), ws->data.begin() + 6));
    const bool named = c.header != HeaderRows::kNone;
    EXPECT_EQ(back.names, (named ? std::vector<std::string>{"GDP", "R"} : std::vector<std::string>{"X1", "X2"}));
    EXPECT_EQ(back.descs[0], c.header == HeaderRows::kNamesAndDescriptions ? "Gross domestic product" : "");
  }
  EXPECT_EQ(copy_text(*ws, {1, 2, 1, 3, HeaderRows::kNamesAndDescriptions}),
            " \tGDP\tR\r\n \tGross domestic product\t \r\n1990Q1\t1234.5\t5\r\n"
            "1990Q2\t-0.25\t*NONE*\r\n1990Q3\t1E-07\t6.125\r\n");
  EXPECT_EQ(copy_size_estimate({1, 2, 1, 100, HeaderRows::kNames}), 4184);
}

TEST(ClipboardText, SpreadsheetTextAndItsRefusals) {
  const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
  // Typed by hand: LF line ends, trailing tabs, a description after the name, lower case, a
  // short row and an empty cell.
  const PastedData typed = PasteDataFromClipboard(
      "GDP Gross domestic product\tx1\t\n1,234.5\t2\t\n3\n\t4\n", {HeaderRows::kNames, false, 3, 2});
  ASSERT_TRUE(typed.error.isEmpty()) << typed.error.toStdString();
  EXPECT_EQ(typed.names, (std::vector<std::string>{"GDP", "X1"}));
  EXPECT_EQ(typed.descs, (std::vector<std::string>{"Gross domestic product", ""}));
  EXPECT_EQ(typed.values, (std::vector<double>{1234.5, 3, kNone, 2, kNone, 4}));
  EXPECT_FALSE(typed.mismatch);
  EXPECT_TRUE(PasteDataFromClipboard("A\tB\n1\t2\n", {HeaderRows::kNames, false, 5, 2}).mismatch);

  struct Refusal {
    QString text;
    HeaderRows header;
    const char* message;
  };
  const Refusal refusals[] = {
      {"A\tDOS\n1\t2\n", HeaderRows::kNames, "*Duplicate, invalid or blank variable name DOS"},
      {"EDIT\n1\n", HeaderRows::kNames, "*Duplicate, invalid or blank variable name EDIT"},
      {"A\ta\n1\t2\n", HeaderRows::kNames, "*Duplicate, invalid or blank variable name A"},
      {QString("1\n").repeated(3101), HeaderRows::kNone, "Too many observations/variables!"},
      {QString("1\t").repeated(201) + "\n", HeaderRows::kNone, "Too many observations/variables!"},
      {QString(32767, QLatin1Char('1')), HeaderRows::kNone,
       "Too much data on the clipboard - unable to paste data.Please copy a smaller section of your data, or save "
       "it as a CSV file which can be read by Zelvorin."},
      {"\n", HeaderRows::kNone, "No compatible data in the clipboard!"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.message);
    EXPECT_EQ(PasteDataFromClipboard(r.text, {r.header, false, 1, 1}).error, QString::fromLatin1(r.message));
  }
}

TEST(ClipboardText, AThousandObservationsAreCopiedWhole) {
  // The size estimate is far below the text this block takes: nothing may be cut.
  auto ws = std::make_unique<HostWorkspace>();
  ws->shape.nobs = 1000;
  ws->shape.nvars = 1;
  derive_end(ws->shape);
  ws->names[0] = "Y";
  for (int i = 0; i < 1000; ++i) ws->data[static_cast<std::size_t>(i)] = 1.0 / (i + 3);
  const QString text = copy_text(*ws, {1, 1, 1, 1000, HeaderRows::kNames});
  EXPECT_GT(text.size(), copy_size_estimate({1, 1, 1, 1000, HeaderRows::kNames}));
  const PastedData back = PasteDataFromClipboard(text, {HeaderRows::kNames, true, 1000, 1});
  ASSERT_TRUE(back.error.isEmpty());
  EXPECT_EQ(back.values, std::vector<double>(ws->data.begin(), ws->data.begin() + 1000));
}

/// A data editor over a quarterly data set the engine holds.
struct Editor {
  Editor() {
    state.ws = *quarterly();
    state.data_file_name = "q.zvd";
    register_data_set(state.ws, "q.zvd", 3);
    editor.refresh();
  }
  HostState state;
  DataEditor editor{state};
  QModelIndex cell(int row, int column) const { return editor.model()->index(row, column); }
  QString shown(int row, int column) const { return editor.model()->data(cell(row, column), Qt::DisplayRole).toString(); }
};

TEST(DataEditor, TypedValuesAreReadInTheUsersLocaleAndRegisteredByGo) {
  struct Case {
    QLocale locale;
    const char* typed;
    double stored;
    const char* shown;
  };
  const Case cases[] = {{QLocale(QLocale::English, QLocale::UnitedStates), "1,234.5", 1234.5, "1234.5"},
                        {QLocale(QLocale::German, QLocale::Germany), "1.234,5", 1234.5, "1234,5"},
                        {QLocale(QLocale::English, QLocale::UnitedStates), "abc", kNone, "*NONE*"},
                        {QLocale(QLocale::English, QLocale::UnitedStates), "*NONE*", kNone, "*NONE*"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const LocaleScope locale(c.locale);
    auto e = std::make_unique<Editor>();
    EXPECT_EQ(e->editor.windowTitle(), "Data Editor - q.zvd");
    EXPECT_EQ(e->editor.model()->headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), "1990Q2");
    EXPECT_EQ(e->editor.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "GDP");
    ASSERT_TRUE(e->editor.model()->setData(e->cell(2, 1), QString::fromLatin1(c.typed), Qt::EditRole));
    RecordedEngine engine_calls;
    e->editor.go();
    EXPECT_EQ(e->shown(2, 1), QString::fromLatin1(c.shown));
    EXPECT_EQ(e->state.ws.data[5], c.stored);
    EXPECT_EQ(engine_calls.calls, (std::vector<Call>{slot(8, 3), slot(4, 2),
                                                     {Call::Kind::kData, 3, 2, {}}}));
    std::vector<double> engine_copy(6);
    engine::retrieve_data(engine_copy, 3, 2);
    EXPECT_EQ(engine_copy[5], c.stored);
  }
}

TEST(DataEditor, CancelUndoesWhatWasTypedSinceGo) {
  Editor e;
  e.editor.model()->setData(e.cell(0, 0), "7", Qt::EditRole);
  e.editor.go();
  e.editor.model()->setData(e.cell(0, 0), "8", Qt::EditRole);
  e.editor.model()->setData(e.cell(1, 1), "9", Qt::EditRole);
  e.editor.cancel();
  EXPECT_EQ(e.state.ws.data[0], 7.0);
  EXPECT_EQ(e.state.ws.data[4], kNone);
  EXPECT_EQ(e.shown(0, 0), "7");
}

/// A variables window over the quarterly data set.
std::unique_ptr<HostWorkspace> three_names() {
  auto ws = quarterly();
  ws->names[2] = "X1";
  ws->shape.nvars = 3;
  return ws;
}

struct Names {
  RecordedMessages messages;
  std::unique_ptr<HostWorkspace> ws = three_names();
  VariablesWindow window{*ws};
  void rename(int row, const char* name) { window.grid()->item(row, 0)->setText(QString::fromLatin1(name)); }
};

TEST(VariablesWindow, RefusedNamesGiveTheOldNameBack) {
  Names n;
  EXPECT_EQ(n.window.grid()->horizontalHeaderItem(0)->text(), "Variables");
  EXPECT_EQ(n.window.grid()->item(0, 1)->text(), "Gross domestic product");
  for (const char* refused : {"R", "LOG", "EDIT", "Q", "1X", "", "DOS"}) {
    SCOPED_TRACE(refused);
    n.messages.shown.clear();
    n.rename(0, refused);
    EXPECT_EQ(n.window.grid()->item(0, 0)->text(), "GDP");
    EXPECT_EQ(n.messages.shown, (std::vector<QString>{"Duplicate, invalid or blank variable names not allowed!"}));
  }
  n.messages.shown.clear();
  n.rename(0, "A.B");
  n.rename(1, "gnp");
  n.window.grid()->item(1, 1)->setText("Gross national product");
  EXPECT_TRUE(n.messages.shown.empty());
  RecordedEngine engine_calls;
  n.window.ok();
  EXPECT_EQ(engine_calls.calls, (std::vector<Call>{{Call::Kind::kVars, 1, 0, "A.B"},
                                                   {Call::Kind::kVars, 2, 0, "GNP"},
                                                   {Call::Kind::kVars, 3, 0, "X1"}}));
  EXPECT_EQ(n.ws->names[1], "GNP");
  EXPECT_EQ(n.ws->descs[1], "Gross national product");
  EXPECT_EQ(engine::retrieve_vars(2).desc, "Gross national product");
}

/// The main window with the sample data set, its messages recorded.
struct Program {
  Program() {
    window.resize(900, 640);
    window.show();
    EXPECT_TRUE(window.open_data_file(
        QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string())));
  }
  TestHome home;
  RecordedMessages messages;
  MainWindow window{home.ini()};
};

TEST(VariablesWindow, ANameDoubleClickedOrDraggedGoesIntoTheEditingBoxes) {
  Program p;
  MainWindow& window = p.window;
  window.show_estimation(1);
  window.speed_button("Process")->trigger();
  window.estimation_frame()->showNormal();
  QTableWidget* grid = window.variables_window()->grid();
  ASSERT_EQ(grid->item(1, 0)->text(), "LC");
  emit grid->cellDoubleClicked(1, 0);
  EXPECT_EQ(window.command_editor()->memo()->toPlainText(), " LC ");
  EXPECT_EQ(window.estimation()->nonlin()->toPlainText(), " LC ");
  // A minimised window takes nothing.
  window.estimation_frame()->showMinimized();
  emit grid->cellDoubleClicked(2, 0);
  EXPECT_EQ(window.estimation()->nonlin()->toPlainText(), " LC ");

  grid->setCurrentCell(2, 0);
  // Dragging from the grid carries the current row's name.
  std::unique_ptr<QMimeData> dragged(grid->model()->mimeData({grid->model()->index(2, 0)}));
  ASSERT_NE(dragged, nullptr);
  EXPECT_TRUE(AcceptNameDrag(dragged.get()));
  QPlainTextEdit* memo = window.estimation()->varmemo();
  EXPECT_TRUE(DropNameIntoMemo(memo, dragged.get()));
  EXPECT_EQ(memo->toPlainText(), "LY ");
  QMimeData plain;
  plain.setText("LY");
  EXPECT_FALSE(AcceptNameDrag(&plain));
  EXPECT_TRUE(p.messages.shown.empty());
}

TEST(NameLists, ADragCarriesTheSelectedNameAndAClickStillOpensTheList) {
  QComboBox box;
  box.addItems({"INPT", "LC", "LY"});
  box.setCurrentIndex(2);
  box.resize(120, 24);
  box.show();
  std::vector<std::unique_ptr<QMimeData>> dragged;
  allow_name_drags(&box, [&](QComboBox* source, std::unique_ptr<QMimeData> data) {
    EXPECT_EQ(source, &box);
    dragged.push_back(std::move(data));
  });
  const QPoint at(10, 10);
  QTest::mousePress(&box, Qt::LeftButton, {}, at);
  QTest::mouseMove(&box, at + QPoint(2, 0));  // within the drag distance: not yet a drag
  EXPECT_TRUE(dragged.empty());
  QTest::mouseMove(&box, at + QPoint(QApplication::startDragDistance() + 5, 0));
  QTest::mouseRelease(&box, Qt::LeftButton, {}, at + QPoint(QApplication::startDragDistance() + 5, 0));
  ASSERT_EQ(dragged.size(), 1u);
  EXPECT_FALSE(box.view()->isVisible());
  QPlainTextEdit memo;
  EXPECT_TRUE(DropNameIntoMemo(&memo, dragged.front().get()));
  EXPECT_EQ(memo.toPlainText(), "LY ");

  QTest::mouseClick(&box, Qt::LeftButton, {}, at);
  EXPECT_EQ(dragged.size(), 1u);
  EXPECT_TRUE(box.view()->isVisible());
  box.hidePopup();
}

TEST(PasteData, ACopiedBlockPastesAsANewDataSetTheEngineHolds) {
  const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
  Program p;
  const auto original = std::make_unique<HostWorkspace>(p.window.state().ws);
  ASSERT_TRUE(p.window.CopyDataToClipboard({2, 3, 1, 8, HeaderRows::kNamesAndDescriptions}));
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith(" \tLC\tLY\r\n"));

  dialog_driver::DialogDriver driver;
  driver.then("newDataDialog", [](QWidget* w) {
    auto* dialog = dynamic_cast<NewDataDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Pasting data from the clipboard");
    dialog->set_frequency(4);
    dialog->variables_box()->setText("2");
    dialog->start_year_box()->setText("60");
    dialog->start_period_box()->setText("1");
    dialog->end_year_box()->setText("61");
    dialog->end_period_box()->setText("4");
    dialog->accept();
  });
  driver.then("pasteLayoutDialog", [](QWidget* w) {
    auto* dialog = dynamic_cast<PasteLayoutDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    dialog->rows_group()->button(PasteLayoutDialog::kNamesThenDescriptions)->click();
    dialog->columns_group()->button(PasteLayoutDialog::kDatesFirst)->click();
    dialog->accept();
  });
  p.window.paste_data_action();
  ASSERT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(p.messages.asked,
            (std::vector<QString>{"All currently loaded data will be lost. Ok to replace it with data from the clipboard?"}));
  const HostWorkspace& ws = p.window.state().ws;
  ASSERT_EQ(ws.shape.nobs, 8);
  ASSERT_EQ(ws.shape.nvars, 2);
  EXPECT_EQ(ws.names[0], "LC");
  EXPECT_EQ(ws.descs[1], original->descs[2]);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(ws.data[static_cast<std::size_t>(i)], original->data[static_cast<std::size_t>(original->shape.nobs + i)]);
    EXPECT_EQ(ws.data[static_cast<std::size_t>(8 + i)], original->data[static_cast<std::size_t>(2 * original->shape.nobs + i)]);
  }
  // The engine holds the pasted data set: a request reads it back unchanged.
  EXPECT_EQ(engine::retrieve_vars(2).name, "LY");
  std::vector<double> engine_copy(16);
  engine::retrieve_data(engine_copy, 8, 2);
  EXPECT_EQ(engine_copy, std::vector<double>(ws.data.begin(), ws.data.begin() + 16));
  EXPECT_TRUE(p.window.data_editor_frame()->isMaximized());
  EXPECT_EQ(p.window.status_text(), "Current sample from 1960Q1 to 1961Q4. Min 1960Q1 Max 1961Q4. (8 obs.) 2 variables, max 200.");
}

TEST(PasteData, CancelInTheMismatchWarningKeepsTheLoadedData) {
  Program p;
  QApplication::clipboard()->setText("A\tB\n1\t2\n");
  dialog_driver::DialogDriver driver;
  driver.then("newDataDialog", [](QWidget* w) {
    auto* dialog = dynamic_cast<NewDataDialog*>(w);
    dialog->set_frequency(1);
    dialog->variables_box()->setText("2");
    dialog->observations_box()->setText("5");
    dialog->accept();
  });
  driver.then("pasteLayoutDialog", [](QWidget* w) {
    auto* dialog = dynamic_cast<PasteLayoutDialog*>(w);
    dialog->rows_group()->button(PasteLayoutDialog::kNamesWithDescriptions)->click();
    dialog->columns_group()->button(PasteLayoutDialog::kDataColumnsOnly)->click();
    dialog->accept();
  });
  p.messages.answers = {true, false};  // replace the data set; then Cancel the mismatch
  p.window.paste_data_action();
  ASSERT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(p.messages.asked.back(), "No. of observations or variables did not match specification");
  EXPECT_EQ(p.window.state().ws.shape.nvars, 5);
  EXPECT_EQ(engine::retrieve_vars(2).name, "LC");
}

TEST(DataWindows, TheDataEditorOpensTheLargestDataSetAtOnce) {
  Program p;
  MainWindow& window = p.window;
  DataShape shape;
  shape.nobs = 3100;
  shape.nvars = 40;
  ASSERT_TRUE(window.new_data_set(shape));
  QElapsedTimer clock;
  clock.start();
  window.speed_button("Data")->setEnabled(true);
  window.show_data_editor();
  QApplication::processEvents();
  const qint64 ms = clock.elapsed();
  std::printf("data editor on 3100 x 40: %lld ms\n", static_cast<long long>(ms));
  EXPECT_LT(ms, 500);
  EXPECT_EQ(window.data_editor()->model()->rowCount(), 3100);
}

TEST(DataWindows, Screenshots) {
  Program p;
  QDir().mkpath(ZV_SCREENSHOT_DIR);
  p.window.show_data_editor();
  QApplication::processEvents();
  p.window.grab().save(QString(ZV_SCREENSHOT_DIR) + "/data_editor.png");
  p.window.place_variables_window(true);
  QApplication::processEvents();
  p.window.variables_window()->grab().save(QString(ZV_SCREENSHOT_DIR) + "/variables_floating.png");
  p.window.place_variables_window(false);
  p.window.variables_frame()->showMaximized();
  QApplication::processEvents();
  p.window.grab().save(QString(ZV_SCREENSHOT_DIR) + "/variables_child.png");
  EXPECT_TRUE(p.messages.shown.empty());
}

}  // namespace
