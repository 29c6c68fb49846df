#include "charts/graph_widget.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>

#include "charts/graph_output.h"
#include "charts/graph_properties_dialog.h"
#include "charts/painter_canvas.h"
#include "charts/renderer.h"

namespace charts {

GraphWidget::GraphWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(200, 150);
}

void GraphWidget::set_graph(GraphSetup setup) {
  setup_ = std::move(setup);
  lay_out_labels(setup_, width());
  update();
}

void GraphWidget::set_draw_mode(int mode) {
  if (mode == 4) {
    QApplication::clipboard()->setImage(render_image(setup_.model, size()));
  } else if (mode == 2) {
    update();
  }
}

void GraphWidget::set_property_pages(int pages) {
  if (pages != 2) return;
  GraphPropertiesDialog dialog(setup_.model, this);
  if (dialog.exec() == QDialog::Accepted) {
    dialog.apply(setup_.model);
    lay_out_labels(setup_, width());
  }
  update();
}

void GraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PainterCanvas canvas(painter, rect());
  charts::render(setup_.model, canvas);
}

void GraphWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  lay_out_labels(setup_, width());
}

}  // namespace charts
