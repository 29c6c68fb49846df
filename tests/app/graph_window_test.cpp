#include "app/graph_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "qtshared/help.h"
#include "tests/support/qt/file_bytes.h"
#include "tests/support/qt/scripted_graph_services.h"

namespace {

using zelvorin::GraphWindow;

constexpr char kPlot[] =
    " Actual and fitted values of C\n"
    " *\n"
    " 0 2 4 0\n"
    " 4 1990 1\n"
    " C             \n 101.5\n 102\n 8934567\n 104.25\n"
    " Fitted        \n 101\n 102.5\n 103\n 104\n";

class GraphWindowTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    return zv_qt_test::write_file(dir.filePath(name), bytes);
  }
  static QByteArray contents(const QString& path) { return zv_qt_test::file_bytes(path); }

  QTemporaryDir dir;
  testing_support::ScriptedGraphServices services;
};

TEST_F(GraphWindowTest, ShowsAPlotFileAndDeletesItWhenClosed) {
  const QString path = write("plot3.$$$", kPlot);
  GraphWindow* w = GraphWindow::open(path, services);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "Actual and fitted values of C");  // the graph's title, not the file's
  EXPECT_EQ(w->graph().model().num_sets(), 2);
  EXPECT_EQ(w->graph().model().num_points, 4);
  EXPECT_EQ(w->graph().model().bottom_title, "Quarters");
  EXPECT_TRUE(w->save_button()->isEnabled());
  QPointer<GraphWindow> guard(w);
  w->close();
  EXPECT_FALSE(QFile::exists(path));
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(guard.isNull());
}

TEST_F(GraphWindowTest, F1ShowsTheGraphHelp) {
  qtshared::help::set_file(std::filesystem::path(ZV_SOURCE_DIR) / "dialogs" / "help" / "zelvorin.hlp");
  GraphWindow* w = GraphWindow::open(write("plot4.$$$", kPlot), services);
  ASSERT_NE(w, nullptr);
  w->show();
  QApplication::setActiveWindow(w);
  w->save_button()->setFocus();
  QTest::keyClick(w->save_button(), Qt::Key_F1);
  EXPECT_EQ(qtshared::help::last_topic(), 1003);
  EXPECT_TRUE(qtshared::help::find_topic(1003).has_value());
  w->close();
}

TEST_F(GraphWindowTest, SavedGraphIsAByteCopyAndOpensAgain) {
  const QString path = write("plot1.$$$", kPlot);
  const QString saved = dir.filePath("fit.qgx");
  services.save_names = {saved};
  GraphWindow* w = GraphWindow::open(path, services);
  ASSERT_NE(w, nullptr);
  w->save();
  EXPECT_EQ(contents(saved), QByteArray(kPlot));
  EXPECT_FALSE(QFile::exists(path));  // the window now shows the saved file
  EXPECT_EQ(w->file_name(), saved);
  EXPECT_EQ(w->windowTitle(), "Plot-fit.qgx");
  EXPECT_FALSE(w->save_button()->isEnabled());
  EXPECT_EQ(services.filters.value(0), "Zelvorin files (*.qgx)|*.qgx");
  w->close();
  EXPECT_TRUE(QFile::exists(saved));  // a saved graph outlives its window

  GraphWindow* again = GraphWindow::open(saved, services);
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(again->save_button()->isEnabled());
  EXPECT_EQ(again->graph().model().sets[0].values[3], 104.25);
  again->close();
  EXPECT_TRUE(QFile::exists(saved));
  EXPECT_TRUE(services.messages.empty());
}

TEST_F(GraphWindowTest, FailedSaveKeepsThePlotFile) {
  const QString path = write("plot2.$$$", kPlot);
  const QString target = dir.filePath("missing/fit.qgx");
  services.save_names = {target};
  GraphWindow* w = GraphWindow::open(path, services);
  ASSERT_NE(w, nullptr);
  w->save();
  ASSERT_EQ(services.messages.size(), 1u);
  EXPECT_EQ(services.messages[0].second, "Unable to save " + target);
  EXPECT_EQ(contents(path), QByteArray(kPlot));
  EXPECT_TRUE(w->save_button()->isEnabled());
  delete w;
}

TEST_F(GraphWindowTest, RefusesUnreadableAndOversizedFiles) {
  const QByteArray plot(kPlot);
  const QString truncated = write("cut.qgx", plot.left(plot.size() - 12));
  QString error;
  EXPECT_EQ(GraphWindow::open(truncated, services, nullptr, &error), nullptr);
  EXPECT_EQ(error, "Unable to read graph file " + truncated);
  EXPECT_TRUE(QFile::exists(truncated));

  const QString kind9 = write("kind.qgx", QByteArray(kPlot).replace(" 0 2 4 0", " 9 2 4 0"));
  EXPECT_EQ(GraphWindow::open(kind9, services, nullptr, &error), nullptr);
  EXPECT_EQ(error, "Unable to read graph file " + kind9);

  // 2 sets x 64000 points reach the limit of 128000 values.
  QByteArray big = " t\n *\n 0 2 64000 0\n 1 1 1\n";
  for (int s = 0; s < 2; ++s) {
    big += " S\n";
    for (int p = 0; p < 64000; ++p) big += " 1\n";
  }
  const QString too_big = write("plot4.$$$", big);
  EXPECT_EQ(GraphWindow::open(too_big, services, nullptr, &error), nullptr);
  EXPECT_EQ(error, "More than 128000 data values - unable to plot");
  EXPECT_FALSE(QFile::exists(too_big));  // the window closed itself and took the file along
  ASSERT_EQ(services.messages.size(), 3u);
  EXPECT_EQ(services.messages[2].first, charts::MessageKind::kError);
}

