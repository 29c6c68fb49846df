#include "charts/wmf_canvas.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

#include "charts/fonts.h"

namespace charts {

namespace {

constexpr uint16_t kSetBkMode = 0x0102, kSetWindowOrg = 0x020B, kSetWindowExt = 0x020C,
                   kSetTextColor = 0x0209, kSetTextAlign = 0x012E, kSelectObject = 0x012D,
                   kDeleteObject = 0x01F0, kCreatePen = 0x02FA, kCreateBrush = 0x02FC,
                   kCreateFont = 0x02FB, kMoveTo = 0x0214, kLineTo = 0x0213, kRectangle = 0x041B,
                   kEllipse = 0x0418, kTextOut = 0x0521, kEof = 0x0000;
constexpr uint16_t kTransparent = 1, kOpaque = 2;  // background modes
constexpr double kUnitsPerInch = 96.0;

uint16_t coord(double v) {
  return static_cast<uint16_t>(static_cast<int16_t>(std::clamp(std::lround(v), -32000L, 32000L)));
}

void put_color(std::vector<uint16_t>& p, const QColor& c) {
  p.push_back(static_cast<uint16_t>(c.red() | (c.green() << 8)));
  p.push_back(static_cast<uint16_t>(c.blue()));
}

void put_bytes(std::vector<uint16_t>& p, const QByteArray& bytes) {
  for (qsizetype i = 0; i < bytes.size(); i += 2) {
    const auto lo = static_cast<uint8_t>(bytes[i]);
    const auto hi = i + 1 < bytes.size() ? static_cast<uint8_t>(bytes[i + 1]) : 0;
    p.push_back(static_cast<uint16_t>(lo | (hi << 8)));
  }
}

void put_le16(QByteArray& out, uint16_t v) {
  out.append(static_cast<char>(v & 0xFF));
  out.append(static_cast<char>(v >> 8));
}

void put_le32(QByteArray& out, uint32_t v) {
  put_le16(out, static_cast<uint16_t>(v & 0xFFFF));
  put_le16(out, static_cast<uint16_t>(v >> 16));
}

}  // namespace

WmfCanvas::WmfCanvas(int width, int height)
    : width_(std::clamp(width, 1, 32000)), height_(std::clamp(height, 1, 32000)) {
  record(kSetWindowOrg, {0, 0});
  record(kSetWindowExt, {static_cast<uint16_t>(height_), static_cast<uint16_t>(width_)});
  set_background_mode(kTransparent);
  record(kSetTextColor, {0, 0});
}

QFont WmfCanvas::font(TextRole role) const {
  QFont f = role_font(role, points_);
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pointSizeF() * kUnitsPerInch / 72.0))));
  return f;
}

QSizeF WmfCanvas::text_size(const QString& text, TextRole role) const {
  const QFontMetricsF fm(font(role));
  return {fm.horizontalAdvance(text), fm.height()};
}

double WmfCanvas::font_height(TextRole role) const { return QFontMetricsF(font(role)).height(); }

void WmfCanvas::record(uint16_t function, const std::vector<uint16_t>& params) {
  const auto size = static_cast<uint32_t>(3 + params.size());
  words_.push_back(static_cast<uint16_t>(size & 0xFFFF));
  words_.push_back(static_cast<uint16_t>(size >> 16));
  words_.push_back(function);
  words_.insert(words_.end(), params.begin(), params.end());
  max_record_ = std::max(max_record_, size);
}

void WmfCanvas::replace_object(int& slot, uint16_t function, const std::vector<uint16_t>& params) {
  record(function, params);
  // A new object takes the lowest free slot of the object table.
  const auto free = std::find(objects_.begin(), objects_.end(), false);
  const int index = static_cast<int>(free - objects_.begin());
  if (free == objects_.end()) objects_.push_back(true); else *free = true;
  max_objects_ = std::max(max_objects_, objects_.size());
  record(kSelectObject, {static_cast<uint16_t>(index)});
  if (slot >= 0) {
    record(kDeleteObject, {static_cast<uint16_t>(slot)});
    objects_[slot] = false;
  }
  slot = index;
}

void WmfCanvas::set_pen(const Pen& pen) {
  std::vector<uint16_t> p;
  p.push_back(pen.width <= 0.0 ? 5 : static_cast<uint16_t>(pen.dash));  // 5: no pen
  p.push_back(pen.dash == Dash::kSolid ? coord(std::max(1.0, pen.width)) : 1);
  p.push_back(0);
  put_color(p, pen.color);
  replace_object(pen_, kCreatePen, p);
}

