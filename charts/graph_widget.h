// The graph control: a widget that shows a graph model through the renderer, lays out its
// bottom labels whenever it is resized, copies itself to the clipboard (`DrawMode` 4) and
// opens its property pages (`PropertyPages` 2).
#pragma once

#include <QWidget>

#include "charts/graph_setup.h"

namespace charts {

class GraphWidget : public QWidget {
 public:
  explicit GraphWidget(QWidget* parent = nullptr);

  /// Shows `setup`'s graph.
  void set_graph(GraphSetup setup);
  const GraphSetup& graph() const { return setup_; }
  /// The control's properties; call `update()` after changing them.
  GraphModel& model() { return setup_.model; }
  const GraphModel& model() const { return setup_.model; }

  /// `DrawMode`: 2 redraws, 4 copies the graph to the clipboard as an image.
  void set_draw_mode(int mode);
  /// `PropertyPages`: 2 opens the graph tool bar (the property dialog), modally.
  void set_property_pages(int pages);

  QSize sizeHint() const override { return {640, 420}; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  GraphSetup setup_;  ///< the graph and the window's interpretation of its file
};

}  // namespace charts
