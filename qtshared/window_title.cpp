#include "qtshared/window_title.h"

#include <QEvent>
#include <QFontMetrics>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace qtshared {

namespace {

/// The title bar's icon and its close, maximise and minimise buttons, each about a line
/// high with some padding, and the bar's margins.
constexpr int kDecorations = 4;
constexpr int kDecorationPadding = 12;
constexpr int kMargins = 24;

/// Fits the window it watches when the window is shown.
class TitleFit : public QObject {
 public:
  explicit TitleFit(QWidget& window) : QObject(&window), window_(window) { window.installEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_ && event->type() == QEvent::Show) fit_to_title(window_);
    return false;
  }

 private:
  QWidget& window_;
};

}  // namespace

int title_width(const QWidget& window) {
  QFont font = window.font();
  font.setBold(true);
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(window.windowTitle()) + kDecorations * (metrics.height() + kDecorationPadding) +
         kMargins;
}

void fit_to_title(QWidget& window) {
  int needed = std::min(title_width(window), window.maximumWidth());
  if (const QScreen* screen = window.screen()) needed = std::min(needed, screen->availableGeometry().width());
  if (window.minimumWidth() < needed) window.setMinimumWidth(needed);
  if (window.width() < needed) window.resize(needed, window.height());
}

void keep_title_whole(QWidget& window) { new TitleFit(window); }

}  // namespace qtshared
