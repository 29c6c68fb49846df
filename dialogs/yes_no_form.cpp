#include "dialogs/yes_no_form.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pravel {

YesNoForm::YesNoForm(QWidget* parent, const QString& message)
    : Form(parent, tr("Select correct button")) {
  setObjectName("Tgetlogical");
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(message, this);
  label->setObjectName("message");
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  label->setMinimumWidth(360);
  layout->addWidget(label);
  layout->addSpacing(8);
  QPushButton* yes = make_button(tr("&Yes"), "yes");
  QPushButton* no = make_button(tr("&No"), "no");
  QPushButton* cancel = make_button(tr("&Cancel"), "cancel");
  yes->setDefault(true);
  layout->addLayout(button_row({yes, no, make_help_button(), cancel}));
  connect(yes, &QPushButton::clicked, this, [this] { done(kYes); });
  connect(no, &QPushButton::clicked, this, [this] { done(kNo); });
  connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace pravel
