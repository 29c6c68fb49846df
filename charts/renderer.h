// The one renderer of graphs: draws a graph model onto any canvas (screen, printer,
// image, metafile, recording) and tells where it put the plot area and the axes.
#pragma once

#include <QRectF>

#include "charts/axis.h"
#include "charts/canvas.h"
#include "charts/graph_model.h"

namespace charts {

/// Where the plot went: the plot area and the axis scales that map data into it.
struct PlotLayout {
  QRectF plot;              ///< the plot area (inside the axes)
  AxisScale x;              ///< x scale; on a point axis the values are point numbers
  AxisScale y;              ///< y scale
  bool point_axis = true;   ///< x counts points (1..n) rather than x positions

  /// Canvas x of the data value `v` on the x scale.
  double map_x(double v) const;
  /// Canvas y of the data value `v` on the y scale.
  double map_y(double v) const;
};

/// Draws `model` filling `canvas` and its overlays over it. Cost O(points × sets).
PlotLayout render(const GraphModel& model, Canvas& canvas);

/// The pen of set `set` (from 0) as the model's pattern, colour and style settings make it;
/// `unit` is the canvas's line width unit.
Pen set_pen(const GraphModel& model, int set, double unit);

/// The line width unit of a canvas area: about one pixel on a screen-sized graph.
double line_unit(const QRectF& bounds);

}  // namespace charts
