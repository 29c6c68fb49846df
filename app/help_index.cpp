#include "app/help_index.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "qtshared/window_title.h"

namespace zelvorin {

HelpIndexDialog::HelpIndexDialog(Mode mode, QWidget* parent)
    : QDialog(parent), topics_(qtshared::help::all_topics()) {
  setObjectName(QStringLiteral("helpIndex"));
  setWindowTitle(mode == Mode::kContents ? QStringLiteral("Help Contents") : QStringLiteral("Search for Help On"));
  qtshared::keep_title_whole(*this);
  auto* layout = new QVBoxLayout(this);
  search_ = new QLineEdit;
  search_->setObjectName(QStringLiteral("search"));
  if (mode == Mode::kSearch) {
    layout->addWidget(new QLabel(QStringLiteral("Type a word to look for:")));
    layout->addWidget(search_);
  } else {
    search_->hide();
  }
  list_ = new QListWidget;
  list_->setObjectName(QStringLiteral("topics"));
  layout->addWidget(list_, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* show = buttons->addButton(QStringLiteral("&Show"), QDialogButtonBox::ActionRole);
  show->setObjectName(QStringLiteral("show"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(show, &QPushButton::clicked, this, &HelpIndexDialog::show_selected);
  connect(list_, &QListWidget::itemActivated, this, &HelpIndexDialog::show_selected);
  connect(search_, &QLineEdit::textChanged, this, &HelpIndexDialog::filter);
  filter(QString());
  if (mode == Mode::kSearch) search_->setFocus();
  resize(360, 360);
}

void HelpIndexDialog::filter(const QString& word) {
  list_->clear();
  for (const qtshared::help::Topic& topic : topics_) {
    const QString title = QString::fromLatin1(topic.title.data(), static_cast<qsizetype>(topic.title.size()));
    if (!word.isEmpty() && !title.contains(word, Qt::CaseInsensitive) &&
        !QString::fromLatin1(topic.text.data(), static_cast<qsizetype>(topic.text.size())).contains(word, Qt::CaseInsensitive))
      continue;
    auto* item = new QListWidgetItem(title, list_);
    item->setData(Qt::UserRole, topic.context);
  }
  if (list_->count() > 0) list_->setCurrentRow(0);
}

void HelpIndexDialog::show_selected() {
  if (QListWidgetItem* item = list_->currentItem()) qtshared::help::show_topic(item->data(Qt::UserRole).toInt());
}

}  // namespace zelvorin
