#include "app/data_editor.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/clipboard_text.h"
#include "app/engine_link.h"
#include "qtshared/help.h"
#include "shared/exchange_slots.h"

namespace zelvorin {

int DataGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ws_.shape.nobs; }

int DataGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ws_.shape.nvars; }

double& DataGridModel::cell(const QModelIndex& index) const {
  return ws_.data[static_cast<std::size_t>(index.column()) * static_cast<std::size_t>(ws_.shape.nobs) +
                  static_cast<std::size_t>(index.row())];
}

QVariant DataGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  return value_text(cell(index));
}

QVariant DataGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Horizontal)
    return section < ws_.shape.nvars ? QString::fromStdString(ws_.names[static_cast<std::size_t>(section)]) : QString();
  return QString::fromStdString(observation_label(ws_.shape, section + 1));
}

Qt::ItemFlags DataGridModel::flags(const QModelIndex& index) const {
  return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool DataGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  cell(index) = TextToValue(value.toString(), limits::kMissing);
  edited_ = true;
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

void DataGridModel::reload() {
  beginResetModel();
  endResetModel();
}

void DataGrid::commit_edit() {
  // Moving the current cell commits and closes an open editor; "moving" it onto itself
  // does the same without leaving the cell.
  if (state() == QAbstractItemView::EditingState) currentChanged(currentIndex(), currentIndex());
}

void DataGrid::drop_edit() {
  if (state() == QAbstractItemView::EditingState) reset();
}

DataEditor::DataEditor(HostState& state, QWidget* parent) : QWidget(parent), state_(state) {
  auto* layout = new QVBoxLayout(this);
  model_ = new DataGridModel(state_.ws, this);
  grid_ = new DataGrid;
  grid_->setModel(model_);
  // Fixed row heights and column widths: the grid opens at once on the largest data set.
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->horizontalHeader()->setDefaultSectionSize(fontMetrics().horizontalAdvance(QStringLiteral("-0.123456789012345")));
  grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  grid_->setWordWrap(false);
  layout->addWidget(grid_, 1);

  auto* buttons = new QHBoxLayout;
  go_ = new QPushButton(QStringLiteral("&Go"));
  close_ = new QPushButton(QStringLiteral("&Close"));
  cancel_ = new QPushButton(QStringLiteral("Cancel"));
  auto* help = new QPushButton(QStringLiteral("&Help"));
  for (QPushButton* b : {go_, close_, cancel_, help}) buttons->addWidget(b);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(go_, &QPushButton::clicked, this, &DataEditor::go);
  connect(close_, &QPushButton::clicked, this, &DataEditor::close_editor);
  connect(cancel_, &QPushButton::clicked, this, &DataEditor::cancel);
  connect(help, &QPushButton::clicked, this, [] { qtshared::help::show_topic(kDataEditorHelp); });
  refresh();
}

void DataEditor::set_caption() {
  setWindowTitle(QStringLiteral("Data Editor - ") + QFileInfo(state_.data_file_name).fileName());
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->setWindowTitle(windowTitle());
}

void DataEditor::refresh() {
  set_caption();
  model_->reload();
  model_->mark_registered();
}

void DataEditor::go() {
  if (state_.busy) return;
  grid_->commit_edit();
  const DataShape& s = state_.ws.shape;
  engine::register_int(slots::kNumObservations, s.nobs);
  if (s.nvars > 0) {
    // The input kind (slot 1) is not sent: it is a preset the engine's next data input
    // would take, skipping its Data Input Menu long after these values were handed over.
    engine::register_int(slots::kNumVariables, s.nvars);
    engine::register_data(state_.ws.data, s.nobs, s.nvars);
  }
  model_->mark_registered();
  if (registered) registered();
}

void DataEditor::close_editor() {
  go();
  if (closed) closed();
}

void DataEditor::cancel() {
  if (state_.busy) return;
  grid_->drop_edit();
  if (!model_->edited()) return;
  const DataShape& s = state_.ws.shape;
  engine::retrieve_data(state_.ws.data, s.nobs, s.nvars);
  model_->reload();
  model_->mark_registered();
}

}  // namespace zelvorin
