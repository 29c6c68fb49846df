// The box that shows a results page, in the results viewer and in the main program's
// results windows: fixed font, no wrap, Tab moving on to the next control, and copies that
// keep the page's columns when pasted into a text editor or a word processor.
#pragma once

#include <QPlainTextEdit>

class QFont;
class QMimeData;

namespace qtshared {

/// What a results text gives the clipboard: plain text without the page-break characters
/// (form feeds), and an HTML flavour holding the text in a preformatted block whose font
/// is `font`'s (when it is fixed-pitch) and the generic monospace font.
QMimeData* page_mime_data(const QString& text, const QFont& font);

class PageBox : public QPlainTextEdit {
 public:
  explicit PageBox(QWidget* parent = nullptr);

  /// The Copy button: the selection, or the whole page when nothing is selected.
  void copy_page();

 protected:
  /// Ctrl+C and dragging give the same flavours as the Copy button.
  QMimeData* createMimeDataFromSelection() const override;
};

}  // namespace qtshared
