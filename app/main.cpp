// Program entry of Zelvorin: the splash window, the main window, the message loop.
#include "app/guarded_application.h"
#include "app/main_window.h"
#include "app/program_name.h"
#include "app/splash_window.h"
#include "shared/ini_file.h"

int main(int argc, char* argv[]) {
  zelvorin::GuardedApplication app(argc, argv);
  QApplication::setApplicationName(zelvorin::kProgramName);
  QApplication::setApplicationVersion(zelvorin::program_version());
  auto* splash = new zelvorin::SplashWindow;
  splash->show();
  app.processEvents();

  zelvorin::MainWindow window(ini::default_path());
  const QStringList parameters = QApplication::arguments().mid(1);
  QObject::connect(splash, &zelvorin::SplashWindow::closed, &window,
                   [&window, parameters] { window.splash_closed(parameters); });
  window.show();
  return QApplication::exec();
}
