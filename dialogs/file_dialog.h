// Open and save dialogs for file names that go back into the engine's fixed fields.
// Filters come in the "Description|pattern|Description|pattern" form the forms share;
// on Linux each pattern also matches its lower-case spelling.
#pragma once

#include <QFileDialog>
#include <QString>
#include <QStringList>
#include <string_view>

namespace pravel {

/// "Batch files (*.BAT)|*.BAT|..." as Qt name filters: "Batch files (*.BAT *.bat)", ...
QStringList qt_filters(std::string_view pipe_filter);

/// What one open or save dialog asks.
struct FileRequest {
  bool save = false;           ///< a save dialog (asks before replacing a file)
  QString filter;              ///< "Description|pattern|..." filter
  int filter_index = 1;        ///< the filter selected at first (from 1)
  QString default_suffix;      ///< added to a name typed without an extension
  QString start_name;          ///< the name shown at first (may be empty)
  int max_length = 0;          ///< longest path the caller can take (bytes); 0 = any
};

/// The file dialog of the library: Qt's own (not the desktop's), so it behaves the same
/// everywhere; refuses a name longer than the caller's field, with an error box.
class FileDialog : public QFileDialog {
  Q_OBJECT
 public:
  FileDialog(QWidget* parent, const FileRequest& request);
  void accept() override;

 private:
  int max_length_;  ///< longest accepted path in bytes; 0 = any
};

/// Shows the dialog, in the folder of the data file or of the last file chosen; the chosen
/// path (whose folder the next dialog opens in), or an empty string when cancelled.
QString ask_file_name(QWidget* parent, const FileRequest& request);

}  // namespace pravel
