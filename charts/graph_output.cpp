#include "charts/graph_output.h"

#include <QFile>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>

#include "charts/painter_canvas.h"
#include "charts/renderer.h"
#include "charts/wmf_canvas.h"

namespace charts {

QImage render_image(const GraphModel& model, QSize size) {
  QImage image(size.expandedTo({1, 1}), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PainterCanvas canvas(painter, QRectF(QPointF(0, 0), image.size()));
  render(model, canvas);
  return image;
}

QByteArray render_wmf(const GraphModel& model, QSize size) {
  WmfCanvas canvas(size.width(), size.height());
  render(model, canvas);
  return canvas.bytes();
}

bool GSPicWrite(const GraphModel& model, const QString& path, int format, QSize size) {
  if (format != kPicWmf && format != kPicBmp) return false;
  // Written beside the target and renamed over it: an old file survives a failed write.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  if (format == kPicWmf) {
    const QByteArray bytes = render_wmf(model, size);
    if (file.write(bytes) != bytes.size()) {
      file.cancelWriting();
      return false;
    }
  } else if (!render_image(model, size).convertToFormat(QImage::Format_RGB888).save(&file, "BMP")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QRectF print_area(double page_width, double page_height, double aspect) {
  aspect = std::max(0.05, aspect);
  double width = 0.85 * page_width;
  double height = width / aspect;
  if (height > 0.85 * page_height) {  // a tall window: keep the shape, centred
    height = 0.85 * page_height;
    width = height * aspect;
  }
  const double bottom = 0.925 * page_height;
  return {(page_width - width) / 2, bottom - height, width, height};
}

bool print_graph(const GraphModel& model, QPrinter& printer, double aspect) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  PainterCanvas canvas(painter, print_area(page.width(), page.height(), aspect));
  render(model, canvas);
  return painter.end();
}

}  // namespace charts
