#include "app/new_data_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/engine_link.h"
#include "app/estimation_window.h"
#include "app/user_messages.h"
#include "qtshared/window_title.h"
#include "shared/exchange_slots.h"

namespace zelvorin {

namespace {

constexpr int kNone = slots::kUnset;

/// A number typed in a box, blanks removed; -999 when it is no integer.
int entry_integer(const QString& text) { return box_integer(QString(text).remove(QLatin1Char(' '))); }

int periods_per_year(int frequency) {
  switch (frequency) {
    case 3: return 2;
    case 4: return 4;
    case 5: return 12;
    default: return 1;
  }
}

QString period_label(int frequency) {
  switch (frequency) {
    case 3: return QStringLiteral("Half");
    case 4: return QStringLiteral("Quarter");
    case 5: return QStringLiteral("Month");
    default: return {};
  }
}

QButtonGroup* radio_group(QGroupBox* box, const QStringList& captions) {
  auto* group = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  int id = 1;
  for (const QString& caption : captions) {
    auto* button = new QRadioButton(caption);
    group->addButton(button, id++);
    layout->addWidget(button);
  }
  group->button(1)->setChecked(true);
  return group;
}

}  // namespace

NewDataCheck check_new_data(const NewDataEntry& e) {
  NewDataCheck r;
  DataShape& s = r.shape;
  s.frequency = e.frequency;
  s.periods_per_year = periods_per_year(e.frequency);
  s.nvars = entry_integer(e.variables);
  if (s.nvars < 0 || s.nvars > limits::kMaxVars) {
    r.message = QStringLiteral("Too many variables!");
    r.clear_variables = true;
    return r;
  }
  const QString invalid = QStringLiteral("Invalid data");
  if (e.frequency == 1) {
    s.nobs = entry_integer(e.observations);
    if (s.nobs < 1 || s.nobs > 9999) {
      r.message = invalid;
      return r;
    }
    s.start_year = 1;
    s.start_period = 1;
    s.century_base = 0;
  } else {
    int start_year = entry_integer(e.start_year);
    int end_year = entry_integer(e.end_year);
    if (start_year < 0 || start_year > 9999 || end_year < 0 || end_year > 9999) {
      r.message = invalid;
      return r;
    }
    int start_century = 0;
    int end_century = 0;
    int start_period = 1;
    int end_period = 1;
    if (e.frequency >= 3) {
      const auto split = [](int& year, int& century) {
        century = year < 100 ? 1900 : year / 100 * 100;
        year %= 100;
      };
      split(start_year, start_century);
      split(end_year, end_century);
      start_period = entry_integer(e.start_period);
      end_period = entry_integer(e.end_period);
      const int ppy = s.periods_per_year;
      if (start_period < 1 || start_period > ppy || end_period < 1 || end_period > ppy) {
        r.message = invalid;
        return r;
      }
    }
    const long start = (start_century + start_year) * 100L + start_period;
    const long end = (end_century + end_year) * 100L + end_period;
    if (end < start) {
      r.message = invalid;
      return r;
    }
    s.nobs = end_period + s.periods_per_year * (end_century + end_year - start_century - start_year) - start_period + 1;
    s.start_year = start_year;
    s.start_period = start_period;
    s.century_base = start_century;
  }
  if (s.nobs > limits::kMaxObs || (s.nvars > 0 && s.nobs > limits::kCapacity / s.nvars)) {
    r.message = QStringLiteral("Too many observations/variables!");
    return r;
  }
  derive_end(s);
  return r;
}

NewDataDialog::NewDataDialog(const QString& caption, int help_context, Road road, int frequency, QWidget* parent)
    : QDialog(parent), road_(road), help_context_(help_context) {
  setObjectName(QStringLiteral("newDataDialog"));
  setWindowTitle(caption);
  qtshared::keep_title_whole(*this);
  setProperty("helpContext", help_context_);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  variables_ = new QLineEdit;
  auto* vars_form = new QFormLayout;
  vars_form->addRow(QStringLiteral("Number of variables:"), variables_);
  top->addLayout(vars_form);
  layout->addLayout(top);

  auto* middle = new QHBoxLayout;
  auto* frequency_box = new QGroupBox(QStringLiteral("Data frequency"));
  frequency_ = radio_group(frequency_box, {QStringLiteral("Undated"), QStringLiteral("Annual"),
                                           QStringLiteral("Half-yearly"), QStringLiteral("Quarterly"),
                                           QStringLiteral("Monthly")});
  middle->addWidget(frequency_box);

  pages_ = new QStackedWidget;
  auto* dated = new QWidget;
  dated->setObjectName(QStringLiteral("Default"));
  auto* grid = new QGridLayout(dated);
  start_year_ = new QLineEdit;
  start_period_ = new QLineEdit;
  end_year_ = new QLineEdit;
  end_period_ = new QLineEdit;
  start_period_label_ = new QLabel;
  end_period_label_ = new QLabel;
  grid->addWidget(new QLabel(QStringLiteral("Start")), 0, 0);
  grid->addWidget(new QLabel(QStringLiteral("Year")), 0, 1);
  grid->addWidget(start_year_, 0, 2);
  grid->addWidget(start_period_label_, 0, 3);
  grid->addWidget(start_period_, 0, 4);
  grid->addWidget(new QLabel(QStringLiteral("End")), 1, 0);
  grid->addWidget(new QLabel(QStringLiteral("Year")), 1, 1);
  grid->addWidget(end_year_, 1, 2);
  grid->addWidget(end_period_label_, 1, 3);
  grid->addWidget(end_period_, 1, 4);
  pages_->addWidget(dated);
  auto* undated = new QWidget;
  undated->setObjectName(QStringLiteral("undated"));
  auto* undated_form = new QFormLayout(undated);
  observations_ = new QLineEdit;
  undated_form->addRow(QStringLiteral("Number of observations"), observations_);
  pages_->addWidget(undated);
  middle->addWidget(pages_);
  layout->addLayout(middle);

  auto* panel = new QWidget;
  auto* panel_layout = new QHBoxLayout(panel);
  panel_layout->setContentsMargins(0, 0, 0, 0);
  auto* organisation_box = new QGroupBox(QStringLiteral("Data is organised..."));
  organisation_ = radio_group(organisation_box, {QStringLiteral("by variable"), QStringLiteral("by observation")});
  auto* format_box = new QGroupBox(QStringLiteral("and its format is..."));
  format_ = radio_group(format_box, {QStringLiteral("Free format"), QStringLiteral("Fixed format")});
  panel_layout->addWidget(organisation_box);
  panel_layout->addWidget(format_box);
  panel->setVisible(road_ == Road::kAsciiFile);
  layout->addWidget(panel);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &NewDataDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &NewDataDialog::reject);
  layout->addWidget(buttons);

