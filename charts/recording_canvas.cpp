#include "charts/recording_canvas.h"

#include "charts/fonts.h"

namespace charts {

double RecordingCanvas::pixels(TextRole role) const {
  return role_font(role, points_).pointSizeF() * 96.0 / 72.0;
}

QSizeF RecordingCanvas::text_size(const QString& text, TextRole role) const {
  return {0.6 * pixels(role) * text.size(), 1.2 * pixels(role)};
}

double RecordingCanvas::font_height(TextRole role) const { return 1.2 * pixels(role); }

void RecordingCanvas::polyline(std::span<const QPointF> points) {
  Recorded r;
  r.op = Recorded::Op::kPolyline;
  r.points.assign(points.begin(), points.end());
  r.pen = pen_;
  calls_.push_back(std::move(r));
}

void RecordingCanvas::rect(const QRectF& box) { record_shape(Recorded::Op::kRect, box); }

void RecordingCanvas::ellipse(const QRectF& box) { record_shape(Recorded::Op::kEllipse, box); }

void RecordingCanvas::record_shape(Recorded::Op op, const QRectF& box) {
  Recorded r;
  r.op = op;
  r.rect = box;
  r.pen = pen_;
  r.fill = fill_;
  calls_.push_back(std::move(r));
}

void RecordingCanvas::text(const QPointF& at, const QString& text, TextRole role, HAlign h, VAlign v,
                           double angle) {
  Recorded r;
  r.op = Recorded::Op::kText;
  r.at = at;
  r.text = text;
  r.role = role;
  r.h = h;
  r.v = v;
  r.angle = angle;
  r.pen = pen_;
  calls_.push_back(std::move(r));
}

std::vector<Recorded> RecordingCanvas::of(Recorded::Op op) const {
  std::vector<Recorded> out;
  for (const Recorded& r : calls_)
    if (r.op == op) out.push_back(r);
  return out;
}

std::vector<Recorded> RecordingCanvas::texts(TextRole role) const {
  std::vector<Recorded> out;
  for (const Recorded& r : calls_)
    if (r.op == Recorded::Op::kText && r.role == role) out.push_back(r);
  return out;
}

}  // namespace charts
