#include "charts/graph_actions.h"

#include <QFile>
#include <QPrinter>
#include <QSaveFile>

#include "charts/graph_output.h"

namespace charts {

bool copy_graph_file(const QString& from, const QString& to) {
  if (!is_writable_target(to)) return false;
  QFile in(from);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QSaveFile out(to);
  if (!out.open(QIODevice::WriteOnly)) return false;
  char block[2048];
  for (;;) {
    const qint64 n = in.read(block, sizeof block);
    if (n < 0 || (n > 0 && out.write(block, n) != n)) {
      out.cancelWriting();
      return false;
    }
    if (n < static_cast<qint64>(sizeof block)) break;  // a short block ends the file
  }
  if (in.error() != QFileDevice::NoError) {
    out.cancelWriting();
    return false;
  }
  return out.commit();
}

namespace {

bool print_on(GraphWidget& graph, QPrinter& printer, GraphServices& services, bool switch_graph_style) {
  GraphModel& m = graph.model();
  const int draw_style = m.draw_style, graph_style = m.graph_style;
  const bool grey = services.greyscale();
  if (!grey) {
    m.draw_style = 0;
    if (switch_graph_style) m.graph_style = 0;
  }
  printer.setColorMode(grey ? QPrinter::GrayScale : QPrinter::Color);
  const double aspect = graph.height() > 0 ? double(graph.width()) / graph.height() : 1.5;
  const bool ok = charts::print_graph(m, printer, aspect);
  m.draw_style = draw_style;
  m.graph_style = graph_style;
  return ok;
}

}  // namespace

void print_graph(GraphWidget& graph, GraphServices& services, bool switch_graph_style) {
  QPrinter printer(QPrinter::HighResolution);
  if (!services.choose_printer(&graph, printer)) return;
  if (!print_on(graph, printer, services, switch_graph_style))
    services.message(&graph, MessageKind::kError, QStringLiteral("Couldn't open printer"));
}

void export_graph_image(GraphWidget& graph, GraphServices& services, const QString& filter,
                        const QString& default_suffix, bool switch_graph_style) {
  const QString name = services.save_file_name(&graph, filter, default_suffix);
  if (name.isEmpty()) return;
  const ImageKind kind = image_kind(name);
  if (kind != ImageKind::kPrinterFile) {
    if (!write_image(graph.model(), name, kind, graph.size(), graph.devicePixelRatioF()))
      services.message(&graph, MessageKind::kError, "Unable to save " + name);
    return;
  }
  services.message(&graph, MessageKind::kInformation,
                   QStringLiteral("Select the printer for which you want to produce a file. Note that "
                                  "output will go to your selected file, not to the printer itself"));
  QPrinter printer(QPrinter::HighResolution);
  if (!services.set_up_printer(&graph, printer)) return;
  // A printer writes PDF here: the file's name says so, whatever extension was typed.
  const QString file = printer_file_name(name);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  if (!print_on(graph, printer, services, switch_graph_style)) {
    services.message(&graph, MessageKind::kError, QStringLiteral("Couldn't open printer"));
    return;
  }
  services.message(&graph, MessageKind::kInformation, "The printer file was written in PDF format to " + file);
}

void copy_graph(GraphWidget& graph) {
  graph.set_draw_mode(4);
  graph.set_draw_mode(2);
}

}  // namespace charts
