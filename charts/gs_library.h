// The drawing calls the graph windows add over a drawn graph: an x-y line (the histogram's
// density curve), a line in plot coordinates (the marker) and rotated text (the last
// label). They draw on the canvas the graph was drawn on, with its plot layout.
#pragma once

#include <QPointF>
#include <QString>

#include <span>
#include <vector>

#include "charts/canvas.h"
#include "charts/renderer.h"

namespace charts {

class GsLibrary {
 public:
  GsLibrary(Canvas& canvas, const PlotLayout& layout) : canvas_(canvas), layout_(layout) {}

  /// Sets the number of points of the next x-y line (one set).
  void GSDataDim(int points, int sets);
  /// Loads the values of the next x-y line (at most the dimensioned points are kept).
  void GSDataAmp(std::span<const double> values);
  /// The data range the line spans: x from `x0` to `x1` in the layout's x units; y values
  /// are taken on the layout's y scale.
  void GSDataScale(double x0, double x1);
  /// The line's pen.
  void GSDataPatt(const Pen& pen);
  /// Draws the loaded values as a line evenly spread over the data range, clipped to the
  /// plot area's height.
  void GSXYGraph();
  /// A line between two points given in data units (x on the layout's x scale).
  void GSLineAbs(double x0, double y0, double x1, double y1);
  /// `text` turned by `angle` degrees with its right end, centred, at `at` (canvas units).
  void GSRText(const QPointF& at, const QString& text, double angle);

 private:
  Canvas& canvas_;             ///< where the graph was drawn
  const PlotLayout& layout_;   ///< the graph's plot area and scales
  int points_ = 0;             ///< dimensioned points of the x-y line
  std::vector<double> values_; ///< loaded values
  double x0_ = 0.0, x1_ = 1.0; ///< data range of the line
  Pen pen_;                    ///< pen of the line
};

}  // namespace charts
