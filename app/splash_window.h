// The splash window shown while the program starts: it closes itself after three seconds
// or at a click.
#pragma once

#include <QSplashScreen>

namespace zelvorin {

class SplashWindow : public QSplashScreen {
  Q_OBJECT

 public:
  /// `close_after_ms` is 3000 in the program.
  explicit SplashWindow(int close_after_ms = 3000);

 signals:
  /// Emitted once, when the window closes.
  void closed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool closed_ = false;
};

}  // namespace zelvorin
