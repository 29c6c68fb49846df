#include "charts/painter_canvas.h"

#include <QFontMetricsF>
#include <QPen>

#include "charts/fonts.h"

namespace charts {

PainterCanvas::PainterCanvas(QPainter& painter, const QRectF& area) : painter_(painter), area_(area) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
}

QFont PainterCanvas::font(TextRole role) const {
  // Point sizes follow the device's resolution: a printed graph keeps its type size.
  return QFont(role_font(role, points_), painter_.device());
}

QSizeF PainterCanvas::text_size(const QString& text, TextRole role) const {
  const QFontMetricsF fm(font(role), painter_.device());
  return {fm.horizontalAdvance(text), fm.height()};
}

double PainterCanvas::font_height(TextRole role) const {
  return QFontMetricsF(font(role), painter_.device()).height();
}

void PainterCanvas::set_pen(const Pen& pen) {
  QPen p(pen.color);
  p.setWidthF(pen.width);
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::RoundJoin);
  static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                        Qt::DashDotDotLine};
  p.setStyle(styles[static_cast<int>(pen.dash)]);
  painter_.setPen(pen.width <= 0.0 ? QPen(Qt::NoPen) : p);
}

void PainterCanvas::set_fill(const Fill& fill) {
  painter_.setBrush(fill.color.isValid() ? QBrush(fill.color) : QBrush(Qt::NoBrush));
}

void PainterCanvas::polyline(std::span<const QPointF> points) {
  painter_.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void PainterCanvas::rect(const QRectF& r) { painter_.drawRect(r); }

void PainterCanvas::ellipse(const QRectF& r) { painter_.drawEllipse(r); }

void PainterCanvas::text(const QPointF& at, const QString& text, TextRole role, HAlign h, VAlign v,
                         double angle) {
  const QFont f = font(role);
  const QFontMetricsF fm(f, painter_.device());
  const double w = fm.horizontalAdvance(text);
  const double dx = h == HAlign::kLeft ? 0.0 : h == HAlign::kCenter ? -w / 2 : -w;
  const double dy = v == VAlign::kTop ? fm.ascent() : v == VAlign::kCenter ? (fm.ascent() - fm.descent()) / 2
                                                                              : -fm.descent();
  painter_.save();
  painter_.setFont(f);
  painter_.setPen(Qt::black);
  painter_.translate(at);
  painter_.rotate(-angle);
  painter_.drawText(QPointF(dx, dy), text);
  painter_.restore();
}

}  // namespace charts
