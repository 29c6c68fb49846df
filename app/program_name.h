// The program's name and version as its windows show them.
#pragma once

#include <QFileInfo>
#include <QString>

namespace zelvorin {

inline const QString kProgramName = QStringLiteral("Zelvorin");

/// The version the build was made from ("0.1").
QString program_version();

/// The main window's title: the program's name, and the data file's name without its folder.
inline QString main_window_title(const QString& data_file) {
  return data_file.isEmpty() ? kProgramName : kProgramName + QStringLiteral(" - ") + QFileInfo(data_file).fileName();
}

/// The filter of the program's own data files in the file dialogs.
inline const QString kDataFileFilter = QStringLiteral("Zelvorin data files (*.zvd)");

}  // namespace zelvorin
