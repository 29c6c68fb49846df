// The main window's commands: what each sends to the engine, the hints around modal
// dialogs, the busy flag, the Edit, Window and Help menus and the speed buttons.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMdiArea>
#include <QMenuBar>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QUrl>

#include <filesystem>

#include "app/engine_link.h"
#include "app/estimation_window.h"
#include "app/help_index.h"
#include "app/main_window.h"
#include "app/modal_hint.h"
#include "app/new_data_dialog.h"
#include "app/small_dialogs.h"
#include "app/variables_window.h"
#include "qtshared/help.h"
#include "shared/dialog_folder.h"
#include "shared/ini_file.h"
#include "tests/app/app_test_support.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using namespace zelvorin;
using engine::Call;
using zelvorin::testing::RecordedEngine;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;
using Kind = Call::Kind;

using zelvorin::testing::request;
using zelvorin::testing::slot;
using zelvorin::testing::text;
Call var(int index, const std::string& name) { return {Kind::kVars, index, 0, name}; }
Call data(int nobs, int nvars) { return {Kind::kData, nobs, nvars, {}}; }

QString sample_path() {
  return QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string());
}

std::vector<Call> driver_calls(const std::vector<Call>& calls) {
  std::vector<Call> out;
  for (const Call& c : calls)
    if (c.kind == Kind::kDriver) out.push_back(c);
  return out;
}

// A main window over a private settings file, its messages recorded.
struct Fixture {
  TestHome home;
  RecordedMessages messages;
  MainWindow window{home.ini()};
};

TEST(MainWindowOpen, ZvdFileIsRegisteredTheSameWhateverTheCaseOfItsExtension) {
  Fixture f;
  QTemporaryDir dir;
  const QString lower = dir.filePath("x.zvd");
  const QString upper = dir.filePath("X.ZVD");
  ASSERT_TRUE(QFile::copy(sample_path(), lower));
  ASSERT_TRUE(QFile::copy(sample_path(), upper));
  RecordedEngine engine_calls;
  ASSERT_TRUE(f.window.open_data_file(lower));
  const std::vector<Call> expected = {
      slot(8, 196), slot(4, 5), slot(7, 4), slot(20, 4), slot(12, 60), slot(13, 1), slot(14, 1900),
      data(196, 5), var(1, "INPT"), var(2, "LC"), var(3, "LY"), var(4, "INFL"), var(5, "R"),
      text(1, lower.toStdString()), slot(1, 3), request(1, 0), slot(8, 196),
      // the data editor's Go, pressed once the file is read
      slot(8, 196), slot(4, 5), data(196, 5)};
  EXPECT_EQ(engine_calls.calls, expected);

  const std::size_t second = engine_calls.calls.size();
  ASSERT_TRUE(f.window.open_data_file(upper));  // asks before replacing the loaded data
  ASSERT_EQ(f.messages.asked, (std::vector<QString>{"All currently loaded data will be lost. Ok to replace it with "
                                                    "data from another file?"}));
  std::vector<Call> again = engine_calls.since(second);
  ASSERT_EQ(again.size(), expected.size());
  again[13].text = lower.toStdString();
  EXPECT_EQ(again, expected);
  EXPECT_EQ(f.window.state().data_file_name, upper);
}

TEST(MainWindowOpen, TextFilesAreReadByTheEngineByKind) {
  struct Case {
    const char* name;
    int kind;  // slot 1; 0 for a file that is not opened
  };
  const Case cases[] = {{"a.csv", 6}, {"B.TXT", 6}, {"c.Prn", 6}, {"d.tsd", 7}, {"e.xyz", 0}, {"noext", 0}};
  Fixture f;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordedEngine engine_calls;
    engine_calls.driver = [](int) { return -1; };  // the engine refuses the file
    EXPECT_FALSE(f.window.open_data_file(c.name));
    if (c.kind == 0) {
      EXPECT_TRUE(engine_calls.calls.empty());
    } else {
      EXPECT_EQ(engine_calls.calls, (std::vector<Call>{text(1, c.name), slot(1, c.kind), request(1, -1)}));
    }
    EXPECT_FALSE(f.window.state().data_loaded);
  }
}

