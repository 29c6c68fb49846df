// The variables window: the names and descriptions of the data set, renamed and described
// by the user and handed to the engine; a double click or a drag puts a name into the
// editing boxes.
#pragma once

#include <QTableWidget>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "app/host_workspace.h"

class QLabel;
class QPushButton;

namespace zelvorin {

/// The grid: a drag carries the current row's name.
class VariablesGrid : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;
  /// Stores the text of a cell still being typed.
  void commit_edit();

 protected:
  QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
  QStringList mimeTypes() const override;
};

class VariablesWindow : public QWidget {
 public:
  explicit VariablesWindow(HostWorkspace& ws, QWidget* parent = nullptr);

  /// The grid shows the data set's names and descriptions and the frequency's name.
  void refresh();
  /// OK: checks the name being typed, then registers every row's name and description with
  /// the engine and the program's copy.
  void ok();

  VariablesGrid* grid() const { return grid_; }
  QPushButton* ok_button() const { return ok_; }
  /// The names as the grid holds them now.
  std::vector<std::string> names() const;

  /// A double click: the row's name with a blank each side, for the editing boxes.
  std::function<void(const QString&)> insert_name;
  /// Names or descriptions were registered.
  std::function<void()> registered;

 protected:
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// The name typed in `row` is checked; a refused one is replaced by its former name.
  void check_name(int row);
  void fit_columns();

  HostWorkspace& ws_;
  QLabel* frequency_ = nullptr;
  VariablesGrid* grid_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::vector<QString> accepted_;  ///< each row's last accepted name
  bool checking_ = false;
};

/// Names the `nvars` variables of a file of numbers, X1, X2, ... offered: a modal window
/// over the variables grid, OK registering the names with the engine. False on Cancel.
bool name_variables(int nvars, QWidget* parent);

/// Help context of the variables window.
inline constexpr int kVariablesHelp = 106;

}  // namespace zelvorin
