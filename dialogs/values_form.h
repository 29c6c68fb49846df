// "Initial values": a two-column grid of parameter names and their values. OK is refused,
// with a beep and the bad cell selected, while a value is not a number.
#pragma once

#include <QStringList>
#include <vector>

#include "dialogs/form.h"

class QTableWidget;

namespace pravel {

/// Height of the form for n rows of the given height: row height × n + 300, at most the
/// screen height - 200.
int values_form_height(int row_height, int count, int screen_height);

class ValuesForm : public Form {
  Q_OBJECT
 public:
  ValuesForm(QWidget* parent, const QString& message, const QStringList& names,
             const std::vector<double>& values);

  /// The values as typed; only meaningful after OK.
  std::vector<double> values() const;
  QTableWidget* grid() const { return grid_; }

 private:
  void try_ok();

  QTableWidget* grid_;  ///< "Parameters" and "Estimates"
};

}  // namespace pravel
