// Answers to the engine's forms as a user gives them, for the end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <QRadioButton>
#include <QString>
#include <QWidget>

#include "tests/dialogs/dialog_driver.h"

namespace e2e {

/// Picks the option of an engine menu whose line holds `caption`, and presses OK.
inline void choose(QWidget* form, const QString& caption) {
  for (QRadioButton* option : form->findChildren<QRadioButton*>()) {
    if (!option->text().contains(caption)) continue;
    option->click();
    dialog_driver::click(form, "ok");
    return;
  }
  ADD_FAILURE() << "no option \"" << caption.toStdString() << "\" in " << form->windowTitle().toStdString();
  dialog_driver::click(form, "cancel");
}

/// Types `text` into a string form and presses OK.
inline void answer(QWidget* form, const QString& text) {
  dialog_driver::type(form, "answer", text);
  dialog_driver::click(form, "ok");
}

}  // namespace e2e
