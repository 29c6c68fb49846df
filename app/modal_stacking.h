// Modal dialogs above every window of the program. A window that stays on top of the others
// (the floating variables window, the splash window) would cover the dialogs of the program,
// of the dialog library and of the engine, which all open modally in this process. While any
// modal dialog shows, such windows leave the top layer (they stay visible, above the main
// window), and each modal dialog is raised and activated as it appears, so that it has the
// keyboard focus; when the last one closes they go back on top.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace zelvorin {

class ModalStacking : public QObject {
 public:
  /// Watches every window of the application from now on; once per process.
  static void install();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  using QObject::QObject;
  void modal_shown(QWidget* dialog);
  void modal_hidden(QWidget* dialog);

  std::vector<QPointer<QWidget>> modals_;   ///< modal dialogs showing, oldest first
  std::vector<QPointer<QWidget>> lowered_;  ///< windows whose top layer is suspended
};

}  // namespace zelvorin
