// The program's open and save dialogs: they open in the folder of the current data file or
// of the last file chosen, show the modal hint while they are open, and remember the folder
// of the file chosen.
#pragma once

#include <QString>

class QWidget;

namespace zelvorin {

/// Filters and the selected filter are Qt's ("Text files (*.txt);;All files (*)"); an
/// empty name when the dialog was cancelled.
QString ask_open_file(QWidget* parent, const QString& caption, const QString& filter,
                      QString* selected_filter = nullptr);
/// Asks before replacing an existing file.
QString ask_save_file(QWidget* parent, const QString& caption, const QString& filter,
                      QString* selected_filter = nullptr);

}  // namespace zelvorin
