// "Input text": the editor in which the user types an equation, a list of variables,
// restrictions or a formula. It shows the engine's message or its panel text, offers the
// variable names and the function and command words for insertion (Enter in a word box
// inserts the word and a blank at the caret), and retrieves and saves .EQU and .LST files.
#pragma once

#include <QStringList>

#include "dialogs/form.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace pravel {

/// The function words offered by the editor.
QStringList editor_function_words();
/// The command words offered by the (hidden) command box.
QStringList editor_command_words();

/// A line read from an equation or list file: trailing blanks removed, and every ";" that
/// ends the line or is followed by a character other than a blank becomes "; ".
QString retrieved_line(const QString& line);

/// What the editor shows besides the text.
struct EditorSetup {
  QString message;          ///< the question (modes other than 1)
  bool show_panel = false;  ///< mode 1: the panel text instead of the message
  QString panel_text;       ///< the panel file's text
  QStringList names;        ///< the data set's variable names
  QString extension;        ///< "EQU" or "LST": the default of the file dialogs
  int capacity = 0;         ///< characters the caller's block holds
};

class TextEditorForm : public Form {
  Q_OBJECT
 public:
  TextEditorForm(QWidget* parent, const EditorSetup& setup, const QString& text);

  /// The text with every line break turned into a blank (single bytes, at most the
  /// capacity; the form refuses OK on a longer text).
  std::string block_text() const;

  QPlainTextEdit* editor() const { return memo_; }
  QListWidget* variables() const { return variables_; }
  QListWidget* functions() const { return functions_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void try_ok();
  void retrieve();
  void save();
  /// Asks the name of a panel file to read (or, with `save`, to write) in the panel's
  /// kind (.EQU or .LST); empty when cancelled.
  QString ask_panel_file(bool save);
  void insert_word(QListWidget* box);
  int focused_topic() const;

  EditorSetup setup_;          ///< what the caller passed
  QPlainTextEdit* memo_;       ///< the text being edited
  QListWidget* variables_;     ///< "Variables" (help topic 104)
  QListWidget* functions_;     ///< "Functions" (help topic 102)
  QListWidget* commands_;      ///< "Commands" (help topic 101), hidden
};

}  // namespace pravel
