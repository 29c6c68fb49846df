#include "qtshared/text_bridge.h"

#include <QFile>
#include <charconv>
#include <cmath>
#include <limits>

namespace qtshared {

QString to_qt(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string from_qt(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString literal_caption(const QString& text) {
  QString out = text;
  return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString editor_title(const QString& text) {
  QString out = text;
  return out.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QString path_to_qt(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string path_from_qt(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString general_number(double value) {
  if (!std::isfinite(value)) return QStringLiteral("0");
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::general, 15);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString fixed_number(double value) {
  char buffer[64];
  std::to_chars_result result;
  if (std::isfinite(value) && std::fabs(value) < 1e7)
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
  else
    result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 6);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

bool parse_real(const QString& text, double& value) {
  const QByteArray bytes = text.trimmed().toLatin1();
  if (bytes.isEmpty()) return false;
  const char* begin = bytes.constData();
  const char* end = begin + bytes.size();
  if (*begin == '+') ++begin;
  double v = 0.0;
  const auto [ptr, ec] = std::from_chars(begin, end, v);
  if (ec != std::errc() || ptr != end || !std::isfinite(v)) return false;
  value = v;
  return true;
}

bool parse_int16(const QString& text, int& value) {
  const QByteArray bytes = text.trimmed().toLatin1();
  if (bytes.isEmpty()) return false;
  const char* begin = bytes.constData();
  const char* end = begin + bytes.size();
  if (*begin == '+') ++begin;
  long long v = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, v);
  if (ec != std::errc() || ptr != end) return false;
  if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
    return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace qtshared
