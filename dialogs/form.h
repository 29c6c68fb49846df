// What every form of the library shares: the application it lives in, its owner, the two
// font sets of the settings file, the Help button and bringing itself to the top.
#pragma once

#include <QDialog>
#include <QFont>
#include <initializer_list>

class QBoxLayout;
class QHBoxLayout;
class QPushButton;

namespace pravel {

/// Modal results the forms end with; the exports copy them into the status argument.
enum Result : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

/// Makes sure a QApplication exists (the host program normally owns it; a caller without
/// one gets one made here). Throws std::runtime_error when a non-widget application runs.
void ensure_application();

/// The owner of a new form: the modal form on top, else the active window, else none.
QWidget* owner();

enum class FontSet {
  kMain,   ///< "Mainfont..." keys: labels, edit boxes, buttons
  kFixed,  ///< "Fixedfont...": results, information and panel texts
};

/// Reads the font set from "zelvorin.ini" now (the file may change between calls).
QFont settings_font(FontSet set);

/// Gives `widget` (and its children) the font set with its colour.
void apply_font(QWidget* widget, FontSet set);

/// A modal form of the library.
class Form : public QDialog {
  Q_OBJECT
 public:
  Form(QWidget* parent, const QString& caption);

  /// Stores the help context for the Help button, which is disabled for context 0.
  void set_help_context(int context);
  int help_context() const { return help_context_; }
  /// The Help button, or null when the form has none.
  QPushButton* help_button() const { return help_; }

 protected:
  /// A push button with a test name.
  QPushButton* make_button(const QString& text, const char* name);
  /// "&Help", showing the stored help context.
  QPushButton* make_help_button();
  /// A right-aligned row of buttons.
  QHBoxLayout* button_row(std::initializer_list<QPushButton*> buttons);

  /// Esc and closing the window answer Cancel (modal result 2).
  void reject() override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  int help_context_ = 0;           ///< topic of the Help button; 0 = no help
  QPushButton* help_ = nullptr;    ///< the Help button, if the form has one
};

}  // namespace pravel
