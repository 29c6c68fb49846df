// A canvas that writes a placeable Windows metafile: pens, brushes and fonts as objects,
// lines, rectangles, ellipses and (rotated) text, in units of 1/96 inch.
#pragma once

#include <QByteArray>
#include <QFont>

#include <cstdint>
#include <vector>

#include "charts/canvas.h"

namespace charts {

class WmfCanvas final : public Canvas {
 public:
  /// A metafile of `width` × `height` units (clamped to 1..32000).
  WmfCanvas(int width, int height);

  QRectF bounds() const override { return {0, 0, double(width_), double(height_)}; }
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

  /// The whole file: placeable header, metafile header, the records and the end record.
  QByteArray bytes() const;

 private:
  QFont font(TextRole role) const;
  void record(uint16_t function, const std::vector<uint16_t>& params);
  /// Creates an object by `function` and selects it in place of the previous one of its slot.
  void replace_object(int& slot, uint16_t function, const std::vector<uint16_t>& params);
  /// Records a background mode change (1 transparent, 2 opaque) when `mode` is new.
  void set_background_mode(uint16_t mode);

  int width_, height_;             ///< extent in units
  double points_ = 9;              ///< base font size
  std::vector<uint16_t> words_;    ///< the records so far
  uint32_t max_record_ = 0;        ///< largest record in words
  std::vector<bool> objects_;      ///< object table slots in use
  std::size_t max_objects_ = 0;    ///< most slots ever in use
  int pen_ = -1, brush_ = -1, font_ = -1;  ///< selected objects' slots
  bool filled_ = true;             ///< the selected brush fills (else the null brush)
  uint16_t background_mode_ = 0;   ///< the background mode recorded last (0: none yet)
};

}  // namespace charts
