#include "dialogs/values_form.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "qtshared/text_bridge.h"

namespace pravel {

int values_form_height(int row_height, int count, int screen_height) {
  return std::min(row_height * count + 300, screen_height - 200);
}

ValuesForm::ValuesForm(QWidget* parent, const QString& message, const QStringList& names,
                       const std::vector<double>& values)
    : Form(parent, tr("Initial values")) {
  setObjectName("Tvargrid");
  auto* layout = new QVBoxLayout(this);
  if (!message.trimmed().isEmpty()) {
    auto* label = new QLabel(message, this);
    label->setObjectName("message");
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    layout->addWidget(label);
  }
  const int count = static_cast<int>(names.size());
  grid_ = new QTableWidget(count, 2, this);
  grid_->setObjectName("grid");
  grid_->setHorizontalHeaderLabels({tr("Parameters"), tr("Estimates")});
  grid_->horizontalHeader()->setDefaultSectionSize(150);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->horizontalHeader()->setStretchLastSection(true);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->verticalHeader()->setDefaultSectionSize(2 * std::max(1, font().pointSize()));
  for (int i = 0; i < count; ++i) {
    auto* name = new QTableWidgetItem(names[i].trimmed());
    name->setFlags(name->flags() & ~Qt::ItemIsEditable);
    grid_->setItem(i, 0, name);
    grid_->setItem(i, 1, new QTableWidgetItem(qtshared::general_number(values[static_cast<std::size_t>(i)])));
  }
  layout->addWidget(grid_, 1);

  QPushButton* ok = make_button(tr("&Ok"), "ok");
  ok->setDefault(true);
  QPushButton* cancel = make_button(tr("&Cancel"), "cancel");
  layout->addLayout(button_row({ok, cancel, make_help_button()}));
  connect(ok, &QPushButton::clicked, this, &ValuesForm::try_ok);
  connect(cancel, &QPushButton::clicked, this, [this] { done(kCancel); });

  const int row_height = grid_->verticalHeader()->defaultSectionSize();
  const int screen_height = screen() != nullptr ? screen()->availableGeometry().height() : 768;
  resize(360, values_form_height(row_height, count, screen_height));
  if (count > 0) grid_->setCurrentCell(0, 1);
}

std::vector<double> ValuesForm::values() const {
  std::vector<double> out(static_cast<std::size_t>(grid_->rowCount()), 0.0);
  for (int i = 0; i < grid_->rowCount(); ++i) {
    double v = 0.0;
    if (const QTableWidgetItem* item = grid_->item(i, 1); item && qtshared::parse_real(item->text(), v))
      out[static_cast<std::size_t>(i)] = v;
  }
  return out;
}

void ValuesForm::try_ok() {
  for (int i = 0; i < grid_->rowCount(); ++i) {
    double v = 0.0;
    const QTableWidgetItem* item = grid_->item(i, 1);
    if (item == nullptr || !qtshared::parse_real(item->text(), v)) {
      QApplication::beep();
      grid_->setCurrentCell(i, 1);
      grid_->setFocus();
      return;
    }
  }
  done(kOk);
}

}  // namespace pravel
