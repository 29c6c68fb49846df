// The folder file dialogs open in, as Qt strings (the folder itself is kept by
// shared/dialog_folder.h).
#pragma once

#include <QString>

namespace qtshared {

/// The folder to open a file dialog in: the folder of the last data file or chosen file,
/// else the current working folder.
QString dialog_start_folder();

/// A file was chosen in a dialog, opened or saved: the next file dialog opens in its
/// folder. An empty name changes nothing.
void remember_dialog_file(const QString& file);

}  // namespace qtshared
