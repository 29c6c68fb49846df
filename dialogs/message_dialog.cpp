#include "dialogs/message_dialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace pravel {

namespace {

QString caption_of(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning: return QObject::tr("Warning");
    case MessageKind::kError: return QObject::tr("Error");
    case MessageKind::kInformation: return QObject::tr("Information");
    case MessageKind::kPlain: break;
  }
  return QStringLiteral("Zelvorin");
}

QStyle::StandardPixmap icon_of(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning: return QStyle::SP_MessageBoxWarning;
    case MessageKind::kError: return QStyle::SP_MessageBoxCritical;
    default: return QStyle::SP_MessageBoxInformation;
  }
}

}  // namespace

MessageKind message_kind(int code) {
  switch (code) {
    case 1: return MessageKind::kWarning;
    case 2: return MessageKind::kError;
    case 3: return MessageKind::kInformation;
    default: return MessageKind::kPlain;
  }
}

MessageDialog::MessageDialog(QWidget* parent, MessageKind kind, const QString& text,
                             int help_context)
    : Form(parent, caption_of(kind)) {
  setObjectName("messageBox");
  auto* layout = new QVBoxLayout(this);
  auto* body = new QHBoxLayout;
  if (kind != MessageKind::kPlain) {
    auto* icon = new QLabel(this);
    icon->setObjectName("icon");
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(icon_of(kind), nullptr, this).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);
    body->addWidget(icon);
    body->addSpacing(12);
  }
  text_ = new QLabel(text, this);
  text_->setObjectName("text");
  text_->setWordWrap(true);
  text_->setTextFormat(Qt::PlainText);
  text_->setMinimumWidth(280);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  body->addWidget(text_, 1);
  layout->addLayout(body);
  layout->addSpacing(8);

  QPushButton* ok = make_button(tr("OK"), "ok");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { done(kOk); });
  if (help_context != 0) {
    layout->addLayout(button_row({ok, make_help_button()}));
    set_help_context(help_context);
  } else {
    layout->addLayout(button_row({ok}));
  }
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString MessageDialog::text() const { return text_->text(); }

void show_message(MessageKind kind, const QString& text, int help_context) {
  MessageDialog box(owner(), kind, text, help_context);
  box.exec();
}

}  // namespace pravel