TEST(MainWindowOpen, AsciiFileTakesItsShapeFromTheNewDataDialog) {
  Fixture f;
  QTemporaryDir dir;
  const QString path = dir.filePath("small.DAT");
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1 2 3 4 5\n6 7 8 9 10\n");  // by variable: X1 = 1..5, X2 = 6..10
  }
  f.window.show();
  RecordedEngine engine_calls;
  QString hint_meanwhile;
  dialog_driver::DialogDriver driver;
  driver.then("newDataDialog", [&](QWidget* w) {
    hint_meanwhile = hint_text();
    auto* dialog = dynamic_cast<NewDataDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Loading data from an ASCII file");
    dialog->set_frequency(2);
    dialog->set_file_layout(1, 1);
    dialog->variables_box()->setText("2");
    dialog->start_year_box()->setText("1990");
    dialog->end_year_box()->setText("1994");
    dialog->accept();
  });
  driver.then("variablesDialog", [](QWidget* w) {
    auto* names = w->findChild<VariablesWindow*>();
    ASSERT_NE(names, nullptr);
    ASSERT_EQ(names->grid()->rowCount(), 2);
    EXPECT_EQ(names->grid()->item(0, 0)->text(), "X1");
    names->grid()->item(1, 0)->setText("gdp");  // upper-cased as names are
    names->ok();
  });
  ASSERT_TRUE(f.window.open_data_file(path));
  ASSERT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(hint_meanwhile, kModalHint);
  EXPECT_EQ(hint_text(), kHelpHint);
  EXPECT_EQ(engine_calls.calls,
            (std::vector<Call>{slot(2, 1), slot(3, 1), slot(7, 2), text(1, path.toStdString()), slot(1, 2),
                               var(1, "X1"), var(2, "GDP"), slot(8, 5), slot(4, 2), text(2, "1990 1994"),
                               request(1, 0), slot(8, 5),
                               // the data editor comes forward and hands the values over
                               slot(8, 5), slot(4, 2), data(5, 2)}));
  EXPECT_TRUE(f.window.data_editor_frame()->isMaximized());
  const HostWorkspace& ws = f.window.state().ws;
  EXPECT_EQ(ws.names[1], "GDP");
  EXPECT_EQ(ws.data[0], 1.0);
  EXPECT_EQ(ws.data[5 + 4], 10.0);
  EXPECT_EQ(f.window.status_text(), "Current sample from 1990 to 1994. Min 1990 Max 1994. (5 obs.) 2 variables, max 200.");
  EXPECT_TRUE(f.messages.shown.empty());
}

