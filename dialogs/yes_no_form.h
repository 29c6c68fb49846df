// "Select correct button": a question answered Yes, No or Cancel.
#pragma once

#include "dialogs/form.h"

namespace pravel {

class YesNoForm : public Form {
  Q_OBJECT
 public:
  YesNoForm(QWidget* parent, const QString& message);
};

}  // namespace pravel
