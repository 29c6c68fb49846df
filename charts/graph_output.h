// Graph output: images, Windows metafiles, bitmaps and printed pages, all drawn by the
// one renderer.
#pragma once

#include <QImage>
#include <QPrinter>
#include <QSize>
#include <QString>

#include "charts/graph_model.h"

namespace charts {

/// `GSPicWrite` formats.
enum PicFormat : int { kPicWmf = 3, kPicBmp = 4 };

/// The graph drawn on a white image of `size`.
QImage render_image(const GraphModel& model, QSize size);

/// The graph as a placeable Windows metafile of `size` units (1/96 inch).
QByteArray render_wmf(const GraphModel& model, QSize size);

/// Writes the graph to `path` as a .BMP (format 4) or .WMF (format 3) picture of `size`.
/// Returns false when the format is unknown or the file cannot be written completely.
bool GSPicWrite(const GraphModel& model, const QString& path, int format, QSize size);

/// The area of a printed page the graph takes: the page's width less 15 % (left margin
/// 7.5 %), the height that keeps `aspect` (width / height), at most 85 % of the page, with
/// its bottom at 92.5 % of the page.
QRectF print_area(double page_width, double page_height, double aspect);

/// Prints the graph on one page of `printer` in `print_area`. Returns false when the
/// printer cannot be opened.
bool print_graph(const GraphModel& model, QPrinter& printer, double aspect);

}  // namespace charts
