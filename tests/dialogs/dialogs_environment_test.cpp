// The forms' tests share one set-up: their own settings and temporary folders, the help
// file from the source tree, and none of the offscreen platform's notices about what it
// cannot do (raise a window, ...).
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "qtshared/help.h"
#include "shared/temp_files.h"

namespace {

void quiet_handler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith("This plugin does not support")) return;
  if (text.startsWith("QStandardPaths: XDG_RUNTIME_DIR")) return;
  std::fputs(qFormatLogMessage(type, context, text).toLocal8Bit().constData(), stderr);
  std::fputc('\n', stderr);
}

class DialogsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    qInstallMessageHandler(quiet_handler);
    home_ = std::make_unique<QTemporaryDir>();
    ::setenv("XDG_CONFIG_HOME", (home_->path() + "/config").toLocal8Bit().constData(), 1);
    ::setenv(temp_files::kSessionFolderVariable, home_->path().toLocal8Bit().constData(), 1);
    qtshared::help::set_file(ZV_HELP_FILE);
  }
  void TearDown() override { home_.reset(); }

 private:
  std::unique_ptr<QTemporaryDir> home_;  ///< settings and temporary files of the run
};

const testing::Environment* const kEnvironment =
    testing::AddGlobalTestEnvironment(new DialogsEnvironment);

}  // namespace
