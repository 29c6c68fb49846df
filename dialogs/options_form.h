// "Select required options": several choices out of a list, ticked in a check-box group.
// The form is 24 × n + 120 pixels high; when that does not fit the screen the group
// scrolls.
#pragma once

#include <QStringList>

#include "dialogs/form.h"

namespace pravel {

class CheckButtonGroup;

/// Height of the form for n options (before it is fitted to the screen).
int options_form_height(int count);

class OptionsForm : public Form {
  Q_OBJECT
 public:
  OptionsForm(QWidget* parent, const QString& title, const QStringList& options);
  CheckButtonGroup* group() const { return group_; }

 private:
  CheckButtonGroup* group_;  ///< the options
};

}  // namespace pravel
