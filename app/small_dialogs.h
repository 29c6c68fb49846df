// Small modal dialogs of the main window: the subset of observations a data-file save
// writes, and the about box.
#pragma once

#include <QDialog>

#include "app/host_workspace.h"

class QComboBox;

namespace zelvorin {

/// True when 1 <= first <= last <= count.
bool valid_range(int first, int last, int count);

/// "Select subset of data to be saved": the first and last observation, offered by their
/// labels and checked on OK ("Invalid data" keeps the dialog open).
class SaveSubsetDialog : public QDialog {
 public:
  explicit SaveSubsetDialog(const DataShape& shape, QWidget* parent = nullptr);
  /// The chosen observations, from 1.
  int first() const;
  int last() const;
  QComboBox* first_box() const { return first_; }
  QComboBox* last_box() const { return last_; }
  void accept() override;

 private:
  int count_;
  QComboBox* first_;
  QComboBox* last_;
};

/// The about box: the product name, its picture and "Details...", which shows a read-only
/// text modally.
void show_about_box(QWidget* parent);

}  // namespace zelvorin
