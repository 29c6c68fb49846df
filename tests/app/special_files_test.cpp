// Paths that are not regular files on every road by which the program opens a file: the
// start-up argument, a drop, File Open, Add, View (results and graph files), an equation
// box's Get and the settings at start. None aborts or hangs; each refusal shows its
// message and keeps the loaded data. A folder, FIFO or device link named for saving is
// refused on every road that writes one, at once and with the road's message. The last
// test runs the program itself offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>

#include "app/equation_box.h"
#include "app/graph_window.h"
#include "app/main_window.h"
#include "app/results_window.h"
#include "qtshared/page_printer.h"
#include "tests/app/app_test_support.h"
#include "tests/support/qt/scripted_graph_services.h"
#include "tests/support/special_files.h"

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;
using zv_test::Special;
namespace fs = std::filesystem;

QString qt_path(const fs::path& path) { return QString::fromStdString(path.string()); }

QString reason(Special kind) {
  if (kind == Special::kDanglingLink) return QStringLiteral("No such file or directory");
  if (kind == Special::kUnreadable) return QString::fromStdString(zv_test::unreadable_reason());
  return QStringLiteral("Not a regular file");
}

class SpecialFileRoads : public ::testing::TestWithParam<Special> {
 protected:
  /// The main window with the sample data set loaded.
  void load_sample(MainWindow& window) {
    ASSERT_TRUE(window.open_data_file(qt_path(zelvorin::testing::sample_folder() / "usmacro.zvd")));
    messages_.shown.clear();
  }

  static void expect_sample_kept(const MainWindow& window) {
    EXPECT_TRUE(window.state().data_loaded);
    EXPECT_EQ(window.state().ws.shape.nobs, 196);
    EXPECT_EQ(engine::retrieve_int(slots::kNumVariables), 5);
    EXPECT_EQ(engine::retrieve_vars(2).name, "LC");
  }

  TestHome home_;
  RecordedMessages messages_;
};

TEST_P(SpecialFileRoads, OpenAddDropAndViewRefuseWithTheirMessages) {
  const fs::path zvd = home_.path / "special.zvd", csv = home_.path / "special.csv", out = home_.path / "special.out",
                 qgx = home_.path / "special.qgx";
  for (const fs::path& path : {zvd, csv, out, qgx}) ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), path);
  MainWindow window(home_.ini());
  load_sample(window);
  const auto start = std::chrono::steady_clock::now();

  EXPECT_FALSE(window.open_data_file(qt_path(zvd)));
  EXPECT_EQ(messages_.shown, std::vector<QString>{QStringLiteral("Could not open this file\n") + reason(GetParam())});
  expect_sample_kept(window);

  messages_.shown.clear();
  EXPECT_FALSE(window.add_zvd(qt_path(zvd)));
  EXPECT_EQ(messages_.shown, std::vector<QString>{QStringLiteral("Could not open this file\n") + reason(GetParam())});
  expect_sample_kept(window);

  // The engine's road: its file box, then the data set as it was.
  EXPECT_FALSE(window.open_data_file(qt_path(csv)));
  expect_sample_kept(window);

  messages_.shown.clear();
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(qt_path(zvd))});
  // A drag enters before it drops.
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &enter);
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&window, &drop);
  QApplication::processEvents();
  EXPECT_EQ(messages_.shown, std::vector<QString>{QStringLiteral("Could not open this file\n") + reason(GetParam())});
  expect_sample_kept(window);

  messages_.shown.clear();
  EXPECT_FALSE(window.open_text_file(qt_path(out)));
  EXPECT_EQ(messages_.shown, std::vector<QString>{QStringLiteral("Unable to read file ") + qt_path(out)});

  testing_support::ScriptedGraphServices services;
  QString error;
  EXPECT_EQ(GraphWindow::open(qt_path(qgx), services, nullptr, &error), nullptr);
  EXPECT_EQ(error, QStringLiteral("Unable to read graph file ") + qt_path(qgx));

  // An equation box's Get: the View window's message, and the box as it was.
  messages_.shown.clear();
  QPlainTextEdit box(QStringLiteral("Y X"));
  EXPECT_FALSE(load_equation_file(&box, qt_path(out)));
  EXPECT_EQ(messages_.shown, std::vector<QString>{QStringLiteral("Unable to read file ") + qt_path(out)});
  EXPECT_EQ(box.toPlainText(), QStringLiteral("Y X"));
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
}

