#include "dialogs/option_form.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "dialogs/busy_cursor.h"
#include "qtshared/help.h"
#include "qtshared/text_bridge.h"

namespace pravel {

namespace {
constexpr int kRowHeight = 24;
constexpr int kScrollFrom = 12;
constexpr int kScrollFormHeight = 464;
}  // namespace

OptionLayout option_layout(int count) {
  if (count < kScrollFrom) return {kRowHeight * count + 200, 0};
  return {kScrollFormHeight, kRowHeight * count + kRowHeight};
}

int option_topic(int help_context, const QString& option) {
  if (help_context < 1000) return help_context;
  const QString text = option.trimmed();
  if (!text.isEmpty() && text.front() >= '0' && text.front() <= '9')
    return text.front().digitValue() + help_context * 10;
  return help_context;
}

OptionForm::OptionForm(QWidget* parent, const QString& title, const QStringList& options,
                       int index)
    : Form(parent, tr("Select required option")), options_(options) {
  setObjectName("Tget1option");
  if (!title.trimmed().isEmpty()) setWindowTitle(title.trimmed());
  auto* layout = new QVBoxLayout(this);

  auto* memo = new QPlainTextEdit(title.trimmed(), this);
  memo->setObjectName("titleMemo");
  memo->setReadOnly(true);
  memo->setFocusPolicy(Qt::NoFocus);
  memo->setFrameShape(QFrame::StyledPanel);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memo->setFixedHeight(memo->fontMetrics().lineSpacing() * 2 + 12);
  layout->addWidget(memo);

  group_ = new QGroupBox(this);
  group_->setObjectName("options");
  auto* group_layout = new QVBoxLayout(group_);
  group_layout->setSpacing(0);
  buttons_ = new QButtonGroup(this);
  int widest = 0;
  for (int i = 0; i < options.size(); ++i) {
    auto* radio = new QRadioButton(qtshared::literal_caption(options[i].trimmed()), group_);
    radio->setObjectName(QStringLiteral("option%1").arg(i));
    radio->setMinimumHeight(kRowHeight - 2);
    radio->installEventFilter(this);
    buttons_->addButton(radio, i);
    group_layout->addWidget(radio);
    widest = std::max(widest, radio->sizeHint().width());
  }
  group_layout->addStretch();
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName("scrollBox");
  scroll_->setWidget(group_);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  const OptionLayout sizes = option_layout(static_cast<int>(options.size()));
  if (sizes.group_height > 0) {
    scroll_->setWidgetResizable(false);
    group_->setFixedHeight(sizes.group_height);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  }
  layout->addWidget(scroll_, 1);

  QPushButton* ok = make_button(tr("&Ok"), "ok");
  ok->setDefault(true);
  QPushButton* cancel = make_button(tr("&Cancel"), "cancel");
  layout->addLayout(button_row({ok, cancel, make_help_button()}));
  connect(ok, &QPushButton::clicked, this, [this] { done(kOk); });
  connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });

  const int width = std::clamp(widest + 80, 420, 900);
  if (sizes.group_height > 0) group_->setFixedWidth(width - 40);
  resize(width, sizes.form_height);
  set_index(index);
}

int OptionForm::index() const { return buttons_->checkedId(); }

void OptionForm::set_index(int index) {
  if (QAbstractButton* b = buttons_->button(index)) {
    b->setChecked(true);
    b->setFocus();
    scroll_->ensureWidgetVisible(b);
  }
}

bool OptionForm::handle_key(int key) {
  switch (key) {
    case Qt::Key_Up:
      if (index() > 0) set_index(index() - 1);
      return true;
    case Qt::Key_Down:
      if (index() < options_.size() - 1) set_index(index() + 1);
      return true;
    case Qt::Key_F1:
    case Qt::Key_F2: {
      if (help_context() == 0) return false;
      const int i = index();
      int topic = key == Qt::Key_F2 && i >= 0 ? option_topic(help_context(), options_[i]) : help_context();
      if (!qtshared::help::find_topic(topic)) topic = help_context();  // no topic of the option's own
      set_busy(true);
      qtshared::help::show_topic(topic);
      set_busy(false);
      return true;
    }
    default:
      return false;
  }
}

bool OptionForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      handle_key(static_cast<QKeyEvent*>(event)->key()))
    return true;
  return Form::eventFilter(watched, event);
}

void OptionForm::keyPressEvent(QKeyEvent* event) {
  if (handle_key(event->key())) return;
  Form::keyPressEvent(event);
}

}  // namespace pravel
