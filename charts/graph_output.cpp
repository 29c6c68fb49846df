#include "charts/graph_output.h"

#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>

#include "charts/painter_canvas.h"
#include "charts/renderer.h"
#include "charts/wmf_canvas.h"
#include "shared/file_reading.h"

namespace charts {

QImage render_image(const GraphModel& model, QSize size, double pixel_ratio) {
  size = size.expandedTo({1, 1});
  pixel_ratio = std::max(1.0, pixel_ratio);
  QImage image(size * pixel_ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(pixel_ratio);
  image.fill(Qt::white);
  QPainter painter(&image);
  PainterCanvas canvas(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  render(model, canvas);
  return image;
}

QByteArray render_wmf(const GraphModel& model, QSize size) {
  WmfCanvas canvas(size.width(), size.height());
  render(model, canvas);
  return canvas.bytes();
}

ImageKind image_kind(const QString& file_name) {
  const QString suffix = QFileInfo(file_name).suffix().toLower();
  if (suffix.left(3) == QLatin1String("bmp")) return ImageKind::kBmp;
  if (suffix.left(3) == QLatin1String("wmf")) return ImageKind::kWmf;
  if (suffix == QLatin1String("png")) return ImageKind::kPng;
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) return ImageKind::kJpeg;
  if (suffix == QLatin1String("svg")) return ImageKind::kSvg;
  if (suffix == QLatin1String("pdf")) return ImageKind::kPdf;
  return ImageKind::kPrinterFile;
}

QString printer_file_name(const QString& chosen) { return chosen + QStringLiteral(".pdf"); }

namespace {

/// Draws the graph on a painter device whose drawing area is `size` units.
bool paint_on(const GraphModel& model, QPaintDevice& device, QSize size) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  PainterCanvas canvas(painter, QRectF(QPointF(0, 0), QSizeF(size)));
  render(model, canvas);
  return painter.end();
}

bool write_svg(const GraphModel& model, QIODevice& out, QSize size) {
  QSvgGenerator svg;
  svg.setOutputDevice(&out);
  svg.setResolution(96);  // one unit is one screen pixel, as in the window
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(model.graph_title.trimmed());
  svg.setDescription(QStringLiteral("Zelvorin graph"));
  return paint_on(model, svg, size);
}

bool write_pdf(const GraphModel& model, QIODevice& out, QSize size) {
  QPdfWriter pdf(&out);
  pdf.setResolution(96);
  pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point, QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setTitle(model.graph_title.trimmed());
  pdf.setCreator(QStringLiteral("Zelvorin"));
  return paint_on(model, pdf, size);
}

}  // namespace

bool is_writable_target(const QString& path) {
  return file_reading::writable_target(QFile::encodeName(path).toStdString()) == file_reading::Failure::kNone;
}

bool write_image(const GraphModel& model, const QString& path, ImageKind kind, QSize size, double pixel_ratio) {
  size = size.expandedTo({1, 1});
  if (!is_writable_target(path)) return false;
  // Written beside the target and renamed over it: an old file survives a failed write.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  bool ok = false;
  switch (kind) {
    case ImageKind::kWmf: {
      const QByteArray bytes = render_wmf(model, size);
      ok = file.write(bytes) == bytes.size();
      break;
    }
    case ImageKind::kBmp:
      ok = render_image(model, size).convertToFormat(QImage::Format_RGB888).save(&file, "BMP");
      break;
    case ImageKind::kPng: ok = render_image(model, size, pixel_ratio).save(&file, "PNG"); break;
    case ImageKind::kJpeg: ok = render_image(model, size, pixel_ratio).save(&file, "JPEG", 92); break;
    case ImageKind::kSvg: ok = write_svg(model, file, size); break;
    case ImageKind::kPdf: ok = write_pdf(model, file, size); break;
    case ImageKind::kPrinterFile: break;
  }
  if (!ok) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool GSPicWrite(const GraphModel& model, const QString& path, int format, QSize size) {
  if (format != kPicWmf && format != kPicBmp) return false;
  return write_image(model, path, format == kPicWmf ? ImageKind::kWmf : ImageKind::kBmp, size);
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
  // A printer writing to a file never waits on a FIFO nor writes into a device.
  if (!printer.outputFileName().isEmpty() && !is_writable_target(printer.outputFileName())) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRect page = painter.viewport();
  PainterCanvas canvas(painter, print_area(page.width(), page.height(), aspect));
  render(model, canvas);
  return painter.end();
}

}  // namespace charts
