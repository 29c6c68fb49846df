// The command editor: the user types commands and formulas of the data-processing
// language and sends them to the engine (request 3 on the data-processing road), or asks
// for one of the standard generated variables. It also shows the data status line.
#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "app/host_state.h"

class QAction;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace zelvorin {

/// The generated variables: the function number sent to the engine, the speed button's
/// caption, the Edit menu item's caption and the hint.
struct GeneratedVariable {
  int tag;
  const char* button;
  const char* item;
  const char* hint;
};
extern const std::array<GeneratedVariable, 5> kGeneratedVariables;

class CommandEditor : public QWidget {
 public:
  explicit CommandEditor(HostState& state, QWidget* parent = nullptr);

  /// "&Go": sends the box's text and runs the request. False when the text was too long
  /// (nothing is sent) or the engine was busy.
  bool go();
  /// "&Batch": appends the line ";batch" and presses Go.
  bool batch();
  /// A generated-variable button or item: asks the engine for variable `tag` (1 to 5).
  bool generate(int tag);

  /// Inserts `word` and one blank at the caret of the editing box.
  void insert_word(const QString& word);
  /// Sets the caption from the data file's name.
  void set_caption();
  /// The status line shows `text`.
  void set_status(const QString& text);

  QPlainTextEdit* memo() const { return memo_; }
  QComboBox* functions() const { return functions_; }
  QComboBox* commands() const { return commands_; }
  QLineEdit* status_line() const { return status_; }
  QPushButton* go_button() const { return go_; }
  QPushButton* batch_button() const { return batch_; }
  /// The speed button of generated variable `tag`.
  QToolButton* generated_button(int tag) const;
  /// The Edit-menu items of the generated variables, by tag (the seasonal ones belong in a
  /// "&Seasonal dummies" submenu).
  QAction* generated_item(int tag) const;

  /// Opens a graph window on a plot file the engine kept.
  std::function<void(const QString&)> open_plot;
  /// Runs after each request: the main window refreshes its status and controls.
  std::function<void()> request_done;
  /// The Help button and F1 on a list: the help topic of a context.
  std::function<void(int)> show_help;

 private:
  void build();
  /// Registers `slot`s, runs request 3 and follows its answer; the engine's result word.
  int request();
  void select_first_words();

  HostState& state_;
  QPlainTextEdit* memo_ = nullptr;
  QComboBox* functions_ = nullptr;
  QComboBox* commands_ = nullptr;
  QLineEdit* status_ = nullptr;
  QPushButton* go_ = nullptr;
  QPushButton* batch_ = nullptr;
  std::array<QToolButton*, 5> buttons_{};
  std::array<QAction*, 5> items_{};
};

}  // namespace zelvorin
