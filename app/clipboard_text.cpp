#include "app/clipboard_text.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>

#include "shared/exchange_slots.h"

namespace zelvorin {

namespace {

const QString kTab = QStringLiteral("\t");
const QString kLineEnd = QStringLiteral("\r\n");

/// A header row of the copied text: a blank field over the label column, then one field
/// per variable (a blank for an empty text).
QString header_row(const std::array<std::string, limits::kMaxVars>& texts, const CopyBlock& block) {
  QStringList fields{QStringLiteral(" ")};
  for (int v = block.first_var; v <= block.last_var; ++v) {
    const std::string& t = texts[static_cast<std::size_t>(v - 1)];
    fields << (t.empty() ? QStringLiteral(" ") : QString::fromStdString(t));
  }
  return fields.join(kTab) + kLineEnd;
}

/// The fields of one line: a trailing tab closes the last field rather than opening
/// another, and the label field is dropped when the rows carry one.
QStringList row_fields(QString line, bool label_column) {
  if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  if (line.endsWith(QLatin1Char('\t'))) line.chop(1);
  QStringList fields = line.split(QLatin1Char('\t'));
  if (label_column && !fields.isEmpty()) fields.removeFirst();
  return fields;
}

std::string cut(const QString& text, int length) { return text.left(length).trimmed().toStdString(); }

PastedData refused(QString message) {
  PastedData out;
  out.error = std::move(message);
  return out;
}

const QString kTooMuchText = QStringLiteral(
    "Too much data on the clipboard - unable to paste data.Please copy a smaller section of your data, "
    "or save it as a CSV file which can be read by Zelvorin.");
const QString kTooLarge = QStringLiteral("Too many observations/variables!");
const QString kNoData = QStringLiteral("No compatible data in the clipboard!");

}  // namespace

long copy_size_estimate(const CopyBlock& block) {
  return (20L * (block.last_obs - block.first_obs) + 112L) * (block.last_var - block.first_var + 1);
}

QString value_text(double value) {
  if (value == limits::kMissing) return QStringLiteral("*NONE*");
  QLocale locale;
  locale.setNumberOptions(QLocale::OmitGroupSeparator);
  return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

QString copy_text(const HostWorkspace& ws, const CopyBlock& block) {
  QString out;
  if (block.header != HeaderRows::kNone) out += header_row(ws.names, block);
  if (block.header == HeaderRows::kNamesAndDescriptions) out += header_row(ws.descs, block);
  const auto nobs = static_cast<std::size_t>(ws.shape.nobs);
  for (int obs = block.first_obs; obs <= block.last_obs; ++obs) {
    out += QString::fromStdString(observation_label(ws.shape, obs));
    for (int v = block.first_var; v <= block.last_var; ++v)
      out += kTab + value_text(ws.data[static_cast<std::size_t>(v - 1) * nobs + static_cast<std::size_t>(obs - 1)]);
    out += kLineEnd;
  }
  return out;
}

PastedData PasteDataFromClipboard(const QString& text, const PasteLayout& layout) {
  if (text.size() > kClipboardLimit) return refused(kTooMuchText);
  QStringList lines = text.split(QLatin1Char('\n'));
  while (!lines.isEmpty() && (lines.back().isEmpty() || lines.back() == QLatin1String("\r"))) lines.removeLast();

  PastedData out;
  qsizetype next = 0;
  if (layout.header != HeaderRows::kNone) {
    if (lines.isEmpty()) return refused(kNoData);
    const QStringList fields = row_fields(lines[next++], layout.label_column);
    for (const QString& raw : fields) {
      const QString field = raw.trimmed();
      const qsizetype blank = field.indexOf(QLatin1Char(' '));
      const QString name = (blank < 0 ? field : field.left(blank)).left(10).toUpper();
      if (!name_allowed(name.toStdString(), out.names))
        return refused(QStringLiteral("*Duplicate, invalid or blank variable name ") + name);
      out.names.push_back(ValidateVarName(name.toStdString()));
      out.descs.push_back(blank < 0 ? std::string() : cut(field.mid(blank + 1), 80));
    }
    if (layout.header == HeaderRows::kNamesAndDescriptions && next < lines.size()) {
      const QStringList descs = row_fields(lines[next++], layout.label_column);
      for (qsizetype j = 0; j < descs.size() && j < static_cast<qsizetype>(out.descs.size()); ++j)
        out.descs[static_cast<std::size_t>(j)] = cut(descs[j], 80);
    }
  }

  std::vector<QStringList> rows;
  for (; next < lines.size(); ++next) rows.push_back(row_fields(lines[next], layout.label_column));
  out.nobs = static_cast<int>(std::min<std::size_t>(rows.size(), limits::kMaxObs + 1));
  if (layout.header == HeaderRows::kNone) {
    qsizetype widest = 0;
    for (const QStringList& r : rows) widest = std::max(widest, r.size());
    out.nvars = static_cast<int>(std::min<qsizetype>(widest, limits::kMaxVars + 1));
    for (int j = 1; j <= out.nvars; ++j) {
      out.names.push_back("X" + std::to_string(j));
      out.descs.emplace_back();
    }
  } else {
    out.nvars = static_cast<int>(out.names.size());
  }
  if (out.nobs == 0 || out.nvars == 0) return refused(kNoData);
  if (out.nobs > limits::kMaxObs || out.nvars > limits::kMaxVars ||
      static_cast<long>(out.nobs) * out.nvars > limits::kCapacity)
    return refused(kTooLarge);

  const auto nobs = static_cast<std::size_t>(out.nobs);
  out.values.assign(nobs * static_cast<std::size_t>(out.nvars), limits::kMissing);
  for (std::size_t i = 0; i < nobs; ++i) {
    const QStringList& fields = rows[i];
    for (qsizetype j = 0; j < fields.size() && j < out.nvars; ++j) {
      QString field = fields[j];
      field.remove(QLatin1Char(' '));
      out.values[static_cast<std::size_t>(j) * nobs + i] = TextToValue(field, limits::kMissing);
    }
  }
  out.mismatch = out.nobs != layout.nobs || out.nvars != layout.nvars;
  return out;
}

}  // namespace zelvorin