TEST_F(GraphWindowTest, TakesOverPlotdata) {
  QString error;
  EXPECT_EQ(GraphWindow::open(dir.filePath("plotdata.$$$"), services, nullptr, &error), nullptr);
  EXPECT_EQ(error, "plotdata.$$$ missing");

  const QString path = write("plotdata.$$$", kPlot);
  write("pld0001.$$$", "someone else's");  // an existing name is never taken
  GraphWindow* first = GraphWindow::open(path, services);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->renamed());
  EXPECT_FALSE(QFile::exists(path));
  EXPECT_TRUE(QFileInfo(first->file_name()).fileName().startsWith("pld"));
  EXPECT_NE(QFileInfo(first->file_name()).fileName(), "pld0001.$$$");
  EXPECT_EQ(contents(first->file_name()), QByteArray(kPlot));
  EXPECT_TRUE(first->windowTitle().startsWith("Plot-"));
  EXPECT_FALSE(first->windowTitle().contains("pld"));

  write("plotdata.$$$", kPlot);
  GraphWindow* second = GraphWindow::open(path, services);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second->file_name(), first->file_name());
  EXPECT_NE(second->windowTitle(), first->windowTitle());
  const QString taken = first->file_name();
  delete first;
  EXPECT_FALSE(QFile::exists(taken));
  delete second;
}

TEST_F(GraphWindowTest, ExportsPrintsAndCopies) {
  GraphWindow* w = GraphWindow::open(write("plot5.$$$", kPlot), services);
  ASSERT_NE(w, nullptr);
  w->resize(700, 480);
  // Every picture format is written in the format its name says, at the window's size.
  const QString bmp = dir.filePath("fit.BMP"), wmf = dir.filePath("fit.wmf"), png = dir.filePath("fit.png"),
                jpg = dir.filePath("fit.jpg"), svg = dir.filePath("fit.svg"), pdf = dir.filePath("fit.pdf");
  services.save_names = {bmp, wmf, png, jpg, svg, pdf};
  for (int i = 0; i < 6; ++i) w->export_image();
  EXPECT_EQ(QImage(bmp).size(), w->graph().size());
  EXPECT_EQ(QImage(png, "PNG").size(), w->graph().size());
  EXPECT_EQ(QImage(jpg, "JPEG").size(), w->graph().size());
  EXPECT_EQ(contents(wmf).left(4), QByteArray("\xD7\xCD\xC6\x9A", 4));
  EXPECT_TRUE(contents(svg).contains("<title>Actual and fitted values of C</title>"));
  EXPECT_EQ(contents(pdf).left(4), "%PDF");
  EXPECT_TRUE(services.messages.empty());
  EXPECT_TRUE(services.filters.back().contains("Other graphics files (*.*)|*.*"));

  // Any other name is printed to a file that says it holds PDF: never a PDF called ".ps".
  const QString other = dir.filePath("fit.ps");
  services.save_names = {other};
  w->export_image();
  EXPECT_FALSE(QFile::exists(other));
  EXPECT_EQ(contents(other + ".pdf").left(4), "%PDF");
  ASSERT_EQ(services.messages.size(), 2u);
  EXPECT_TRUE(services.messages[0].second.startsWith("Select the printer for which you want to produce a file."));
  EXPECT_EQ(services.messages[1].second, "The printer file was written in PDF format to " + other + ".pdf");
  services.messages.clear();

  services.printer_file = dir.filePath("printed.pdf");
  services.greyscale_setting = false;
  w->graph().model().draw_style = 1;
  w->print();
  EXPECT_EQ(w->graph().model().draw_style, 1);  // the colour print leaves the screen as it was
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (!pdftotext.isEmpty()) {
    QProcess run;
    run.start(pdftotext, {services.printer_file, "-"});
    ASSERT_TRUE(run.waitForFinished(30000));
    const QByteArray text = run.readAllStandardOutput();
    EXPECT_TRUE(text.contains("Actual and fitted values of C")) << text.toStdString();
  }
  delete w;
}

TEST_F(GraphWindowTest, OpensMaximisedInTheMainWindowsArea) {
  QMdiArea area;
  area.resize(900, 600);
  GraphWindow* w = GraphWindow::open(write("plot6.$$$", kPlot), services);
  ASSERT_NE(w, nullptr);
  QMdiSubWindow* sub = GraphWindow::add_to(area, w);
  EXPECT_TRUE(sub->isMaximized());
  area.grab().save("graph_window.png");  // for review
  const QString path = w->file_name();
  sub->close();
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
