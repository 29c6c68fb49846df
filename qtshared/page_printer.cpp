#include "qtshared/page_printer.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <cmath>

#include "qtshared/text_bridge.h"
#include "shared/file_reading.h"
#include "shared/ini_file.h"

namespace qtshared {

int left_margin(double page_width_mm, double blank_width_inches) {
  if (blank_width_inches <= 0.0) return 0;
  const double page_inches = std::floor(page_width_mm / 25.4 + 0.5);
  const double columns = page_inches / blank_width_inches;
  const double margin = std::floor((columns - 78.0) / 2.0 + 0.5);
  return margin > 0.0 ? static_cast<int>(margin) : 0;
}

QString print_date(const QDateTime& when) {
  return QLocale::c().toString(when, QStringLiteral("d/MMM/yyyy h:m:s"));
}

std::vector<QStringList> paginate(const QStringList& lines, const settings::Printing& printing,
                                  int margin, const QString& date) {
  const QString pad(margin, ' ');
  const int per_page = printing.lines_per_page > 0 ? printing.lines_per_page
                                                    : settings::kDefaultLinesPerPage;
  std::vector<QStringList> pages(1);
  int page_number = 1;
  auto head = [&](bool first) {
    QStringList& page = pages.back();
    for (int i = 0; i < 5; ++i) page << QString();
    if (printing.page_numbers) page << pad + QStringLiteral("Page %1").arg(page_number) << QString();
    if (first && printing.print_date)
      page << pad + QString::fromLatin1(printing.user_name.c_str()) << pad + date << QString();
  };
  auto new_page = [&] {
    pages.emplace_back();
    ++page_number;
    head(false);
  };
  head(true);

  qsizetype count = lines.size();
  if (count > 0 && lines.back().startsWith('\f')) --count;  // a final form feed adds no page
  int counter = 0;
  bool break_due = false;  // a form feed or a full page waits for the next line
  for (qsizetype i = 0; i < count; ++i) {
    QString line = lines[i];
    if (line.startsWith('\f')) {
      break_due = true;
      line.remove(0, 1);
      if (line.trimmed().isEmpty()) continue;
    }
    if ((break_due && counter > 0) || counter == per_page) {
      new_page();
      counter = 0;
    }
    break_due = false;
    pages.back() << pad + line;
    ++counter;
  }
  return pages;
}

bool print_lines(QPrinter& printer, const QStringList& lines, const QFont& font) {
  // A printer writing to a file never waits on a FIFO nor writes into a device.
  if (!printer.outputFileName().isEmpty() &&
      file_reading::writable_target(path_from_qt(printer.outputFileName())) != file_reading::Failure::kNone)
    return false;
  const ini::IniFile file = ini::IniFile::load();
  const settings::Printing printing = settings::printing(file);
  const QScreen* screen = QGuiApplication::primaryScreen();
  const double dpi = screen != nullptr ? screen->logicalDotsPerInchX() : 96.0;
  const double blank = QFontMetricsF(font).horizontalAdvance(QString(78, ' ')) / 78.0 / dpi;
  const int margin = left_margin(printer.pageRect(QPrinter::Millimeter).width(), blank);
  const std::vector<QStringList> pages =
      paginate(lines, printing, margin, print_date(QDateTime::currentDateTime()));

  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setFont(font);
  const QFontMetrics metrics(font, &printer);
  const int line_height = metrics.lineSpacing();
  const int bottom = printer.pageRect(QPrinter::DevicePixel).height();
  bool first_sheet = true;
  for (const QStringList& page : pages) {
    if (!first_sheet) printer.newPage();
    first_sheet = false;
    int y = metrics.ascent();
    for (const QString& line : page) {
      if (y + metrics.descent() > bottom) {  // longer than the paper: go on overleaf
        printer.newPage();
        y = metrics.ascent();
      }
      painter.drawText(0, y, line);
      y += line_height;
    }
  }
  return painter.end();
}

}  // namespace qtshared
