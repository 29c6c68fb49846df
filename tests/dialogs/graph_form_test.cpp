#include "dialogs/graph_form.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "dialogs/message_dialog.h"
#include "shared/pravel_api.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/support/qt/file_bytes.h"

namespace {

using dialog_driver::click;
using dialog_driver::DialogDriver;

constexpr char kPlot[] =
    " Plot of actual and fitted values\n *\n 0 2 3 0\n 2 1990 1\n"
    " Y             \n 1\n 2\n 3\n Fitted        \n 1.5\n 2\n 2.5\n";

class GraphFormTest : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    return zv_qt_test::write_file(dir.filePath(name), bytes);
  }
  static QByteArray contents(const QString& path) { return zv_qt_test::file_bytes(path); }
  /// ShowGraphP on `path` as the engine calls it.
  static int16_t show(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const auto len = static_cast<int16_t>(name.size());
    int16_t keep = -1;
    ShowGraphP(name.constData(), &len, &keep);
    return keep;
  }
  static QString message_text(QWidget* box) { return static_cast<pravel::MessageDialog*>(box)->text(); }

  QTemporaryDir dir;
};

TEST_F(GraphFormTest, DisplayLaterKeepsCloseDropsAndNeitherDeletes) {
  const QString path = write("plot1.$$$", kPlot);
  DialogDriver driver;
  driver.then("TGraForm", [](QWidget* form) {
    EXPECT_EQ(form->windowTitle(), "Plot of actual and fitted values");  // the graph's title
    EXPECT_FALSE(form->isMaximized());
    dialog_driver::screenshot(form, "modal_graph");
    // In a narrow window the buttons go on to further rows, each whole.
    form->resize(380, 420);
    QApplication::processEvents();
    for (const QPushButton* b : form->findChildren<QPushButton*>()) {
      EXPECT_TRUE(form->rect().contains(b->geometry())) << b->text().toStdString();
      EXPECT_GE(b->width(), b->sizeHint().width()) << b->text().toStdString();
    }
    dialog_driver::screenshot(form, "modal_graph_narrow");
    click(form, "later");
  });
  EXPECT_EQ(show(path), 1);
  driver.then("TGraForm", [](QWidget* form) { click(form, "close"); });
  EXPECT_EQ(show(path), 0);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(contents(path), QByteArray(kPlot));
}

TEST_F(GraphFormTest, SavedCopyAndThePlotFileBothStay) {
  const QString path = write("plot2.$$$", kPlot);
  const QString saved = dir.filePath("fit.QGX");
  DialogDriver driver;
  driver.then("TGraForm", [](QWidget* form) { click(form, "save"); })
      .then("fileDialog", [&](QWidget* w) { dialog_driver::choose_file(w, saved); })
      .then("TGraForm", [](QWidget* form) {
        EXPECT_EQ(form->windowTitle(), "Plot-fit.QGX");
        click(form, "later");
      });
  EXPECT_EQ(show(path), 1);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(contents(saved), QByteArray(kPlot));
  EXPECT_EQ(contents(path), QByteArray(kPlot));
}

QByteArray plot_of(int series, int points) {
  QByteArray t = " t\n *\n 0 " + QByteArray::number(series) + " " + QByteArray::number(points) + " 0\n 1 1 1\n";
  for (int s = 0; s < series; ++s) {
    t += " S\n";
    for (int p = 0; p < points; ++p) t += " 1\n";
  }
  return t;
}

TEST_F(GraphFormTest, RefusedAndUnreadableFilesAreNotKept) {
  const struct {
    QByteArray bytes;
    QString message;
  } cases[] = {
      {plot_of(16, 2), "More than 15 data sets - unable to display graph"},
      {plot_of(1, 128001), "More than 128000 data values - unable to display graph"},
      {QByteArray(kPlot).left(60), "Unable to read graph file "},
  };
  for (const auto& c : cases) {
    const QString path = write("plot3.$$$", c.bytes);
    DialogDriver driver;
    driver.then("messageBox", [&](QWidget* box) {
      EXPECT_TRUE(message_text(box).startsWith(c.message)) << message_text(box).toStdString();
      click(box, "ok");
    });
    EXPECT_EQ(show(path), 0);
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_TRUE(QFile::exists(path));
  }
}

TEST_F(GraphFormTest, ShowsAHistogramAtItsLimit) {
  // 64000 classes: the limit itself is still shown here (the main window refuses it).
  QByteArray t = " h\n *\n 4 1 64000 0\n 1 1 1\n X\n";
  for (int p = 0; p < 64000; ++p) t += " 1\n";
  for (int p = 0; p < 64000; ++p) t += " " + QByteArray::number(p) + "\n";
  for (int p = 0; p < 101; ++p) t += " 1\n";
  const QString path = write("plot4.$$$", t);
  DialogDriver driver;
  driver.then("TGraForm", [](QWidget* form) {
    EXPECT_EQ(form->windowTitle(), "h");
    click(form, "later");
  });
  EXPECT_EQ(show(path), 1);
  EXPECT_TRUE(driver.finish()) << driver.failure();
}

}  // namespace