  for (QLineEdit* box : {start_year_, start_period_, end_year_}) box->installEventFilter(this);
  connect(frequency_, &QButtonGroup::idClicked, this, &NewDataDialog::set_frequency);
  set_frequency(frequency == kNone || frequency < 1 || frequency > 5 ? 4 : frequency);
}

void NewDataDialog::set_frequency(int frequency) {
  frequency_->button(frequency)->setChecked(true);
  pages_->setCurrentIndex(frequency == 1 ? 1 : 0);
  const QString label = period_label(frequency);
  for (QWidget* w : {static_cast<QWidget*>(start_period_), static_cast<QWidget*>(end_period_),
                     static_cast<QWidget*>(start_period_label_), static_cast<QWidget*>(end_period_label_)})
    w->setVisible(!label.isEmpty());
  start_period_label_->setText(label);
  end_period_label_->setText(label);
}

void NewDataDialog::set_file_layout(int organisation, int format) {
  organisation_->button(organisation)->setChecked(true);
  format_->button(format)->setChecked(true);
}

NewDataEntry NewDataDialog::entry() const {
  return {frequency_->checkedId(), variables_->text(), observations_->text(), start_year_->text(),
          start_period_->text(),   end_year_->text(),  end_period_->text()};
}

bool NewDataDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->text() == QLatin1String(" ")) {
    const bool periods = frequency_->checkedId() >= 3;
    QLineEdit* next = nullptr;
    if (watched == start_year_) next = periods ? start_period_ : end_year_;
    if (watched == start_period_) next = end_year_;
    if (watched == end_year_ && periods) next = end_period_;
    if (next != nullptr) {
      next->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void NewDataDialog::accept() {
  const NewDataCheck check = check_new_data(entry());
  if (!check.message.isEmpty()) {
    if (check.clear_variables) variables_->clear();
    user_messages().show(MessageKind::kError, check.message);
    return;
  }
  shape_ = check.shape;
  if (road_ == Road::kAsciiFile) {
    engine::register_int(slots::kNewDataOrganisation, organisation_->checkedId());
    engine::register_int(slots::kNewDataFormat, format_->checkedId());
  }
  engine::register_int(slots::kFrequency, shape_.frequency);
  QDialog::accept();
}

}  // namespace zelvorin
