// The graph tool bar: a dialog over the graph's titles, type, line patterns, colours,
// grid, legend and text size.
#pragma once

#include <QDialog>

#include "charts/graph_model.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace charts {

class GraphPropertiesDialog : public QDialog {
 public:
  /// A dialog showing `model`'s current settings.
  GraphPropertiesDialog(const GraphModel& model, QWidget* parent = nullptr);
  /// Writes the dialog's settings into `model`.
  void apply(GraphModel& model) const;

 private:
  QLineEdit* title_;      ///< `GraphTitle`
  QLineEdit* bottom_;     ///< `BottomTitle`
  QLineEdit* left_;       ///< `LeftTitle`
  QComboBox* type_;       ///< `GraphType`
  QCheckBox* patterned_;  ///< `PatternedLines`
  QCheckBox* mono_;       ///< `DrawStyle` 1
  QCheckBox* grid_;       ///< `GraphStyle` 0
  QCheckBox* legend_;     ///< `LegendPos` other than 0
  QSpinBox* font_;        ///< `FontSize`
};

}  // namespace charts
