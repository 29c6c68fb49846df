#include "dialogs/string_form.h"

#include <QLineEdit>

namespace pravel {

StringForm::StringForm(QWidget* parent, const QString& message, const QString& text,
                       int max_length)
    : AnswerForm(parent, tr("Input a string"), message, text, true) {
  setObjectName("Tgetstr");
  edit_->setMaxLength(max_length > 0 ? max_length : 32767);
}

}  // namespace pravel
