// The windows as a user first meets them: names that fit the platform, and layouts that
// show every text, button and caption whole at the default font and at one and a half times it
// (pictures of each in the screenshots folder).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <functional>
#include <memory>

#include "app/app_settings.h"
#include "app/clipboard_dialogs.h"
#include "app/estimation_window.h"
#include "app/graph_window.h"
#include "app/main_window.h"
#include "app/modal_hint.h"
#include "app/new_data_dialog.h"
#include "app/options_dialog.h"
#include "app/small_dialogs.h"
#include "tests/app/app_test_support.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/support/qt/file_bytes.h"
#include "tests/support/qt/scripted_graph_services.h"

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;

/// Gives `w` (and its children) its font scaled by `factor` and lets the layouts follow.
void scale_font(QWidget* w, double factor) {
  QFont font = QApplication::font();
  font.setPointSizeF(font.pointSizeF() * factor);
  w->setFont(font);
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

/// True when `label` is wide enough for its whole text.
bool whole(const QLabel* label) {
  return label->contentsRect().width() >= label->fontMetrics().horizontalAdvance(label->text());
}

TEST(WindowNames, TitlesAboutBoxAndFiltersNameTheProgram) {
  TestHome home;
  RecordedMessages messages;
  QTemporaryDir dir;
  const QString path = dir.filePath("a folder with a long name/usmacro.zvd");
  ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
  ASSERT_TRUE(QFile::copy(QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string()), path));
  MainWindow window(home.ini());
  EXPECT_EQ(window.windowTitle(), "Zelvorin");
  ASSERT_TRUE(window.open_data_file(path));
  // The data editor comes forward maximised, so its caption joins the window's.
  EXPECT_EQ(window.windowTitle(), "Zelvorin - usmacro.zvd - [Data Editor - usmacro.zvd]");
  EXPECT_EQ(window.estimation_frame()->windowTitle(), "Estimate/Predict - usmacro.zvd");

  QString about;
  QStringList filters;
  dialog_driver::DialogDriver driver;
  driver
      .then("aboutBox",
            [&](QWidget* box) {
              about = box->findChild<QLabel*>("programName")->text();
              dialog_driver::screenshot(box, "about_box");
              qobject_cast<QDialog*>(box)->accept();
            })
      .then("QFileDialog", [&](QWidget* w) {
        filters = qobject_cast<QFileDialog*>(w)->nameFilters();
        qobject_cast<QDialog*>(w)->reject();
      });
  window.menu_action("&Help", "&About...")->trigger();
  window.menu_action("&File", "&Open...")->trigger();
  ASSERT_TRUE(driver.finish()) << driver.failure();
  EXPECT_TRUE(about.contains(QRegularExpression("^Zelvorin version \\d+\\.\\d+"))) << about.toStdString();
  EXPECT_EQ(filters.value(0), "Zelvorin data files (*.zvd)");
}

TEST(WindowFit, StatusLineShowsTheSampleAndTheHintWhole) {
  TestHome home;
  RecordedMessages messages;
  MainWindow window(home.ini());
  window.show();
  ASSERT_TRUE(window.open_data_file(QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string())));
  const auto* status = window.findChild<QLabel*>("statusLine");
  const auto* hint = window.findChild<QLabel*>("hintLine");
  ASSERT_NE(status, nullptr);
  ASSERT_NE(hint, nullptr);
  for (const double factor : {1.0, 1.5}) {
    SCOPED_TRACE(factor);
    scale_font(&window, factor);
    for (const QString& text : {kModalHint, kHelpHint}) {
      show_hint(text);
      for (int i = 0; i < 3; ++i) QApplication::processEvents();
      EXPECT_TRUE(whole(hint)) << text.toStdString();
      EXPECT_TRUE(whole(status));
    }
    show_hint(kModalHint);
    QApplication::processEvents();
    dialog_driver::screenshot(&window, factor == 1.0 ? "main_window_status" : "main_window_status_150");
  }
}

TEST(WindowFit, OptionsDialogIsAsWideAsItsTabs) {
  TestHome home;
  RecordedMessages messages;
  for (const double factor : {1.0, 1.5}) {
    SCOPED_TRACE(factor);
    OptionsDialog dialog(AppSettings{}, home.path / "temp" / "run", 1);
    scale_font(&dialog, factor);
    dialog.show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    const QTabBar* bar = dialog.findChild<QTabWidget*>("pages")->tabBar();
    for (int i = 0; i < bar->count(); ++i) {
      EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << bar->tabText(i).toStdString();
      EXPECT_GE(bar->tabRect(i).width(), bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
    }
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->isVisible() && !label->wordWrap()) {
        EXPECT_TRUE(whole(label)) << label->text().toStdString();
      }
    }
    dialog_driver::screenshot(&dialog, factor == 1.0 ? "options_dialog" : "options_dialog_150");
  }
}

TEST(WindowFit, GraphWindowButtonsGoOnToAnotherRowInANarrowWindow) {
  QTemporaryDir dir;
  const QString path = zv_qt_test::write_file(dir.filePath("plot1.$$$"),
                                              " Actual and fitted values\n *\n 0 1 3 0\n 4 1990 1\n C\n 1\n 2\n 3\n");
  testing_support::ScriptedGraphServices services;
  QMdiArea area;
  area.resize(420, 420);
  area.show();
  GraphWindow* graph = GraphWindow::open(path, services);
  ASSERT_NE(graph, nullptr);
  GraphWindow::add_to(area, graph);
  for (const double factor : {1.0, 1.5}) {
    SCOPED_TRACE(factor);
    scale_font(graph, factor);
    const QRect inside = graph->rect();
    for (const QPushButton* b : graph->findChildren<QPushButton*>()) {
      EXPECT_TRUE(inside.contains(b->geometry())) << b->text().toStdString();
      EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
    }
    dialog_driver::screenshot(&area, factor == 1.0 ? "graph_window_narrow" : "graph_window_narrow_150");
  }
}

TEST(WindowFit, DialogsAreAsWideAsTheirCaptions) {
  RecordedMessages messages;
  const std::function<std::unique_ptr<QDialog>()> dialogs[] = {
      [] { return std::make_unique<SaveSubsetDialog>(zelvorin::testing::quarters_from_1990(8)); },
      [] { return std::make_unique<PasteLayoutDialog>(); },
      [] {
        return std::make_unique<NewDataDialog>(QStringLiteral("New data input from the keyboard"), 20101,
                                               NewDataDialog::Road::kKeyboard, 4);
      },
  };
  for (const double factor : {1.0, 1.5}) {
    for (const auto& make : dialogs) {
      const std::unique_ptr<QDialog> dialog = make();
      SCOPED_TRACE(dialog->windowTitle().toStdString() + " at " + std::to_string(factor));
      scale_font(dialog.get(), factor);
      dialog->show();
      for (int i = 0; i < 3; ++i) QApplication::processEvents();
      EXPECT_TRUE(dialog_driver::caption_fits(dialog.get())) << dialog->width();
      if (dynamic_cast<SaveSubsetDialog*>(dialog.get()) != nullptr)
        dialog_driver::screenshot(dialog.get(), factor == 1.0 ? "save_subset" : "save_subset_150");
      dialog->hide();
    }
  }
}

}  // namespace
