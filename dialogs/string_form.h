// "Input a string": the text question, taking at most the caller's field width.
#pragma once

#include "dialogs/answer_form.h"

namespace pravel {

class StringForm : public AnswerForm {
  Q_OBJECT
 public:
  StringForm(QWidget* parent, const QString& message, const QString& text, int max_length);
};

}  // namespace pravel