TEST(MainWindowSave, SaveAsSendsTheLayoutOfTheExtensionOrWritesZvdOnTheHost) {
  Fixture f;
  ASSERT_TRUE(f.window.open_data_file(sample_path()));
  struct Case {
    const char* name;
    int layout;  // slot 11
  };
  const Case cases[] = {{"o.dat", 1}, {"o.ASC", 1}, {"o.txt", 3}, {"o.prn", 3}, {"o.csv", 3}, {"o.TSD", 4}};
  QTemporaryDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordedEngine engine_calls;
    const QString name = dir.filePath(c.name);
    engine_calls.driver = [&name](int) {
      QFile out(name);
      EXPECT_TRUE(out.open(QIODevice::WriteOnly));
      out.write("saved\n");
      return 0;
    };
    ASSERT_TRUE(f.window.save_data_as(name));
    EXPECT_EQ(engine_calls.calls, (std::vector<Call>{slot(5, 1), slot(10, 3), slot(11, c.layout),
                                                     text(1, name.toStdString()), request(3, 0)}));
    EXPECT_EQ(f.window.state().data_file_name, name);
  }

  // The engine wrote nothing (the user quit its questions, or the format cannot be
  // written): the data set keeps its name, and an existing file is left as it was.
  for (const bool existing : {false, true}) {
    SCOPED_TRACE(existing);
    RecordedEngine engine_calls;
    engine_calls.driver = [](int) { return 0; };
    const QString name = dir.filePath(existing ? "o.csv" : "unwritten.csv");
    const QString before = f.window.state().data_file_name;
    EXPECT_FALSE(f.window.save_data_as(name));
    EXPECT_EQ(f.window.state().data_file_name, before);
    EXPECT_EQ(QFile::exists(name), existing);
  }

  // No extension: the host writes "name.ZVD" itself after the subset dialog.
  RecordedEngine engine_calls;
  dialog_driver::DialogDriver driver;
  driver.then("saveSubsetDialog", [](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
  ASSERT_TRUE(f.window.save_data_as(dir.filePath("whole")));
  ASSERT_TRUE(driver.finish()) << driver.failure();
  EXPECT_TRUE(engine_calls.calls.empty());
  EXPECT_TRUE(QFile::exists(dir.filePath("whole.ZVD")));
  EXPECT_EQ(QFile(dir.filePath("whole.ZVD")).size(), QFile(sample_path()).size());
  EXPECT_TRUE(f.messages.shown.empty());
}

TEST(MainWindowAdd, AnUnsavedDataSetMustFirstBeSavedAsZvd) {
  Fixture f;
  NewDataEntry entry{4, "2", "", "90", "1", "91", "4"};
  ASSERT_TRUE(f.window.new_data_set(check_new_data(entry).shape));
  f.messages.answers = {false};
  RecordedEngine engine_calls;
  f.window.menu_action("&File", "&Add...")->trigger();
  EXPECT_EQ(f.messages.asked, (std::vector<QString>{"Before adding a file to the variables on the workspace you must "
                                                    "save them in a ZVD file. Do you wish to continue?"}));
  EXPECT_TRUE(engine_calls.calls.empty());
}

TEST(MainWindowBusy, CommandsDoNothingWhileARequestRuns) {
  Fixture f;
  f.window.show();
  ASSERT_TRUE(f.window.open_data_file(sample_path()));
  f.window.show_estimation(1);
  f.window.estimation()->nonlin()->setPlainText("LC INPT LY");

  RecordedEngine engine_calls;
  QString hint_meanwhile;
  int requests = 0;
  engine_calls.driver = [&](int) {
    ++requests;
    hint_meanwhile = hint_text();
    EXPECT_TRUE(f.window.state().busy);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    for (const char* item : {"&New...", "&Open...", "&Add...", "&Save", "Save &As...", "&View..."})
      f.window.menu_action("&File", item)->trigger();
    for (const char* item : {"Cu&t", "&Copy", "&Paste", "Paste &Data", "&Font..."})
      f.window.menu_action("&Edit", item)->trigger();
    f.window.menu_action("&Options", "&Startup...")->trigger();
    f.window.method_action(MethodMenu::kUnivariate, 33)->trigger();
    for (const char* button : {"Process", "Data", "Single", "Multi", "Variables"})
      f.window.speed_button(button)->trigger();
    EXPECT_FALSE(f.window.estimation()->start());
    EXPECT_FALSE(f.window.open_data_file(sample_path()));
    return 0;
  };
  dialog_driver::DialogDriver no_dialogs(std::chrono::seconds(5));  // any form that opens fails the test
  ASSERT_TRUE(f.window.estimation()->start());
  EXPECT_TRUE(no_dialogs.finish()) << no_dialogs.failure();
  EXPECT_EQ(requests, 1);
  EXPECT_EQ(driver_calls(engine_calls.calls).size(), 1u);
  EXPECT_EQ(f.window.state().single_method, 0) << "the method menu was not taken";
  EXPECT_EQ(hint_meanwhile, kModalHint);
  EXPECT_EQ(hint_text(), kHelpHint);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_TRUE(f.messages.shown.empty());
  EXPECT_TRUE(f.messages.asked.empty());
}

TEST(MainWindowButtons, EnabledOnceDataIsLoaded) {
  Fixture f;
  f.window.show();
  const QStringList buttons = {"Process", "Data", "Single", "Multi", "Variables"};
  for (const QString& b : buttons) EXPECT_FALSE(f.window.speed_button(b)->isEnabled()) << b.toStdString();
  EXPECT_FALSE(f.window.menu_action("&File", "Save &As...")->isEnabled());
  ASSERT_TRUE(f.window.open_data_file(sample_path()));
  // The data editor comes forward on the data read, so "Data" and "Variables", which need
  // a child window, are enabled with the others.
  EXPECT_TRUE(f.window.data_editor_frame()->isMaximized());
  for (const QString& b : buttons) EXPECT_TRUE(f.window.speed_button(b)->isEnabled()) << b.toStdString();
  f.window.speed_button("Single")->trigger();
  EXPECT_TRUE(f.window.estimation_frame()->isVisible());
  EXPECT_EQ(f.window.estimation()->outer_page(), 1);
  for (const QString& b : buttons) EXPECT_TRUE(f.window.speed_button(b)->isEnabled()) << b.toStdString();
  EXPECT_TRUE(f.window.menu_action("&File", "Save &As...")->isEnabled());
  f.window.speed_button("Multi")->trigger();
  EXPECT_EQ(f.window.estimation()->outer_page(), 2);

  // "Process" and "Data" bring their windows forward; "Variables" floats the variables
  // window on top while it is pressed and makes it a minimised child when released.
  f.window.speed_button("Process")->trigger();
  EXPECT_TRUE(f.window.command_editor_frame()->isVisible());
  EXPECT_FALSE(f.window.estimation_frame()->isMaximized());
  f.window.speed_button("Data")->trigger();
  EXPECT_TRUE(f.window.data_editor_frame()->isMaximized());
  EXPECT_FALSE(f.window.command_editor_frame()->isMaximized());
  QAction* variables = f.window.speed_button("Variables");
  variables->trigger();
  EXPECT_TRUE(variables->isChecked());
  EXPECT_EQ(f.window.variables_frame(), nullptr);
  EXPECT_TRUE(f.window.variables_window()->isWindow());
  EXPECT_TRUE(f.window.variables_window()->isVisible());
  variables->trigger();
  ASSERT_NE(f.window.variables_frame(), nullptr);
  EXPECT_TRUE(f.window.variables_frame()->isMinimized());
  EXPECT_FALSE(f.window.variables_window()->isWindow());
  EXPECT_TRUE(f.messages.shown.empty());
}

TEST(MainWindowEdit, CutCopyAndPasteActOnTheFocusedBox) {
  Fixture f;
  f.window.show();
  QApplication::setActiveWindow(&f.window);
  ASSERT_TRUE(f.window.open_data_file(sample_path()));
  f.window.show_estimation(1);
  QPlainTextEdit* box = f.window.estimation()->nonlin();
  box->setFocus();
  box->setPlainText("LC INPT LY");
  box->selectAll();
  QApplication::processEvents();
  if (QApplication::focusWidget() != box) GTEST_SKIP() << "the platform gives no keyboard focus";
  f.window.refresh_commands();
  EXPECT_TRUE(f.window.menu_action("&Edit", "Cu&t")->isEnabled());
  f.window.menu_action("&Edit", "Cu&t")->trigger();
  EXPECT_EQ(box->toPlainText(), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "LC INPT LY");
  f.window.menu_action("&Edit", "&Paste")->trigger();
  f.window.menu_action("&Edit", "&Paste")->trigger();
  EXPECT_EQ(box->toPlainText(), "LC INPT LYLC INPT LY");

  QApplication::clipboard()->clear();
  EXPECT_FALSE(f.window.menu_action("&Edit", "&Paste")->isEnabled());
  EXPECT_FALSE(f.window.menu_action("&Edit", "Paste &Data")->isEnabled());
}

TEST(MainWindowHelp, MenuItemsOpenTheirTopics) {
  Fixture f;
  qtshared::help::set_file(std::filesystem::path(ZV_SOURCE_DIR) / "dialogs" / "help" / "zelvorin.hlp");
  const std::pair<const char*, int> items[] = {
      {"&Overview", 1000}, {"Help on &Functions", 102}, {"Help on Co&mmands", 101}, {"&How to Use Help", 100}};
  for (const auto& [caption, context] : items) {
    f.window.menu_action("&Help", caption)->trigger();
    EXPECT_EQ(qtshared::help::last_topic(), context) << caption;
    EXPECT_TRUE(qtshared::help::find_topic(context).has_value()) << caption;
  }

  QString listed;
  dialog_driver::DialogDriver driver;
  driver.then("helpIndex", [&](QWidget* w) {
    auto* index = dynamic_cast<HelpIndexDialog*>(w);
    ASSERT_NE(index, nullptr);
    dialog_driver::type(w, "search", "SURE");
    listed = index->list()->currentItem() ? index->list()->currentItem()->text() : QString();
    index->show_selected();
    index->reject();
  });
  f.window.menu_action("&Help", "&Search for Help On")->trigger();
  ASSERT_TRUE(driver.finish()) << driver.failure();
  EXPECT_FALSE(listed.isEmpty());
  EXPECT_NE(qtshared::help::last_topic(), 100);

  f.window.menu_action("&Help", "&Tutorial")->trigger();
  ASSERT_EQ(f.messages.shown.size(), 1u);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == "helpWindow") w->close();
  qtshared::help::set_file({});
}

