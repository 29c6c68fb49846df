#include "app/modal_hint.h"

#include <QLabel>
#include <QPointer>

namespace zelvorin {

namespace {

QPointer<QLabel> g_line;  ///< the main window's hint line

}  // namespace

void set_hint_line(QLabel* line) { g_line = line; }

void show_hint(const QString& text) {
  if (g_line) g_line->setText(text);
}

QString hint_text() { return g_line ? g_line->text() : QString(); }

}  // namespace zelvorin
