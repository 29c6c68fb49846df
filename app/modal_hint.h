// The hint line at the bottom of the main window, with the two hints that stand around
// every modal dialog and every engine request.
#pragma once

#include <QString>

class QLabel;

namespace zelvorin {

/// Shown while a modal dialog is open (the dialog may hide behind the main window).
inline const QString kModalHint = QStringLiteral("Press Alt-Tab if your dialog box becomes hidden behind the main window!");
/// Shown again once the dialog has closed.
inline const QString kHelpHint = QStringLiteral("Press F1 for context-sensitive help");

/// The label that shows hints (not owned; nullptr: hints go nowhere).
void set_hint_line(QLabel* line);
/// Puts `text` into the hint line.
void show_hint(const QString& text);
/// The hint line's text ("" without a line).
QString hint_text();

/// For the lifetime of a modal dialog: `kModalHint` from construction, `kHelpHint` after.
class ModalHint {
 public:
  ModalHint() { show_hint(kModalHint); }
  ~ModalHint() { show_hint(kHelpHint); }
  ModalHint(const ModalHint&) = delete;
  ModalHint& operator=(const ModalHint&) = delete;
};

}  // namespace zelvorin
