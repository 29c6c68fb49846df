// Printing a results page: the left margin that centres 78 columns on the paper, page
// heads with the page number, user name and date, page breaks at form feeds and after
// the configured number of lines.
#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <vector>

#include "shared/settings.h"

class QPrinter;

namespace qtshared {

/// Blanks in front of every printed line: the page width rounded to whole inches, divided
/// by the width of one blank in inches, less 78 columns, halved and rounded; never below 0.
/// An 8-inch page and a 1/12-inch blank give (96 - 78) / 2 = 9.
int left_margin(double page_width_mm, double blank_width_inches);

/// The date and time as the page head prints it: "d/mmm/yyyy h:m:s" ("9/Mar/2026 7:5:30").
QString print_date(const QDateTime& when);

/// The printed pages of a results page's lines, each a list of lines with the margin in
/// front. Page 1 starts with 5 empty lines, "Page 1" and an empty line (with page numbers),
/// then the user name, the date and an empty line (with the print date); later pages start
/// with 5 empty lines and "Page n" and an empty line. A line that begins with a form feed
/// starts a new page (a final one adds none); after the configured number of lines the
/// next line starts a new page. No page is left without lines.
std::vector<QStringList> paginate(const QStringList& lines, const settings::Printing& printing,
                                  int margin, const QString& date);

/// Prints the page on `printer` in `font` (as the screen shows it), with the settings of
/// "zelvorin.ini". A page longer than the paper continues on the next sheet. False when the
/// printer could not be opened, or prints to a file where a folder, FIFO or device stands.
bool print_lines(QPrinter& printer, const QStringList& lines, const QFont& font);

}  // namespace qtshared
