// The main window: it hosts the child windows and owns the state the program shares with
// the engine.
#pragma once

#include <QMainWindow>

namespace zelvorin {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace zelvorin
