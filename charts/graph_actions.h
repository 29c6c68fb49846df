// What both graph windows' buttons do alike: print, export to an image file, copy to the
// clipboard, and copy the plot file to a saved graph file.
#pragma once

#include <QString>

#include "charts/graph_services.h"
#include "charts/graph_widget.h"

namespace charts {

/// Writes a complete copy of the file `from` to `to` in blocks of 2048 bytes: the copy is
/// written beside `to` and renamed over it only once complete, so a failure leaves any old
/// `to` as it was. Returns false on any read or write error or when `is_writable_target`
/// refuses `to`. Cost O(file size).
bool copy_graph_file(const QString& from, const QString& to);

/// The Print button: the print dialog, then the graph on one page. Unless the ini asks for
/// greyscale, the graph prints in colour (`DrawStyle`, and `GraphStyle` too when
/// `switch_graph_style`, set to 0 for the print and restored). A printer that cannot be
/// opened gives "Couldn't open printer".
void print_graph(GraphWidget& graph, GraphServices& services, bool switch_graph_style);

/// The Image to file button: a save dialog with `filter`; a name whose extension is one of
/// `ImageKind`'s formats (.bmp, .wmf, .png, .jpg/.jpeg, .svg, .pdf) gets that picture at the
/// graph's size; any other name is printed on a printer the user sets up (switching styles
/// as `print_graph` does) to a PDF file named by `printer_file_name`. Failures are reported.
void export_graph_image(GraphWidget& graph, GraphServices& services, const QString& filter,
                        const QString& default_suffix, bool switch_graph_style);

/// The Copy button: the graph goes to the clipboard as an image.
void copy_graph(GraphWidget& graph);

}  // namespace charts
