#include "app/modal_stacking.h"

#include <QApplication>
#include <QEvent>
#include <QWindow>

#include <algorithm>

namespace zelvorin {

namespace {

ModalStacking* g_stacking = nullptr;

/// Sets or clears the top-layer hint on the window system's window alone: changing a
/// widget's window flags the ordinary way hides it and creates its window anew.
void set_on_top(QWidget* window, bool on_top) {
  const Qt::WindowFlags flags = window->windowFlags().setFlag(Qt::WindowStaysOnTopHint, on_top);
  window->overrideWindowFlags(flags);
  if (QWindow* handle = window->windowHandle()) handle->setFlags(flags);
}

bool is_modal_window(const QObject* object) {
  const auto* w = qobject_cast<const QWidget*>(object);
  return w != nullptr && w->isWindow() && w->isModal();
}

}  // namespace

void ModalStacking::install() {
  if (g_stacking != nullptr) return;
  g_stacking = new ModalStacking(qApp);
  qApp->installEventFilter(g_stacking);
}

bool ModalStacking::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((type == QEvent::Show || type == QEvent::Hide) && is_modal_window(watched)) {
    auto* dialog = static_cast<QWidget*>(watched);
    if (type == QEvent::Show) modal_shown(dialog);
    else modal_hidden(dialog);
  }
  return QObject::eventFilter(watched, event);
}

void ModalStacking::modal_shown(QWidget* dialog) {
  std::erase_if(modals_, [](const QPointer<QWidget>& w) { return w.isNull(); });
  modals_.emplace_back(dialog);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == dialog || !window->isVisible() || !window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
      continue;
    set_on_top(window, false);
    lowered_.emplace_back(window);
  }
  dialog->raise();
  dialog->activateWindow();
}

void ModalStacking::modal_hidden(QWidget* dialog) {
  std::erase_if(modals_, [dialog](const QPointer<QWidget>& w) { return w.isNull() || w == dialog; });
  if (!modals_.empty()) return;
  for (const QPointer<QWidget>& window : lowered_)
    if (window && window->isWindow()) set_on_top(window, true);
  lowered_.clear();
}

}  // namespace zelvorin
