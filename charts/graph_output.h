// Graph output: images, Windows metafiles, bitmaps, SVG drawings, PDF pages and printed
// pages, all drawn by the one renderer.
#pragma once

#include <QImage>
#include <QPrinter>
#include <QSize>
#include <QString>

#include "charts/graph_model.h"

namespace charts {

/// `GSPicWrite` formats.
enum PicFormat : int { kPicWmf = 3, kPicBmp = 4 };

/// The graph drawn on a white image of `size`, with `pixel_ratio` device pixels to each
/// unit of `size` (the screen's ratio gives a picture as sharp as the window).
QImage render_image(const GraphModel& model, QSize size, double pixel_ratio = 1.0);

/// The graph as a placeable Windows metafile of `size` units (1/96 inch).
QByteArray render_wmf(const GraphModel& model, QSize size);

/// Writes the graph to `path` as a .BMP (format 4) or .WMF (format 3) picture of `size`.
/// Returns false when the format is unknown or the file cannot be written completely.
bool GSPicWrite(const GraphModel& model, const QString& path, int format, QSize size);

/// The pictures "Image to file" writes, chosen by the file name's extension.
enum class ImageKind {
  kBmp,          ///< ".BMP": a bitmap (`GSPicWrite` format 4)
  kWmf,          ///< ".WMF": a placeable Windows metafile (`GSPicWrite` format 3)
  kPng,          ///< ".png": a PNG image
  kJpeg,         ///< ".jpg", ".jpeg": a JPEG image
  kSvg,          ///< ".svg": an SVG drawing
  kPdf,          ///< ".pdf": one PDF page the size of the graph, in vector form
  kPrinterFile,  ///< any other name: printed to a file on a printer the user sets up
};

/// The kind for `file_name`, any letter case. As the charting library did, ".BMP" and
/// ".WMF" are recognised on the extension's first three letters (".bmpx" is a bitmap); the
/// other formats need their whole extension.
ImageKind image_kind(const QString& file_name);

/// False when a folder, FIFO, socket or device (or a link to one) stands at `path`: a
/// graph file, image or printer file is never written there.
bool is_writable_target(const QString& path);

/// Writes the graph to `path` as `kind` (not `kPrinterFile`) at `size` units of 1/96 inch;
/// images get `pixel_ratio` pixels to the unit. The file is written beside `path` and
/// renamed over it once complete. Returns false when it could not be written or
/// `is_writable_target` refuses `path`.
bool write_image(const GraphModel& model, const QString& path, ImageKind kind, QSize size,
                 double pixel_ratio = 1.0);

/// The file a printer writes for the name `chosen`: printers here write PDF, so the name
/// gets ".pdf" added and says what the file holds.
QString printer_file_name(const QString& chosen);

/// The area of a printed page the graph takes: the page's width less 15 % (left margin
/// 7.5 %), the height that keeps `aspect` (width / height), at most 85 % of the page, with
/// its bottom at 92.5 % of the page.
QRectF print_area(double page_width, double page_height, double aspect);

/// Prints the graph on one page of `printer` in `print_area`. Returns false when the
/// printer cannot be opened, or writes to a file `is_writable_target` refuses.
bool print_graph(const GraphModel& model, QPrinter& printer, double aspect);

}  // namespace charts
