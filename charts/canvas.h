// The surface a graph is drawn on. The renderer knows only this interface; its
// implementations draw through QPainter (screen, printer, images), write a Windows
// metafile, or record what was drawn (tests).
#pragma once

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <span>

namespace charts {

/// Dash patterns of lines, in the order the pattern codes count them.
enum class Dash { kSolid = 0, kDash = 1, kDot = 2, kDashDot = 3, kDashDotDot = 4 };

/// How lines are drawn.
struct Pen {
  QColor color = Qt::black;  ///< line colour
  double width = 1.0;        ///< width in canvas units
  Dash dash = Dash::kSolid;  ///< dash pattern
};

/// How areas are filled; an invalid colour leaves them empty.
struct Fill {
  QColor color;  ///< fill colour, invalid for none
};

/// The text styles of a graph.
enum class TextRole { kTitle, kAxisTitle, kTickLabel, kLegend };

/// Where a text's anchor point lies on the text's box.
enum class HAlign { kLeft, kCenter, kRight };
enum class VAlign { kTop, kCenter, kBottom };

/// A drawing surface measured in its own units (pixels, printer dots, metafile units).
class Canvas {
 public:
  virtual ~Canvas() = default;
  /// The full drawing area; (0, 0) is the top left corner.
  virtual QRectF bounds() const = 0;
  /// Sets the base font size in points (`FontSize`); the text roles scale from it.
  virtual void set_font_size(double points) = 0;
  /// Size of `text` in `role`'s font, unrotated.
  virtual QSizeF text_size(const QString& text, TextRole role) const = 0;
  /// Nominal height of `role`'s font (its line spacing).
  virtual double font_height(TextRole role) const = 0;

  virtual void set_pen(const Pen& pen) = 0;
  virtual void set_fill(const Fill& fill) = 0;
  /// A connected line through `points` (at least two).
  virtual void polyline(std::span<const QPointF> points) = 0;
  /// A rectangle outlined with the pen and filled with the fill.
  virtual void rect(const QRectF& r) = 0;
  /// An ellipse in `r`, outlined and filled.
  virtual void ellipse(const QRectF& r) = 0;
  /// `text` in `role`'s font, placed so that its anchor (`h`, `v`) lies at `at`; `angle`
  /// in degrees turns it counter-clockwise about that point (90: reading upwards).
  virtual void text(const QPointF& at, const QString& text, TextRole role, HAlign h, VAlign v,
                    double angle = 0.0) = 0;

  /// A straight line from `a` to `b`.
  void line(const QPointF& a, const QPointF& b) {
    const QPointF pts[] = {a, b};
    polyline(pts);
  }
};

}  // namespace charts
