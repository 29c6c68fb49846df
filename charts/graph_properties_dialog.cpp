#include "charts/graph_properties_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace charts {

GraphPropertiesDialog::GraphPropertiesDialog(const GraphModel& m, QWidget* parent) : QDialog(parent) {
  setObjectName("GraphProperties");
  setWindowTitle(tr("Graph properties"));
  auto* form = new QFormLayout;
  title_ = new QLineEdit(m.graph_title);
  bottom_ = new QLineEdit(m.bottom_title);
  left_ = new QLineEdit(m.left_title);
  type_ = new QComboBox;
  type_->addItem(tr("Lines"), kLineGraph);
  type_->addItem(tr("Bars"), kBarGraph);
  type_->addItem(tr("Points"), kScatterGraph);
  type_->setCurrentIndex(type_->findData(m.graph_type));
  patterned_ = new QCheckBox(tr("Dash patterns instead of line widths"));
  patterned_->setChecked(m.patterned_lines);
  mono_ = new QCheckBox(tr("Black and white"));
  mono_->setChecked(m.draw_style == 1);
  grid_ = new QCheckBox(tr("Grid lines"));
  grid_->setChecked(m.graph_style == 0);
  legend_ = new QCheckBox(tr("Legend"));
  legend_->setChecked(m.legend_pos != 0);
  font_ = new QSpinBox;
  font_->setRange(50, 300);
  font_->setSuffix(" %");
  font_->setValue(static_cast<int>(m.font_size));
  title_->setObjectName("title");
  type_->setObjectName("type");
  mono_->setObjectName("mono");
  form->addRow(tr("Title"), title_);
  form->addRow(tr("Bottom title"), bottom_);
  form->addRow(tr("Left title"), left_);
  form->addRow(tr("Graph type"), type_);
  form->addRow(tr("Text size"), font_);
  form->addRow(patterned_);
  form->addRow(mono_);
  form->addRow(grid_);
  form->addRow(legend_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void GraphPropertiesDialog::apply(GraphModel& m) const {
  m.graph_title = title_->text();
  m.bottom_title = bottom_->text();
  m.left_title = left_->text();
  m.graph_type = type_->currentData().toInt();
  if (patterned_->isChecked() != m.patterned_lines) {
    // Switching keeps each set's place in the other scheme's order.
    m.patterned_lines = patterned_->isChecked();
    m.thick_lines = !m.patterned_lines;
    for (int s = 0; s < m.num_sets(); ++s) m.sets[s].pattern = m.patterned_lines ? s % 5 : (s == 0 ? 2 : 1);
  }
  m.draw_style = mono_->isChecked() ? 1 : 0;
  m.graph_style = grid_->isChecked() ? 0 : 1;
  m.legend_pos = legend_->isChecked() ? 5 : 0;
  m.font_size = font_->value();
}

}  // namespace charts
