// The main road end to end, with the real engine and the real dialog library on the
// offscreen platform: open the sample data file, choose least squares, type the equation,
// start, answer the engine's dialogs as a user would, read the results page, save it as a
// results file, keep a graph, and find the windows updated afterwards.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <map>
#include <sstream>
#include <string>

#include "app/estimation_window.h"
#include "app/graph_window.h"
#include "app/main_window.h"
#include "app/modal_hint.h"
#include "tests/app/app_test_support.h"
#include "tests/app_e2e/engine_forms.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/engine/single/printed_numbers.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using e2e::choose;
using qorv::testing::Expected;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;
using namespace zelvorin;

/// The row of `regressor` in the page's coefficient table, or "".
std::string coefficient_row(const std::string& page, const std::string& regressor) {
  std::istringstream in(page);
  std::string line;
  bool table = false;
  while (std::getline(in, line)) {
    if (line.rfind(" Regressor ", 0) == 0) table = true;
    if (table && line.rfind(" " + regressor + " ", 0) == 0) return line;
  }
  return {};
}

/// The whitespace-separated fields of a line.
std::vector<std::string> fields(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string f; in >> f;) out.push_back(f);
  return out;
}

/// The graph windows open in the main window's work area.
int graph_windows(const MainWindow& window) {
  int graphs = 0;
  for (QMdiSubWindow* frame : window.findChild<QMdiArea*>()->subWindowList())
    if (dynamic_cast<GraphWindow*>(frame->widget()) != nullptr) ++graphs;
  return graphs;
}

/// The driver's last answers: the results page read into `page` and closed, then back
/// through the Post Regression and Backtracking Menus to the estimation window.
void read_page_and_return(DialogDriver& driver, std::string& page) {
  driver
      .then("Tbegfin",
            [&page](QWidget* form) {
              page = child<QPlainTextEdit>(form, "page")->toPlainText().toStdString();
              click(form, "close");
            })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
}

/// The main window on the sample file with least squares chosen, as a user starts.
struct LeastSquaresSession {
  /// Opens the sample file and chooses least squares (or the univariate method of `tag`);
  /// false when the file did not open.
  bool start(int tag = 11) {
    window.resize(1000, 700);
    window.show();
    const QString sample = QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string());
    if (!window.open_data_file(sample)) return false;
    window.method_action(MethodMenu::kUnivariate, tag)->trigger();
    return true;
  }
  TestHome home;
  RecordedMessages messages;
  MainWindow window{home.ini()};
};

