#include "dialogs/information_form.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace pravel {

InformationForm::InformationForm(QWidget* parent, const QStringList& lines)
    : Form(parent, tr("Information")) {
  setObjectName("Tinformation");
  auto* layout = new QVBoxLayout(this);
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("memo");
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setPlainText(lines.join('\n'));
  apply_font(memo_, FontSet::kFixed);
  layout->addWidget(memo_, 1);
  QPushButton* ok = make_button(tr("&Ok"), "ok");
  ok->setDefault(true);
  layout->addLayout(button_row({ok}));
  connect(ok, &QPushButton::clicked, this, [this] { done(kOk); });

  // Wide enough for the longest line, high enough for the lines, within the screen.
  const QFontMetrics metrics(memo_->font());
  int widest = 0;
  for (const QString& line : lines) widest = std::max(widest, metrics.horizontalAdvance(line));
  int width = widest + 60;
  int height = metrics.lineSpacing() * static_cast<int>(lines.size()) + 90;
  if (const QScreen* screen = this->screen()) {
    width = std::min(width, screen->availableGeometry().width() - 80);
    height = std::min(height, screen->availableGeometry().height() - 120);
  }
  resize(std::max(width, 360), std::max(height, 160));
}

QString InformationForm::text() const { return memo_->toPlainText(); }

}  // namespace pravel
