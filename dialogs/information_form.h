// "Information": lines of text in the fixed font, read only, with one OK button.
#pragma once

#include <QStringList>

#include "dialogs/form.h"

class QPlainTextEdit;

namespace pravel {

class InformationForm : public Form {
  Q_OBJECT
 public:
  InformationForm(QWidget* parent, const QStringList& lines);
  QString text() const;

 private:
  QPlainTextEdit* memo_;  ///< the lines
};

}  // namespace pravel