TEST(MainRoad, LeastSquaresFromTheSampleFileToASavedResultsFileAndAGraph) {
  LeastSquaresSession session;
  MainWindow& window = session.window;
  QTemporaryDir dir;
  const QString results_file = dir.filePath("macro.OUT");
  ASSERT_TRUE(session.start());
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(window.estimation_frame()->isVisible());
  EXPECT_EQ(estimation->status_text(), "Linear regression  - Ordinary Least Squares");
  QTest::keyClicks(estimation->nonlin(), "LC INPT LY INFL R");
  estimation->period2()->setCurrentIndex(0);  // typed back to the end of the data below
  estimation->period2()->lineEdit()->clear();
  QTest::keyClicks(estimation->period2()->lineEdit(), "2008q4");

  std::string page;
  QString hint_during_request;
  QDir().mkpath(ZV_SCREENSHOT_DIR);
  const QString exported_png = QString(ZV_SCREENSHOT_DIR) + "/actual_and_fitted_export.png";
  const QString exported_svg = QString(ZV_SCREENSHOT_DIR) + "/actual_and_fitted_export.svg";
  QFile::remove(exported_png);
  QFile::remove(exported_svg);
  DialogDriver driver(std::chrono::seconds(60));
  driver
      .then("Tbegfin",
            [&](QWidget* form) {
              hint_during_request = hint_text();
              page = child<QPlainTextEdit>(form, "page")->toPlainText().toStdString();
              click(form, "resultsNew");
            })
      .then("fileDialog", [&](QWidget* w) { dialog_driver::choose_file(w, results_file); })
      .then("Tget1option", [](QWidget* form) { choose(form, "List/plot/save residuals and fitted values"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Plot actual and fitted values"); })
      // The graph exported as the names say, kept in the screenshots folder for review.
      .then("TGraForm", [](QWidget* form) { click(form, "image"); })
      .then("fileDialog", [&](QWidget* w) { dialog_driver::choose_file(w, exported_png); })
      .then("TGraForm", [](QWidget* form) { click(form, "image"); })
      .then("fileDialog", [&](QWidget* w) { dialog_driver::choose_file(w, exported_svg); })
      .then("TGraForm", [](QWidget* form) { click(form, "later"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Post Regression Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  EXPECT_EQ(hint_during_request, kModalHint);
  EXPECT_EQ(hint_text(), kHelpHint);
  EXPECT_FALSE(window.state().busy);

  // The coefficients on the page agree with the reference rounded as printed.
  const std::map<std::string, Expected> expected = qorv::testing::macro_expected("S");
  for (const char* name : {"INPT", "LY", "INFL", "R"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> row = fields(coefficient_row(page, name));
    ASSERT_EQ(row.size(), 4u) << page;
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[1]), expected.at(std::string("coef:") + name)));
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[2]), expected.at(std::string("se:") + name)));
  }
  EXPECT_NE(page.find(" 196 observations used for estimation from 1960Q1 to 2008Q4"), std::string::npos);

  // The results file is the page in records of 78 columns.
  QFile out(results_file);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  const QList<QByteArray> records = out.readAll().split('\n');
  ASSERT_GT(records.size(), 10);
  int coefficient_rows = 0;
  for (qsizetype i = 0; i + 1 < records.size(); ++i) {
    EXPECT_EQ(records[i].size(), 78) << "record " << i;
    if (records[i].startsWith(" LY ")) ++coefficient_rows;
  }
  EXPECT_EQ(coefficient_rows, 1);

  // The exported pictures: a PNG image and an SVG drawing of the actual and fitted values.
  EXPECT_FALSE(QImage(exported_png, "PNG").isNull());
  QFile svg(exported_svg);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray drawing = svg.readAll();
  EXPECT_TRUE(drawing.startsWith("<?xml"));
  EXPECT_TRUE(drawing.contains("<polyline"));
  EXPECT_TRUE(drawing.contains(">Quarters</text>")) << drawing.left(2000).toStdString();

  // The graph kept opens in a window of its own; the counters and the sample follow.
  EXPECT_EQ(window.state().plot_counter, 1);
  const QMdiArea* area = window.findChild<QMdiArea*>();
  EXPECT_EQ(graph_windows(window), 1);
  EXPECT_EQ(estimation->period1()->currentText(), "1960Q1");
  EXPECT_EQ(estimation->period2()->currentText(), "2008Q4");
  EXPECT_EQ(window.state().sample_end, 196);
  EXPECT_EQ(window.status_text(), "Current sample from 1960Q1 to 2008Q4. Min 1960Q1 Max 2008Q4. (196 obs.) "
                                  "5 variables, max 200.");
  EXPECT_TRUE(session.messages.shown.empty());

  // The picture: the estimation window and the kept graph side by side, both in normal state.
  for (QMdiSubWindow* frame : area->subWindowList()) {
    frame->setWindowState(Qt::WindowNoState);
    frame->showNormal();
  }
  window.estimation_frame()->setGeometry(0, 0, 780, 440);
  for (QMdiSubWindow* frame : area->subWindowList()) {
    if (dynamic_cast<GraphWindow*>(frame->widget()) == nullptr) continue;
    frame->setGeometry(420, 170, 570, 420);
    frame->raise();
  }
  QApplication::processEvents();
  dialog_driver::screenshot(&window, "main_window_after_estimation");
}

// The fully modified estimate with its window length typed in the estimation window's box:
// the engine asks only the window type and takes the length from the box.
TEST(MainRoad, FullyModifiedEstimateTakesTheLengthFromTheWindow) {
  LeastSquaresSession session;
  ASSERT_TRUE(session.start(51));  // Phillips-Hansen, none of the regressors has a drift
  EstimationWindow* estimation = session.window.estimation();
  ASSERT_TRUE(estimation->window_size()->isVisible());
  QTest::keyClicks(estimation->nonlin(), "LC LY");
  estimation->window_size()->clear();
  QTest::keyClicks(estimation->window_size(), "4");
  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tget1option", [](QWidget* form) { choose(form, "Bartlett lag window"); });
  read_page_and_return(driver, page);
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  EXPECT_NE(page.find("truncation lag=4, Non-trended Case"), std::string::npos) << page;
  EXPECT_NE(page.find(" 195 observations used for estimation from 1960Q2 to 2008Q4"), std::string::npos) << page;
  const std::vector<std::string> row = fields(coefficient_row(page, "LY"));
  ASSERT_EQ(row.size(), 4u) << page;
  const auto expected = qorv::testing::reference_expected("single-extra", "FMOLS_LY");
  EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[1]), expected.at("BARTLETT_M4_NODRIFT:COEF:LY")));
  EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[2]), expected.at("BARTLETT_M4_NODRIFT:SE:LY")));
  EXPECT_EQ(session.window.state().sample_end, 196);
}

