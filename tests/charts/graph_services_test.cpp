#include "charts/graph_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>

#include "shared/dialog_folder.h"

namespace {

TEST(GraphServices, ReadsTheGraphSettingsOfTheIniFile) {
  QTemporaryDir dir;
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
  charts::DesktopGraphServices services;
  EXPECT_FALSE(services.graph_settings().patterns);  // defaults without a file
  EXPECT_TRUE(services.graph_settings().last_label);
  EXPECT_TRUE(services.greyscale());
  QFile ini(dir.filePath("zelvorin.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write("[graphics]\r\npatterns=1\r\nLastLabel=0\r\n[Printing]\r\nGreyscale=false\r\n");
  ini.close();
  EXPECT_TRUE(services.graph_settings().patterns);
  EXPECT_FALSE(services.graph_settings().last_label);
  EXPECT_FALSE(services.greyscale());
  qputenv("XDG_CONFIG_HOME", old);
}

// A graph is exported to the folder of the data file or of the last file chosen, and the
// file chosen there is where the next dialog opens.
TEST(GraphServices, SaveDialogOpensInTheLastFolderUsed) {
  QTemporaryDir data;
  QTemporaryDir pictures;
  dialog_folder::remember_file(QFile::encodeName(data.filePath("macro.zvd")).toStdString());
  QString opened_in;
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    answer.stop();
    opened_in = dialog->directory().absolutePath();
    dialog->selectFile(pictures.filePath("fit.png"));
    static_cast<QDialog*>(dialog)->accept();  // as pressing Enter in the name box
  });
  answer.start(5);
  charts::DesktopGraphServices services;
  const QString chosen = services.save_file_name(nullptr, "PNG files (*.png)|*.png", "png");
  EXPECT_EQ(opened_in.toStdString(), data.path().toStdString());
  EXPECT_EQ(chosen.toStdString(), pictures.filePath("fit.png").toStdString());
  EXPECT_EQ(dialog_folder::start().string(), pictures.path().toStdString());
  ::unsetenv(dialog_folder::kFolderVariable);
}

TEST(GraphServices, FiltersMatchBothLetterCases) {
  EXPECT_EQ(charts::dialog_filter("Zelvorin files (*.qgx)|*.qgx"), "Zelvorin files (*.qgx *.QGX)");
  EXPECT_EQ(charts::dialog_filter("Bitmap files (*.BMP)|*.BMP|Other files (*.*)|*.*"),
            "Bitmap files (*.bmp *.BMP);;Other files (*.*)");
}

}  // namespace
