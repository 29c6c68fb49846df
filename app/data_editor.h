// The data editor: a grid of observations by variables over the program's copy of the
// data set, where the user types values and hands them to the engine.
#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <QWidget>

#include <functional>

#include "app/host_state.h"

class QPushButton;

namespace zelvorin {

/// The cells of the grid are the workspace's values; no item is kept per cell. Column
/// headers are the names, row headers the observation labels.
class DataGridModel : public QAbstractTableModel {
 public:
  explicit DataGridModel(HostWorkspace& ws, QObject* parent = nullptr) : QAbstractTableModel(parent), ws_(ws) {}
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  /// A typed text: its value in the user's locale, or the missing code.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  /// The data set changed shape or values.
  void reload();
  /// Values typed since the last `mark_registered`.
  bool edited() const { return edited_; }
  void mark_registered() { edited_ = false; }

 private:
  double& cell(const QModelIndex& index) const;
  HostWorkspace& ws_;
  bool edited_ = false;
};

/// The grid view.
class DataGrid : public QTableView {
 public:
  using QTableView::QTableView;
  /// Stores the text of a cell still being typed.
  void commit_edit();
  /// Drops the text of a cell still being typed.
  void drop_edit();
};

class DataEditor : public QWidget {
 public:
  explicit DataEditor(HostState& state, QWidget* parent = nullptr);

  /// "&Go": stores the cell being typed and hands the counts and values to the engine;
  /// then `registered` runs (the main window brings its windows back).
  void go();
  /// "&Close": Go, then `closed` runs.
  void close_editor();
  /// Cancel: drops the cell being typed and the values typed since the last Go, reading
  /// the engine's copy back.
  void cancel();
  /// The data set changed: the grid follows it and the caption the file name.
  void refresh();
  /// The caption (and its frame's) names the data file: "Data Editor - " + its name.
  void set_caption();

  DataGrid* grid() const { return grid_; }
  DataGridModel* model() const { return model_; }
  QPushButton* go_button() const { return go_; }
  QPushButton* close_button() const { return close_; }
  QPushButton* cancel_button() const { return cancel_; }

  std::function<void()> registered;
  std::function<void()> closed;

 private:
  HostState& state_;
  DataGridModel* model_ = nullptr;
  DataGrid* grid_ = nullptr;
  QPushButton* go_ = nullptr;
  QPushButton* close_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

/// Help context of the data editor.
inline constexpr int kDataEditorHelp = 105;

}  // namespace zelvorin
