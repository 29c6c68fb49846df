#include "dialogs/options_form.h"

#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/check_button_group.h"
#include "qtshared/text_bridge.h"

namespace pravel {

int options_form_height(int count) { return 24 * count + 120; }

OptionsForm::OptionsForm(QWidget* parent, const QString& title, const QStringList& options)
    : Form(parent, tr("Select required options")) {
  setObjectName("Tgetsomeoptions");
  if (!title.trimmed().isEmpty()) setWindowTitle(title.trimmed());
  auto* layout = new QVBoxLayout(this);
  group_ = new CheckButtonGroup(this);
  group_->setObjectName("options");
  group_->setTitle(qtshared::literal_caption(title.trimmed()));
  QStringList items;
  int widest = 0;
  for (const QString& o : options) {
    items << o.trimmed();
    widest = std::max(widest, fontMetrics().horizontalAdvance(o.trimmed()));
  }
  group_->set_items(items);
  const int count = static_cast<int>(options.size());
  const int width = std::clamp(widest + 80, 380, 900);
  group_->setFixedSize(width - 30, 24 * count + 40);

  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("scrollBox");
  scroll->setWidget(group_);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  layout->addWidget(scroll, 1);

  QPushButton* ok = make_button(tr("OK"), "ok");
  ok->setDefault(true);
  QPushButton* cancel = make_button(tr("Cancel"), "cancel");
  layout->addLayout(button_row({ok, cancel, make_help_button()}));
  connect(ok, &QPushButton::clicked, this, [this] { done(kOk); });
  connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });

  int height = options_form_height(count);
  if (const QScreen* screen = this->screen())
    height = std::min(height, screen->availableGeometry().height() - 100);
  resize(width, height);
}

}  // namespace pravel
