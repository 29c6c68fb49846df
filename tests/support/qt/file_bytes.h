// Whole files written and read in Qt tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zv_qt_test {

/// Writes `bytes` as the whole file `path` (a test failure when it cannot) and returns
/// `path`.
inline QString write_file(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(bytes);
  return path;
}

/// The whole file `path`; empty when it cannot be read.
inline QByteArray file_bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace zv_qt_test
