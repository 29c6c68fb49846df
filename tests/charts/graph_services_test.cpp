#include "charts/graph_services.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

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

TEST(GraphServices, FiltersMatchBothLetterCases) {
  EXPECT_EQ(charts::dialog_filter("Zelvorin files (*.qgx)|*.qgx"), "Zelvorin files (*.qgx *.QGX)");
  EXPECT_EQ(charts::dialog_filter("Bitmap files (*.BMP)|*.BMP|Other files (*.*)|*.*"),
            "Bitmap files (*.bmp *.BMP);;Other files (*.*)");
}

}  // namespace