TEST_P(SpecialFileRoads, AStartUpArgumentOrSettingsFileLoadsNothing) {
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), home_.ini(), "[Options]\nNumLines=40\n");
  ZV_MAKE_SPECIAL_OR_SKIP(GetParam(), home_.path / "start.zvd");
  const auto start = std::chrono::steady_clock::now();
  MainWindow window(home_.ini());
  EXPECT_EQ(engine::retrieve_int(slots::kLinesPerPage), 60);  // the settings' defaults
  window.splash_closed({qt_path(home_.path / "start.zvd")});
  window.show();
  QApplication::processEvents();
  EXPECT_FALSE(window.state().data_loaded);
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  // Only a file that exists but cannot be read is tried, and refused with its reason.
  if (GetParam() == Special::kUnreadable) {
    EXPECT_EQ(messages_.shown, std::vector<QString>{QStringLiteral("Could not open this file\n") + reason(GetParam())});
  } else {
    EXPECT_TRUE(messages_.shown.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRoad, SpecialFileRoads, ::testing::ValuesIn(zv_test::kSpecials), zv_test::SpecialName{});

constexpr char kPlot[] =
    " Actual and fitted values of C\n *\n 0 2 4 0\n 4 1990 1\n"
    " C             \n 101.5\n 102\n 103\n 104.25\n Fitted        \n 101\n 102.5\n 103\n 104\n";

class SpecialSaveTargets : public SpecialFileRoads {
 protected:
  /// Makes the row's special at `name` in the test's home; its path.
  QString special(const char* name) {
    const fs::path path = home_.path / name;
    if (!zv_test::make_special(GetParam(), path)) ADD_FAILURE() << "cannot make " << path;
    return qt_path(path);
  }
  void expect_kept(const QString& path) const {
    EXPECT_EQ(fs::symlink_status(path.toStdString()).type(), zv_test::kept_type(GetParam())) << path.toStdString();
  }
};

TEST_P(SpecialSaveTargets, EveryWriterRefusesAtOnceWithItsMessage) {
  const fs::path page = home_.path / "page.out";
  { std::ofstream(page) << " Results\n"; }
  std::unique_ptr<ResultsWindow> results(ResultsWindow::open(qt_path(page)));
  ASSERT_NE(results, nullptr);
  const QString out = special("saved.out"), equ = special("saved.equ"), zvd = special("saved.zvd"),
                qgx = special("saved.qgx"), prn = special("saved.prn.pdf"), printed = special("printed.pdf"),
                graph_printed = special("graph.pdf");
  const QString images[] = {special("saved.bmp"), special("saved.wmf"), special("saved.png"), special("saved.svg")};
  MainWindow window(home_.ini());
  load_sample(window);
  const auto start = std::chrono::steady_clock::now();

  EXPECT_FALSE(results->save_to(out));
  QPlainTextEdit box(QStringLiteral("Y X   "));
  EXPECT_FALSE(save_equation_file(&box, equ));
  EXPECT_FALSE(window.save_zvd(zvd, 0, 195));
  EXPECT_EQ(messages_.shown, (std::vector<QString>{QStringLiteral("Unable to write file ") + out,
                                                   QStringLiteral("Unable to write file ") + equ,
                                                   QStringLiteral("Could not save to this file\nNot a regular file")}));
  expect_sample_kept(window);
  // Printing the page to a file (the print dialog's own choice).
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(printed);
  EXPECT_FALSE(qtshared::print_lines(printer, {QStringLiteral(" Results")}, QFont()));

  testing_support::ScriptedGraphServices services;
  services.printer_file = graph_printed;
  const fs::path plot = home_.path / "plot1.$$$";
  { std::ofstream(plot) << kPlot; }
  std::unique_ptr<GraphWindow> graph(GraphWindow::open(qt_path(plot), services));
  ASSERT_NE(graph, nullptr);
  services.save_names = {qgx, images[0], images[1], images[2], images[3], prn.chopped(4)};
  graph->save();
  for (int i = 0; i < 5; ++i) graph->export_image();
  graph->print();
  std::vector<std::pair<charts::MessageKind, QString>> expected;
  for (const QString& name : {qgx, images[0], images[1], images[2], images[3]})
    expected.emplace_back(charts::MessageKind::kError, QStringLiteral("Unable to save ") + name);
  ASSERT_EQ(services.messages.size(), 8u);
  EXPECT_EQ(std::vector(services.messages.begin(), services.messages.begin() + 5), expected);
  // The printer file of Image to file, then the print to a file.
  for (std::size_t i : {6u, 7u})
    EXPECT_EQ(services.messages[i], std::pair(charts::MessageKind::kError, QStringLiteral("Couldn't open printer")));
  EXPECT_TRUE(fs::exists(plot));  // the graph still shows its plot file
  EXPECT_LT(zv_test::seconds_since(start), 1.0);
  for (const QString& path : {out, equ, zvd, qgx, prn, printed, graph_printed, images[0], images[1], images[2], images[3]})
    expect_kept(path);
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, SpecialSaveTargets, ::testing::ValuesIn(zv_test::kWriteSpecials),
                         zv_test::SpecialName{});

#ifdef ZV_PROGRAM_PATH
TEST(SpecialFilesProgram, AFolderAsSettingsFileAndAsStartUpFileDoesNotStopTheProgram) {
  TestHome home;
  fs::create_directories(home.path / "cfg" / "zelvorin.ini");
  fs::create_directories(home.path / "x.zvd");
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  environment.insert(QStringLiteral("XDG_CONFIG_HOME"), qt_path(home.path / "cfg"));
  program.setProcessEnvironment(environment);
  program.setWorkingDirectory(qt_path(home.path));
  program.start(QStringLiteral(ZV_PROGRAM_PATH), {qt_path(home.path / "x.zvd")});
  ASSERT_TRUE(program.waitForStarted(10000));
  // Past the splash window and the opening of the start-up file, the program still runs.
  EXPECT_FALSE(program.waitForFinished(4000)) << program.readAllStandardError().toStdString();
  EXPECT_EQ(program.state(), QProcess::Running);
  program.kill();
  program.waitForFinished(5000);
}
#endif

}  // namespace
