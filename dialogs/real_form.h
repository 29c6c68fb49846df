// "Input a real number": the real question. OK is refused, with a beep, while the answer
// is not a number.
#pragma once

#include "dialogs/answer_form.h"

namespace pravel {

class RealForm : public AnswerForm {
  Q_OBJECT
 public:
  RealForm(QWidget* parent, const QString& message, float value);

  /// The answer as a real (the form only closes with OK on a number).
  float value() const;

 private:
  void try_ok();
};

}  // namespace pravel