void WmfCanvas::set_fill(const Fill& fill) {
  std::vector<uint16_t> p;
  filled_ = fill.color.isValid();
  p.push_back(filled_ ? 0 : 1);  // solid, or hollow (the null brush)
  put_color(p, fill.color.isValid() ? fill.color : QColor(Qt::white));
  p.push_back(0);
  replace_object(brush_, kCreateBrush, p);
}

void WmfCanvas::set_background_mode(uint16_t mode) {
  if (mode == background_mode_) return;
  record(kSetBkMode, {mode});
  background_mode_ = mode;
}

void WmfCanvas::polyline(std::span<const QPointF> points) {
  // Lines go out as a move and line segments, never as polylines: readers such as libwmf
  // fill a polyline as if it were a closed shape, whatever brush is selected.
  if (points.size() < 2) return;
  set_background_mode(kTransparent);  // dashes show what lies beneath their gaps
  record(kMoveTo, {coord(points[0].y()), coord(points[0].x())});
  for (std::size_t i = 1; i < points.size(); ++i) record(kLineTo, {coord(points[i].y()), coord(points[i].x())});
}

void WmfCanvas::rect(const QRectF& r) {
  // Filled shapes are drawn in opaque mode, which readers take as a fully opaque fill.
  set_background_mode(filled_ ? kOpaque : kTransparent);
  record(kRectangle, {coord(r.bottom()), coord(r.right()), coord(r.top()), coord(r.left())});
}

void WmfCanvas::ellipse(const QRectF& r) {
  set_background_mode(filled_ ? kOpaque : kTransparent);
  record(kEllipse, {coord(r.bottom()), coord(r.right()), coord(r.top()), coord(r.left())});
}

void WmfCanvas::text(const QPointF& at, const QString& text, TextRole role, HAlign h, VAlign v,
                     double angle) {
  const QFont f = font(role);
  const QFontMetricsF fm(f);
  // Offset of the text's top left corner from the anchor, in the text's own frame, then
  // turned with the text.
  const double w = fm.horizontalAdvance(text), ht = fm.height();
  const double dx = h == HAlign::kLeft ? 0.0 : h == HAlign::kCenter ? -w / 2 : -w;
  const double dy = v == VAlign::kTop ? 0.0 : v == VAlign::kCenter ? -ht / 2 : -ht;
  const double a = angle * M_PI / 180.0;
  const QPointF corner(at.x() + dx * std::cos(a) + dy * std::sin(a), at.y() - dx * std::sin(a) + dy * std::cos(a));

  std::vector<uint16_t> p;
  p.push_back(coord(-f.pixelSize()));  // character height
  p.push_back(0);
  p.push_back(coord(angle * 10));      // escapement
  p.push_back(coord(angle * 10));      // orientation
  p.push_back(static_cast<uint16_t>(f.bold() ? 700 : 400));
  put_bytes(p, QByteArray("\0\0\0\0\0\0\x04\x22", 8));  // italic .. charset 0, quality, swiss family
  QByteArray face = QByteArray("DejaVu Sans").left(31);
  face.append('\0');
  put_bytes(p, face);
  replace_object(font_, kCreateFont, p);
  set_background_mode(kTransparent);  // no box behind the text
  record(kSetTextAlign, {0});  // left, top

  const QByteArray bytes = text.toLatin1();
  std::vector<uint16_t> t{static_cast<uint16_t>(bytes.size())};
  put_bytes(t, bytes);
  t.push_back(coord(corner.y()));
  t.push_back(coord(corner.x()));
  record(kTextOut, t);
}

QByteArray WmfCanvas::bytes() const {
  std::vector<uint16_t> body = words_;
  body.insert(body.end(), {3, 0, kEof});
  QByteArray out;
  // Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
  const uint16_t head[10] = {0xCDD7, 0x9AC6, 0, 0, 0, static_cast<uint16_t>(width_),
                             static_cast<uint16_t>(height_), static_cast<uint16_t>(kUnitsPerInch), 0, 0};
  uint16_t checksum = 0;
  for (uint16_t w : head) {
    put_le16(out, w);
    checksum ^= w;
  }
  put_le16(out, checksum);
  // Metafile header: in memory, 9 words, version 3.0, size in words, objects, largest record.
  const uint32_t total = 9 + static_cast<uint32_t>(body.size());
  put_le16(out, 1);
  put_le16(out, 9);
  put_le16(out, 0x0300);
  put_le32(out, total);
  put_le16(out, static_cast<uint16_t>(std::max<std::size_t>(max_objects_, 1)));
  put_le32(out, std::max<uint32_t>(max_record_, 3));
  put_le16(out, 0);
  for (uint16_t w : body) put_le16(out, w);
  return out;
}

}  // namespace charts
