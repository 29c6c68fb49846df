#include "dialogs/integer_form.h"

#include <QPushButton>

#include "qtshared/text_bridge.h"
#include "shared/pravel_api.h"

namespace pravel {

IntegerForm::IntegerForm(QWidget* parent, const QString& message, int value, bool must_answer)
    : AnswerForm(parent, tr("Input an integer"), message, QString::number(value), false),
      must_answer_(must_answer) {
  setObjectName("Tgetint");
  cancel_->setEnabled(!must_answer);
}

void IntegerForm::reject() {
  if (!must_answer_) done(kCancel);
}

int IntegerForm::value() const {
  int v = 0;
  return qtshared::parse_int16(answer(), v) ? v : pravel_api::kNoInteger;
}

}  // namespace pravel
