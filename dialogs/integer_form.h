// "Input an integer": the integer question.
#pragma once

#include "dialogs/answer_form.h"

namespace pravel {

class IntegerForm : public AnswerForm {
  Q_OBJECT
 public:
  /// With `must_answer` the question cannot be cancelled (Cancel disabled, Esc ignored).
  IntegerForm(QWidget* parent, const QString& message, int value, bool must_answer);
  void reject() override;

  /// The answer read as an integer in -32768..32767, or -999 when it is none.
  int value() const;

 private:
  bool must_answer_;  ///< Cancel and Esc are refused
};

}  // namespace pravel