// Rolling least squares from the window: the window length typed in the estimation
// window's box reaches the engine (no question asked), and a rolling coefficient plot is
// kept in a graph window.
TEST(MainRoad, RollingLeastSquaresFromTheWindowLengthBoxKeepsARollingPlot) {
  LeastSquaresSession session;
  MainWindow& window = session.window;
  ASSERT_TRUE(session.start(32));
  EstimationWindow* estimation = window.estimation();
  ASSERT_TRUE(estimation->window_size()->isVisible());
  QTest::keyClicks(estimation->nonlin(), "LC INPT LY INFL R");
  estimation->window_size()->setText("40");
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tget1option", [](QWidget* form) { choose(form, "Plot rolling coefficients and their standard errors"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "LY"); })
      .then("TGraForm", [](QWidget* form) { click(form, "later"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu (Rolling Regression)"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  EXPECT_EQ(window.state().plot_counter, 1);
  EXPECT_EQ(graph_windows(window), 1);
  EXPECT_TRUE(session.messages.shown.empty());
}

// ARDL from the window: the maximum lag typed in the estimation window's box reaches the
// engine (no question asked), the Schwarz choice's estimates are shown, and the way back
// leads through both ARDL menus.
TEST(MainRoad, ArdlTakesTheMaximumLagFromTheWindow) {
  LeastSquaresSession session;
  ASSERT_TRUE(session.start(61));
  EstimationWindow* estimation = session.window.estimation();
  ASSERT_TRUE(estimation->window_size()->isVisible());
  QTest::keyClicks(estimation->nonlin(), "LC LY R & INPT");
  estimation->window_size()->clear();
  QTest::keyClicks(estimation->window_size(), "4");
  std::string page;
  DialogDriver driver(std::chrono::seconds(60));
  driver.then("Tget1option", [](QWidget* form) { choose(form, "Schwarz Bayesian Criterion"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Display the estimates of the selected ARDL regression"); })
      .then("Tbegfin",
            [&page](QWidget* form) {
              page = child<QPlainTextEdit>(form, "page")->toPlainText().toStdString();
              click(form, "close");
            })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Post ARDL Model Selection Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to ARDL Order Selection Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  EXPECT_NE(page.find("ARDL(3,2,1) selected based on Schwarz Bayesian Criterion"), std::string::npos) << page;
  EXPECT_NE(page.find(" 192 observations used for estimation from 1961Q1 to 2008Q4"), std::string::npos) << page;
  EXPECT_EQ(session.window.state().sample_start, 1);
}

// An unknown variable corrected in the engine's editor: the estimate runs on the corrected
// equation, and the window's box shows the equation the engine estimated.
TEST(MainRoad, EquationCorrectedInTheEnginesEditorComesBackToTheWindow) {
  LeastSquaresSession session;
  ASSERT_TRUE(session.start());
  EstimationWindow* estimation = session.window.estimation();
  QTest::keyClicks(estimation->nonlin(), "LC INPT LY INFLATION");

  std::string page;
  QString refused;
  DialogDriver driver(std::chrono::seconds(60));
  driver
      .then("messageBox",
            [&](QWidget* form) {
              refused = child<QLabel>(form, "text")->text();
              click(form, "ok");
            })
      .then("Teditor",
            [](QWidget* form) {
              auto* editor = child<QPlainTextEdit>(form, "editor");
              editor->setPlainText(editor->toPlainText().replace("INFLATION", "INFL R"));
              click(form, "ok");
            });
  read_page_and_return(driver, page);
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  EXPECT_TRUE(refused.contains("INFLATION")) << refused.toStdString();
  EXPECT_NE(coefficient_row(page, "R"), "") << page;
  EXPECT_EQ(estimation->nonlin()->toPlainText().trimmed(), "LC INPT LY INFL R");
}

// Moving-average errors chosen in the window's method menu: the lag list and the initial
// values answered as a user answers them, the concentrated likelihood plotted before the
// estimate (option 3 of the initial-value menu) and after it (with the results page), and
// the MA(1) estimate of the reference.
TEST(MainRoad, MovingAverageErrorsFromTheEstimationWindow) {
  LeastSquaresSession session;
  ASSERT_TRUE(session.start(17));
  EstimationWindow* estimation = session.window.estimation();
  ASSERT_TRUE(session.window.estimation_frame()->isVisible());
  QTest::keyClicks(estimation->nonlin(), "INFL INPT R");

  std::string page;
  int graphs = 0;
  const auto keep_graph = [&graphs](QWidget* form) {
    ++graphs;
    click(form, "later");
  };
  DialogDriver driver(std::chrono::seconds(60));
  driver
      .then("Tgetstr", [](QWidget* form) { e2e::answer(form, "1"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Plot of concentrated log-likelihood/IV minimand"); })
      .then("TGraForm", keep_graph)
      .then("Tget1option", [](QWidget* form) { choose(form, "Initial estimates supplied by program"); })
      .then("Tbegfin",
            [&page](QWidget* form) {
              page = child<QPlainTextEdit>(form, "page")->toPlainText().toStdString();
              click(form, "close");
            })
      .then("TGraForm", keep_graph)
      .then("Tget1option", [](QWidget* form) { choose(form, "Move to Backtracking Menu"); })
      .then("Tget1option", [](QWidget* form) { choose(form, "Return to Single Equation Estimation Window"); });
  ASSERT_TRUE(estimation->start());
  ASSERT_TRUE(driver.finish()) << driver.failure() << "\nforms answered: " << driver.seen().size();
  EXPECT_EQ(graphs, 2);
  EXPECT_EQ(session.window.state().plot_counter, 2);

  const std::map<std::string, Expected> expected = qorv::testing::read_expected(std::string(ZV_REFERENCE_DIR) + "/ar-ma/expected.csv", "I_MA1");
  EXPECT_NE(page.find("Error TERM : MA(1) converged after"), std::string::npos) << page;
  for (const char* name : {"INPT", "R", "E(-1)"}) {
    SCOPED_TRACE(name);
    const std::vector<std::string> row = fields(coefficient_row(page, name));
    ASSERT_EQ(row.size(), 4u) << page;
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[1]), expected.at(std::string("coef:") + name)));
    EXPECT_TRUE(qorv::testing::shows(qorv::testing::parse_number(row[2]), expected.at(std::string("se:") + name)));
  }
  EXPECT_TRUE(session.messages.shown.empty());
}

}  // namespace
