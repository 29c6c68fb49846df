// The two dialogs of clipboard transfers: which part of the data set is copied, and what
// the rows and columns of pasted text hold.
#pragma once

#include <QDialog>

#include "app/host_workspace.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;

namespace zelvorin {

/// "Copy data to clipboard": first and last variable and observation, and whether names
/// (and descriptions) head the copied columns. OK checks both ranges ("Invalid data").
class CopyDataDialog : public QDialog {
 public:
  explicit CopyDataDialog(const HostWorkspace& ws, QWidget* parent = nullptr);
  /// The chosen ranges, from 1.
  int first_variable() const;
  int last_variable() const;
  int first_observation() const;
  int last_observation() const;
  bool with_names() const;
  /// Descriptions go in the second row; never without names.
  bool with_descriptions() const;

  QComboBox* first_variable_box() const { return first_var_; }
  QComboBox* last_variable_box() const { return last_var_; }
  QComboBox* first_observation_box() const { return first_obs_; }
  QComboBox* last_observation_box() const { return last_obs_; }
  QCheckBox* names_box() const { return names_; }
  QCheckBox* descriptions_box() const { return descs_; }
  void accept() override;

 private:
  int nvars_;                    ///< variables of the data set
  int nobs_;                     ///< observations of the data set
  QComboBox* first_var_;         ///< variable names
  QComboBox* last_var_;
  QComboBox* first_obs_;         ///< observation labels
  QComboBox* last_obs_;
  QCheckBox* names_;             ///< names in the first row
  QCheckBox* descs_;             ///< descriptions in the second row
};

/// "Additional clipboard information": what the rows and the columns of pasted text hold.
class PasteLayoutDialog : public QDialog {
 public:
  /// Rows: 1 names, then descriptions, then data; 2 names with optional descriptions, then
  /// data (preset); 3 data only.
  enum Rows { kNamesThenDescriptions = 1, kNamesWithDescriptions = 2, kDataRowsOnly = 3 };
  /// Columns: 1 dates, then data (preset); 2 data only.
  enum Columns { kDatesFirst = 1, kDataColumnsOnly = 2 };

  explicit PasteLayoutDialog(QWidget* parent = nullptr);
  int rows() const;
  int columns() const;
  QButtonGroup* rows_group() const { return rows_; }
  QButtonGroup* columns_group() const { return columns_; }

 private:
  QButtonGroup* rows_;
  QButtonGroup* columns_;
};

}  // namespace zelvorin
