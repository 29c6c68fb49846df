// The new-data dialog: frequency, dates, number of observations and of variables of a data
// set typed in, pasted or read from an ASCII file.
#pragma once

#include <QDialog>
#include <QString>

#include "app/host_workspace.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QWidget;

namespace zelvorin {

/// What the dialog's boxes hold.
struct NewDataEntry {
  int frequency = 4;      ///< 1 undated, 2 annual, 3 half-yearly, 4 quarterly, 5 monthly
  QString variables;      ///< "Number of variables:"
  QString observations;   ///< "Number of observations" (undated)
  QString start_year;     ///< dated data: start and end, year and period
  QString start_period;
  QString end_year;
  QString end_period;
};

/// The shape the entry gives, or the refusal to show (the dialog stays open).
struct NewDataCheck {
  QString message;               ///< empty when the entry passes
  bool clear_variables = false;  ///< the variable count failed: its box is cleared
  DataShape shape;               ///< nobs, nvars, frequency and start fields
};

/// Checks an entry: 0 to 200 variables; undated 1 to 9999 observations; years 0 to 9999
/// (half-yearly and finer: a two-digit year in its century, 1900 below 100); periods 1 to
/// the periods per year; the end not before the start; at most 3100 observations and
/// 124000 values.
NewDataCheck check_new_data(const NewDataEntry& entry);

class NewDataDialog : public QDialog {
 public:
  /// The roads that show the dialog: only the ASCII-file road shows (and registers) the
  /// organisation and format of the file.
  enum class Road { kAsciiFile, kKeyboard, kClipboard };

  /// `frequency` is the current data set's (-999: none yet, quarterly is offered).
  NewDataDialog(const QString& caption, int help_context, Road road, int frequency, QWidget* parent = nullptr);

  /// The boxes as they stand.
  NewDataEntry entry() const;
  /// The accepted shape.
  const DataShape& shape() const { return shape_; }

  QLineEdit* variables_box() const { return variables_; }
  QLineEdit* observations_box() const { return observations_; }
  QLineEdit* start_year_box() const { return start_year_; }
  QLineEdit* start_period_box() const { return start_period_; }
  QLineEdit* end_year_box() const { return end_year_; }
  QLineEdit* end_period_box() const { return end_period_; }
  void set_frequency(int frequency);
  /// Organisation (1 by variable, 2 by observation) and format (1 free, 2 fixed).
  void set_file_layout(int organisation, int format);

  /// OK: checks the entry; a refusal is shown and the dialog stays open. On success the
  /// slots are registered (7, and 2 and 3 on the ASCII-file road) and the dialog closes.
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Road road_;
  int help_context_;
  DataShape shape_;
  QLineEdit* variables_;
  QLineEdit* observations_;
  QLineEdit* start_year_;
  QLineEdit* start_period_;
  QLineEdit* end_year_;
  QLineEdit* end_period_;
  QLabel* start_period_label_;
  QLabel* end_period_label_;
  QStackedWidget* pages_;          ///< "Default" (dates) and "undated"
  QButtonGroup* frequency_;        ///< codes 1 to 5
  QButtonGroup* organisation_;     ///< 1 by variable, 2 by observation
  QButtonGroup* format_;           ///< 1 free, 2 fixed
};

}  // namespace zelvorin
