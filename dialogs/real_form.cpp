#include "dialogs/real_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "qtshared/text_bridge.h"
#include "shared/pravel_api.h"

namespace pravel {

namespace {
bool parse_float(const QString& text, float& value) {
  double v = 0.0;
  if (!qtshared::parse_real(text, v) || v > std::numeric_limits<float>::max() ||
      v < -std::numeric_limits<float>::max())
    return false;
  value = static_cast<float>(v);
  return true;
}
}  // namespace

RealForm::RealForm(QWidget* parent, const QString& message, float value)
    : AnswerForm(parent, tr("Input a real number"), message, qtshared::fixed_number(value), false) {
  setObjectName("Tgetfloat");
  disconnect(ok_, &QPushButton::clicked, nullptr, nullptr);
  connect(ok_, &QPushButton::clicked, this, &RealForm::try_ok);
}

void RealForm::try_ok() {
  float v = 0.0f;
  if (parse_float(answer(), v)) {
    done(kOk);
    return;
  }
  QApplication::beep();
  edit_->setFocus();
  edit_->selectAll();
}

float RealForm::value() const {
  float v = pravel_api::kNoReal;
  return parse_float(answer(), v) ? v : pravel_api::kNoReal;
}

}  // namespace pravel