TEST(MainWindowWindows, WindowMenuFollowsTheChildWindows) {
  Fixture f;
  f.window.show();
  QAction* tile = f.window.menu_action("&Window", "&Tile");
  ASSERT_NE(tile, nullptr);
  EXPECT_FALSE(tile->isEnabled());
  ASSERT_TRUE(f.window.open_data_file(sample_path()));
  f.window.show_estimation(1);
  QMenu* menu = nullptr;
  for (QAction* top : f.window.menuBar()->actions())
    if (top->text() == "&Window") menu = top->menu();
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();  // the list of child windows is rebuilt as the menu opens
  EXPECT_TRUE(f.window.menu_action("&Window", "&Tile")->isEnabled());
  EXPECT_NE(f.window.menu_action("&Window", "Estimate/Predict - usmacro.zvd"), nullptr);
  f.window.estimation_frame()->showMinimized();
  f.window.menu_action("&Window", "&Arrange Icons")->trigger();
  const QMdiArea* area = f.window.findChild<QMdiArea*>();
  EXPECT_EQ(f.window.estimation_frame()->geometry().bottom(), area->viewport()->height() - 1);
  EXPECT_EQ(f.window.estimation_frame()->x(), 0);
}

// File dialogs open in the folder of the data file loaded, then in the folder of the last
// file chosen in any of them; the working folder only while nothing else is known.
TEST(MainWindowFiles, FileDialogsOpenInTheDataFilesFolderOrTheLastOneUsed) {
  ::unsetenv(dialog_folder::kFolderVariable);
  Fixture f;
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkpath("data") && QDir(dir.path()).mkpath("notes"));
  const QString data = dir.filePath("data/macro.zvd");
  const QString notes = dir.filePath("notes/read.txt");
  ASSERT_TRUE(QFile::copy(sample_path(), data));
  {
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("a note\n");
  }
  const auto opened_in = [&f](const char* menu, const char* item, const QString& choose) {
    QString folder;
    dialog_driver::DialogDriver driver;
    driver.then("QFileDialog", [&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      folder = d->directory().absolutePath();
      if (choose.isEmpty()) d->reject();
      else dialog_driver::choose_file(d, choose);
    });
    f.window.menu_action(menu, item)->trigger();
    EXPECT_TRUE(driver.finish()) << driver.failure();
    return folder;
  };
  EXPECT_EQ(opened_in("&File", "&View...", ""), QDir::currentPath());
  ASSERT_TRUE(f.window.open_data_file(data));
  EXPECT_EQ(opened_in("&File", "&Open...", ""), dir.filePath("data"));
  EXPECT_EQ(opened_in("&File", "&View...", notes), dir.filePath("data"));
  EXPECT_EQ(opened_in("&File", "&Add...", ""), dir.filePath("notes"));
  // The next run starts in it.
  f.window.close();
  EXPECT_EQ(ini::IniFile::load(f.home.ini()).get_string("Directories", "Workdir"), dir.filePath("notes").toStdString());
  ::unsetenv(dialog_folder::kFolderVariable);
}

TEST(MainWindowDrop, ADroppedDataFileIsOpened) {
  Fixture f;
  f.window.show();
  auto* mime = new QMimeData;
  mime->setUrls({QUrl::fromLocalFile(sample_path())});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  enter.setAccepted(false);
  QApplication::sendEvent(&f.window, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&f.window, &drop);
  QApplication::processEvents();
  EXPECT_TRUE(f.window.state().data_loaded);
  EXPECT_EQ(f.window.state().data_file_name, sample_path());
  EXPECT_TRUE(f.window.data_editor_frame()->isMaximized());

  auto* other = new QMimeData;
  other->setUrls({QUrl::fromLocalFile("/tmp/picture.png")});
  QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, other, Qt::LeftButton, Qt::NoModifier);
  refused.setAccepted(false);
  QApplication::sendEvent(&f.window, &refused);
  EXPECT_FALSE(refused.isAccepted());
  delete mime;
  delete other;
}

}  // namespace
