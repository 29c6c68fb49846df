#include "dialogs/busy_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace pravel {

namespace {
bool g_busy = false;    ///< the hourglass shows
bool g_pushed = false;  ///< the override cursor on top of Qt's stack is ours
}  // namespace

void set_busy(bool on) {
  if (QGuiApplication::instance() == nullptr) return;
  if (on) {
    if (g_busy) return;
    if (QGuiApplication::overrideCursor() != nullptr && !g_pushed) {
      QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    } else if (g_pushed) {
      QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
    } else {
      QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
      g_pushed = true;
    }
    g_busy = true;
    return;
  }
  if (!g_busy) return;
  if (g_pushed) {
    QGuiApplication::restoreOverrideCursor();
    g_pushed = false;
  } else if (QGuiApplication::overrideCursor() != nullptr) {
    QGuiApplication::changeOverrideCursor(QCursor(Qt::ArrowCursor));
  }
  g_busy = false;
}

bool busy() { return g_busy; }

}  // namespace pravel
