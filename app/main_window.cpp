#include "app/main_window.h"

namespace zelvorin {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Zelvorin for Windows"));
}

}  // namespace zelvorin
