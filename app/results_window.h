// The results window: a text file (results, batch, model, equation or list file) shown in a
// child window, with buttons to save it, change its font, copy it and print it.
#pragma once

#include <QString>
#include <QWidget>

#include "qtshared/page_box.h"

class QFont;

namespace zelvorin {

/// The save dialog's filter ("text|pattern") and the Save button's hint for a file shown.
struct SaveChoice {
  QString filter;
  QString hint;
};
/// By the extension of the file shown (any letter case): ".OUT", ".BAT", ".MOD", ".EQU",
/// ".LST" get their own kind, anything else all files.
SaveChoice save_choice_for(const QString& file_name);

class ResultsWindow : public QWidget {
 public:
  /// Loads the text file `path`; null when it cannot be read.
  static ResultsWindow* open(const QString& path, QWidget* parent = nullptr);

  const QString& file_name() const { return file_; }
  qtshared::PageBox* text() const { return text_; }
  const SaveChoice& save_choice() const { return save_; }
  /// The text's lines, as saved and printed.
  QStringList lines() const;

  /// Writes the text to `path`; false (after an error box) when it cannot be written.
  bool save_to(const QString& path);
  /// Shows the text in `font` (the fixed font of the settings, with its style).
  void set_text_font(const QFont& font);
  /// The buttons' actions.
  void save();
  void change_font();
  void copy();
  void print();

 private:
  ResultsWindow(const QString& path, const QString& text, QWidget* parent);

  QString file_;              ///< the file shown
  SaveChoice save_;           ///< the save dialog's filter and the button's hint
  qtshared::PageBox* text_;     ///< the text, read only
};

}  // namespace zelvorin
