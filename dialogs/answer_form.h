// The one-answer forms: a message above an edit box, with OK, Cancel and Help. The integer,
// real and string questions are this form with their own checks.
#pragma once

#include "dialogs/form.h"

class QLabel;
class QLineEdit;

namespace pravel {

class AnswerForm : public Form {
  Q_OBJECT
 public:
  /// `framed` puts the message in a sunken panel (the string question).
  AnswerForm(QWidget* parent, const QString& caption, const QString& message,
             const QString& answer, bool framed);

  QString answer() const;
  QLineEdit* edit() const { return edit_; }
  QPushButton* cancel_button() const { return cancel_; }

 protected:
  QLabel* message_;     ///< the question, word-wrapped
  QLineEdit* edit_;     ///< the answer
  QPushButton* ok_;     ///< "&Ok" (modal result 1)
  QPushButton* cancel_; ///< "&Cancel" (modal result 2)
};

}  // namespace pravel
