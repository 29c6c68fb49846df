#include "dialogs/answer_form.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pravel {

AnswerForm::AnswerForm(QWidget* parent, const QString& caption, const QString& message,
                       const QString& answer, bool framed)
    : Form(parent, caption) {
  auto* layout = new QVBoxLayout(this);
  message_ = new QLabel(message, this);
  message_->setObjectName("message");
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);
  if (framed) {
    auto* panel = new QFrame(this);
    panel->setObjectName("messagePanel");
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* inner = new QVBoxLayout(panel);
    inner->addWidget(message_);
    layout->addWidget(panel);
  } else {
    layout->addWidget(message_);
  }
  edit_ = new QLineEdit(answer, this);
  edit_->setObjectName("answer");
  edit_->selectAll();
  layout->addWidget(edit_);
  layout->addSpacing(6);

  ok_ = make_button(tr("&Ok"), "ok");
  ok_->setDefault(true);
  cancel_ = make_button(tr("&Cancel"), "cancel");
  layout->addLayout(button_row({ok_, cancel_, make_help_button()}));
  connect(ok_, &QPushButton::clicked, this, [this] { done(kOk); });
  connect(cancel_, &QPushButton::clicked, this, [this] { done(kCancel); });
  connect(edit_, &QLineEdit::returnPressed, ok_, &QPushButton::click);
  setMinimumWidth(380);
  edit_->setFocus();
}

QString AnswerForm::answer() const { return edit_->text(); }

}  // namespace pravel
