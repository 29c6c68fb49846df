// "Select required option": one choice out of a menu's options, shown as radio buttons.
// Fewer than 12 options fill a form 24 × n + 200 pixels high; 12 or more sit in a scroll
// box in a form 464 pixels high. F1 shows the form's help topic; F2 shows the topic of the
// selected option (its leading digit + help context × 10) for menus with a context of 1000
// or more; Up and Down move the selection and stop at the ends.
#pragma once

#include <QStringList>

#include "dialogs/form.h"

class QButtonGroup;
class QGroupBox;
class QPlainTextEdit;
class QScrollArea;

namespace pravel {

/// Height of the form for n options, and of the option group when it scrolls (0: it fills
/// the form).
struct OptionLayout {
  int form_height;
  int group_height;
};
OptionLayout option_layout(int count);

/// The topic F2 asks for: for a context of 1000 or more, the option's first character read
/// as a digit + context × 10 (the context itself when that character is no digit); for a
/// smaller context the context itself. An option without a topic of its own in the help file
/// shows the menu's topic.
int option_topic(int help_context, const QString& option);

class OptionForm : public Form {
  Q_OBJECT
 public:
  OptionForm(QWidget* parent, const QString& title, const QStringList& options, int index);

  /// The selected option (from 0), -1 when none.
  int index() const;
  void set_index(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  /// Handles F1, F2, Up and Down; true when the key was used.
  bool handle_key(int key);

  QStringList options_;     ///< the option texts as passed
  QButtonGroup* buttons_;   ///< one radio button per option, id = index
  QGroupBox* group_;        ///< the radio group
  QScrollArea* scroll_;     ///< the scroll box around the group
};

}  // namespace pravel
