// What the graph windows ask of the desktop: file names, printers, message boxes and the
// ini settings. The windows use the Qt dialogs through `DesktopGraphServices`; tests give
// a scripted implementation.
#pragma once

#include <QString>

#include "charts/graph_setup.h"

class QPrinter;
class QWidget;

namespace charts {

enum class MessageKind { kInformation, kWarning, kError };

class GraphServices {
 public:
  virtual ~GraphServices() = default;
  /// A file name to save to, from a save dialog with `filter` ("text|pattern|..."); a name
  /// typed without an extension gets `default_suffix`. Empty when cancelled.
  virtual QString save_file_name(QWidget* parent, const QString& filter, const QString& default_suffix) = 0;
  /// The print dialog over `printer`; false when cancelled.
  virtual bool choose_printer(QWidget* parent, QPrinter& printer) = 0;
  /// The printer set-up dialog over `printer` (printing to a file); false when cancelled.
  virtual bool set_up_printer(QWidget* parent, QPrinter& printer) = 0;
  /// A message box with `text`.
  virtual void message(QWidget* parent, MessageKind kind, const QString& text) = 0;
  /// "Graphics"/"Patterns" and "Graphics"/"Lastlabel" of the ini file.
  virtual GraphSettings graph_settings() = 0;
  /// "Printing"/"Greyscale" of the ini file (default true).
  virtual bool greyscale() = 0;
};

/// The Qt dialogs (file dialogs open in the folder of the data file or of the last file
/// chosen) and the user's "zelvorin.ini".
class DesktopGraphServices : public GraphServices {
 public:
  QString save_file_name(QWidget* parent, const QString& filter, const QString& default_suffix) override;
  bool choose_printer(QWidget* parent, QPrinter& printer) override;
  bool set_up_printer(QWidget* parent, QPrinter& printer) override;
  void message(QWidget* parent, MessageKind kind, const QString& text) override;
  GraphSettings graph_settings() override;
  bool greyscale() override;
};

/// A file dialog filter from a "text|pattern|text|pattern" filter; patterns match both
/// letter cases ("Zelvorin files (*.qgx)|*.qgx" → "Zelvorin files (*.qgx *.QGX)").
QString dialog_filter(const QString& filter);

}  // namespace charts
