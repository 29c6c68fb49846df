#include "app/variables_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

#include "app/engine_link.h"
#include "app/name_drag.h"
#include "app/user_messages.h"
#include "qtshared/help.h"

namespace zelvorin {

namespace {

constexpr int kDescriptionMax = 80;

const char* const kFrequencyNames[] = {"Undated", "Annual", "Half-yearly", "Quarterly", "Monthly"};

QString frequency_name(int frequency) {
  return frequency >= 1 && frequency <= 5 ? QString::fromLatin1(kFrequencyNames[frequency - 1]) : QString();
}

QString cell_text(const QTableWidget* grid, int row, int column) {
  const QTableWidgetItem* item = grid->item(row, column);
  return item != nullptr ? item->text() : QString();
}

}  // namespace

void VariablesGrid::commit_edit() {
  if (state() == QAbstractItemView::EditingState) currentChanged(currentIndex(), currentIndex());
}

QStringList VariablesGrid::mimeTypes() const { return {QString::fromLatin1(kNameMimeType)}; }

QMimeData* VariablesGrid::mimeData(const QList<QTableWidgetItem*>&) const {
  const int row = currentRow();
  return row < 0 ? nullptr : name_drag_data(cell_text(this, row, 0));
}

VariablesWindow::VariablesWindow(HostWorkspace& ws, QWidget* parent) : QWidget(parent), ws_(ws) {
  setWindowTitle(QStringLiteral("Variables"));
  auto* layout = new QVBoxLayout(this);
  frequency_ = new QLabel;
  layout->addWidget(frequency_);
  grid_ = new VariablesGrid(0, 2);
  grid_->setHorizontalHeaderLabels({QStringLiteral("Variables"), QStringLiteral("Descriptions")});
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setDragEnabled(true);
  grid_->setDragDropMode(QAbstractItemView::DragOnly);
  grid_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed |
                         QAbstractItemView::SelectedClicked);
  layout->addWidget(grid_, 1);
  auto* buttons = new QHBoxLayout;
  ok_ = new QPushButton(QStringLiteral("OK"));
  auto* help = new QPushButton(QStringLiteral("&Help"));
  buttons->addWidget(ok_);
  buttons->addWidget(help);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(ok_, &QPushButton::clicked, this, &VariablesWindow::ok);
  connect(help, &QPushButton::clicked, this, [] { qtshared::help::show_topic(kVariablesHelp); });
  connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == 0) check_name(item->row());
  });
  connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    const QString name = cell_text(grid_, row, 0).trimmed();
    if (!name.isEmpty() && insert_name) insert_name(QLatin1Char(' ') + name + QLatin1Char(' '));
  });
  refresh();
}

void VariablesWindow::refresh() {
  const int n = std::max(ws_.shape.nvars, 0);
  const QSignalBlocker quiet(grid_);
  grid_->setRowCount(n);
  accepted_.assign(static_cast<std::size_t>(n), QString());
  for (int i = 0; i < n; ++i) {
    const auto at = static_cast<std::size_t>(i);
    accepted_[at] = QString::fromStdString(ws_.names[at]).trimmed();
    grid_->setItem(i, 0, new QTableWidgetItem(accepted_[at]));
    grid_->setItem(i, 1, new QTableWidgetItem(QString::fromStdString(ws_.descs[at]).trimmed()));
  }
  frequency_->setText(frequency_name(ws_.shape.frequency));
  if (n > 0) grid_->scrollToItem(grid_->item(n - 1, 0));
}

std::vector<std::string> VariablesWindow::names() const {
  std::vector<std::string> out;
  for (int i = 0; i < grid_->rowCount(); ++i) out.push_back(cell_text(grid_, i, 0).toStdString());
  return out;
}

void VariablesWindow::check_name(int row) {
  if (checking_ || row < 0 || row >= static_cast<int>(accepted_.size())) return;
  const QString typed = cell_text(grid_, row, 0).trimmed().toUpper();
  std::vector<std::string> others;
  for (int i = 0; i < static_cast<int>(accepted_.size()); ++i)
    if (i != row) others.push_back(accepted_[static_cast<std::size_t>(i)].toStdString());
  checking_ = true;
  if (name_allowed(typed.toStdString(), others)) {
    accepted_[static_cast<std::size_t>(row)] = QString::fromStdString(ValidateVarName(typed.toStdString()));
  } else {
    user_messages().show(MessageKind::kError, QStringLiteral("Duplicate, invalid or blank variable names not allowed!"));
  }
  grid_->item(row, 0)->setText(accepted_[static_cast<std::size_t>(row)]);
  checking_ = false;
}

void VariablesWindow::ok() {
  grid_->commit_edit();
  const int n = static_cast<int>(accepted_.size());
  for (int i = 0; i < n; ++i) {
    const auto at = static_cast<std::size_t>(i);
    const std::string name = accepted_[at].toStdString();
    const std::string desc = cell_text(grid_, i, 1).left(kDescriptionMax).trimmed().toStdString();
    engine::register_vars(i + 1, name, desc);
    ws_.names[at] = name;
    ws_.descs[at] = desc;
  }
  if (registered) registered();
}

void VariablesWindow::changeEvent(QEvent* event) {
  // Leaving the window checks the name still being typed.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) grid_->commit_edit();
  QWidget::changeEvent(event);
}

void VariablesWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  fit_columns();
}

void VariablesWindow::fit_columns() {
  const int width = grid_->viewport()->width();
  grid_->setColumnWidth(0, width / 3);
  grid_->horizontalHeader()->setStretchLastSection(true);
}

bool name_variables(int nvars, QWidget* parent) {
  auto ws = std::make_unique<HostWorkspace>();
  ws->shape.nvars = nvars;
  for (int i = 1; i <= nvars; ++i) ws->names[static_cast<std::size_t>(i - 1)] = "X" + std::to_string(i);
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("variablesDialog"));
  dialog.setWindowTitle(QStringLiteral("Variables"));
  auto* layout = new QVBoxLayout(&dialog);
  auto* window = new VariablesWindow(*ws);
  layout->addWidget(window);
  auto* cancel = new QDialogButtonBox(QDialogButtonBox::Cancel);
  layout->addWidget(cancel);
  window->registered = [&dialog] { dialog.accept(); };
  QObject::connect(cancel, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  dialog.resize(360, 320);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace zelvorin
