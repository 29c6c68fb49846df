#include "app/equation_box.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "app/file_dialogs.h"
#include "app/user_messages.h"
#include "charts/graph_services.h"
#include "qtshared/text_bridge.h"
#include "shared/file_reading.h"
#include "shared/temp_files.h"

namespace zelvorin {

QString strip_trailing(const QString& line) {
  qsizetype n = line.size();
  while (n > 0 && line[n - 1] == QLatin1Char(' ')) --n;
  return line.left(n);
}

QStringList box_lines(const QPlainTextEdit* box) {
  QStringList lines;
  for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.pop_back();  // the text ends in a line break
  return lines;
}

std::optional<std::string> specification_text(const QStringList& lines) {
  std::string text = " ";
  for (const QString& line : lines) {
    text += strip_trailing(line).toStdString();
    text += ' ';
    if (static_cast<int>(text.size()) > kMaxSpecification) return std::nullopt;
  }
  return text;
}

void refuse_long_specification() {
  user_messages().show(MessageKind::kError, QStringLiteral("Specification too long: at most 3117 characters"));
}

QString equation_line(const QString& line) {
  const QString s = strip_trailing(line);
  QString out;
  for (qsizetype i = 0; i < s.size(); ++i) {
    out += s[i];
    if (s[i] == QLatin1Char(';') && (i + 1 == s.size() || s[i + 1] != QLatin1Char(' '))) out += QLatin1Char(' ');
  }
  return out;
}

bool load_equation_file(QPlainTextEdit* box, const QString& path) {
  const file_reading::Contents file = file_reading::read_all(qtshared::path_from_qt(path));
  if (file.failure != file_reading::Failure::kNone) {
    user_messages().show(MessageKind::kError, QStringLiteral("Unable to read file ") + path);
    return false;
  }
  QStringList lines;
  QList<QByteArray> raw = QByteArray::fromStdString(file.bytes).split('\n');
  if (!raw.isEmpty() && raw.back().isEmpty()) raw.pop_back();
  for (QByteArray line : raw) {
    if (line.endsWith('\r')) line.chop(1);
    lines << equation_line(QString::fromLatin1(line));
  }
  box->setPlainText(lines.join(QLatin1Char('\n')));
  return true;
}

bool save_equation_file(QPlainTextEdit* box, const QString& path) {
  QStringList lines = box_lines(box);
  for (QString& line : lines) line = strip_trailing(line);
  box->setPlainText(lines.join(QLatin1Char('\n')));
  // Never opened when it is a folder, FIFO or device: QFile would wait on a FIFO.
  QFile file(path);
  if (file_reading::writable_target(qtshared::path_from_qt(path)) != file_reading::Failure::kNone ||
      !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1()) < 0) {
    user_messages().show(MessageKind::kError, QStringLiteral("Unable to write file ") + path);
    return false;
  }
  return true;
}

void save_equation_box(QWidget* parent, QPlainTextEdit* box, const QString& filter, QString selected) {
  QString name = ask_save_file(parent, QString(), charts::dialog_filter(filter), &selected);
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".equ");
  save_equation_file(box, name);
}

void get_equation_box(QWidget* parent, QPlainTextEdit* box, const QString& filter, QString selected) {
  const QString name = ask_open_file(parent, QString(), charts::dialog_filter(filter), &selected);
  if (!name.isEmpty()) load_equation_file(box, name);
}

void open_kept_plots(HostState& state, int kept, const std::function<void(const QString&)>& open_plot) {
  if (kept <= 0) return;
  for (int n = state.plot_counter + kept; n > state.plot_counter; --n) {
    const auto path = state.temp_folder / temp_files::plot_file_name(static_cast<unsigned>(n));
    if (open_plot) open_plot(QString::fromStdString(path.string()));
  }
  state.plot_counter += kept;
}

}  // namespace zelvorin
