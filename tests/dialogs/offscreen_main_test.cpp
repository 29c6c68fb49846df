// The forms' tests run in one windowed application on Qt's offscreen platform (no display
// needed), with their own settings and temporary folders.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "dialogs/help.h"
#include "shared/temp_files.h"

namespace {

/// Drops the offscreen platform's notices about what it cannot do (raise a window, ...).
void quiet_handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith("This plugin does not support")) return;
  if (text.startsWith("QStandardPaths: XDG_RUNTIME_DIR")) return;
  std::fputs(qFormatLogMessage(type, context, text).toLocal8Bit().constData(), stderr);
  std::fputc('\n', stderr);
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(quiet_handler);
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::setenv("LC_ALL", "C.UTF-8", 1);
  QTemporaryDir home;
  ::setenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit().constData(), 1);
  ::setenv(temp_files::kSessionFolderVariable, home.path().toLocal8Bit().constData(), 1);
  QApplication app(argc, argv);
  pravel::help::set_file(ZV_HELP_FILE);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
