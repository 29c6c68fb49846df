// A canvas that records what is drawn, with fixed text metrics, so that tests can look at
// the drawing: the polylines, rectangles, symbols and texts with their places and pens.
#pragma once

#include <vector>

#include "charts/canvas.h"

namespace charts {

/// One drawing call.
struct Recorded {
  enum class Op { kPolyline, kRect, kEllipse, kText };
  Op op = Op::kPolyline;        ///< what was drawn
  std::vector<QPointF> points;  ///< polyline points
  QRectF rect;                  ///< rectangle or ellipse box
  QPointF at;                   ///< text anchor
  QString text;                 ///< text drawn
  TextRole role = TextRole::kTickLabel;  ///< text style
  HAlign h = HAlign::kLeft;     ///< text anchor, horizontally
  VAlign v = VAlign::kTop;      ///< text anchor, vertically
  double angle = 0.0;           ///< text rotation, degrees counter-clockwise
  Pen pen;                      ///< pen at the time of the call
  Fill fill;                    ///< fill at the time of the call
};

class RecordingCanvas final : public Canvas {
 public:
  explicit RecordingCanvas(const QRectF& bounds) : bounds_(bounds) {}

  QRectF bounds() const override { return bounds_; }
  void set_font_size(double points) override { points_ = points; }
  /// Every character is 0.6 of the font's pixel size wide; lines are 1.2 of it high.
  QSizeF text_size(const QString& text, TextRole role) const override;
  double font_height(TextRole role) const override;
  void set_pen(const Pen& pen) override { pen_ = pen; }
  void set_fill(const Fill& fill) override { fill_ = fill; }
  void polyline(std::span<const QPointF> points) override;
  void rect(const QRectF& r) override;
  void ellipse(const QRectF& r) override;
  void text(const QPointF& at, const QString& text, TextRole role, HAlign h, VAlign v,
            double angle) override;

  const std::vector<Recorded>& calls() const { return calls_; }
  /// The recorded calls of one kind.
  std::vector<Recorded> of(Recorded::Op op) const;
  /// The recorded texts in `role`.
  std::vector<Recorded> texts(TextRole role) const;

 private:
  /// Records a rectangle or an ellipse in `box` with the current pen and fill.
  void record_shape(Recorded::Op op, const QRectF& box);
  double pixels(TextRole role) const;

  QRectF bounds_;                ///< the drawing area
  double points_ = 9;            ///< base font size
  Pen pen_;                      ///< current pen
  Fill fill_;                    ///< current fill
  std::vector<Recorded> calls_;  ///< everything drawn, in order
};

}  // namespace charts
