// A canvas that draws through QPainter: the screen, printers, PDF files and images.
#pragma once

#include <QPainter>

#include "charts/canvas.h"

namespace charts {

class PainterCanvas final : public Canvas {
 public:
  /// Draws into `area` of the painter's device; the painter must stay active meanwhile.
  PainterCanvas(QPainter& painter, const QRectF& area);

  QRectF bounds() const override { return area_; }
  void set_font_size(double points) override { points_ = points; }
  QSizeF text_size(const QString& text, TextRole role) const override;
  double font_height(TextRole role) const override;
  void set_pen(const Pen& pen) override;
  void set_fill(const Fill& fill) override;
  void polyline(std::span<const QPointF> points) override;
  void rect(const QRectF& r) override;
  void ellipse(const QRectF& r) override;
  void text(const QPointF& at, const QString& text, TextRole role, HAlign h, VAlign v,
            double angle) override;

 private:
  QFont font(TextRole role) const;

  QPainter& painter_;   ///< the active painter
  QRectF area_;         ///< the area to fill
  double points_ = 9;   ///< base font size
};

}  // namespace charts
