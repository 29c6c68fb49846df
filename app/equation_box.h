// What the estimation window and the command editor share: the text of an editing box as
// the engine takes it, equation files, and the graph windows of the plots a request kept.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

#include "app/host_state.h"

class QPlainTextEdit;
class QWidget;

namespace zelvorin {

/// The longest specification or command text the engine takes.
inline constexpr int kMaxSpecification = 3117;

/// `line` without its trailing blanks.
QString strip_trailing(const QString& line);

/// The lines of an editing box: none when it is empty, and no empty line after a last
/// line break.
QStringList box_lines(const QPlainTextEdit* box);

/// The text sent to the engine: one blank, then each line without its trailing blanks and
/// followed by one blank; nothing when that would pass `kMaxSpecification` characters.
std::optional<std::string> specification_text(const QStringList& lines);

/// Tells the user a text was refused for its length.
void refuse_long_specification();

/// A line read into an editing box: trailing blanks stripped, and a ";" that ends the line
/// or stands before anything but a blank followed by a blank.
QString equation_line(const QString& line);

/// Loads a text file into `box`, line by line as `equation_line` reads them. A file that
/// cannot be read shows "Unable to read file " and its name, and leaves the box as it was.
bool load_equation_file(QPlainTextEdit* box, const QString& path);

/// Strips the trailing blanks of the box's lines (in the box) and writes them to `path`.
/// A file that cannot be written, or a folder, FIFO or device at `path`, shows "Unable to
/// write file " and its name.
bool save_equation_file(QPlainTextEdit* box, const QString& path);

/// Save: asks for a file (default extension "equ", overwrite prompt) and saves the box to
/// it with `save_equation_file`. `filter` in the "Name (*.x)|*.x|..." form,
/// `selected` the entry chosen first.
void save_equation_box(QWidget* parent, QPlainTextEdit* box, const QString& filter, QString selected);

/// Get: asks for a file and loads it into `box`.
void get_equation_box(QWidget* parent, QPlainTextEdit* box, const QString& filter, QString selected);

/// The plots a request kept: graph windows on "plot" + N + ".$$$" in the temporary folder
/// for N from the plot counter + `kept` down to the counter + 1; the counter then grows by
/// `kept`.
void open_kept_plots(HostState& state, int kept, const std::function<void(const QString&)>& open_plot);

}  // namespace zelvorin
