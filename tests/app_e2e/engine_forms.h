// Answers to the engine's forms as a user gives them, for the end-to-end tests.
#pragma once

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QString>
#include <QWidget>

#include <sstream>
#include <string>

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

/// An action for the results viewer: keeps the page's text in `page` and closes it.
inline dialog_driver::Action keep_page(std::string& page) {
  return [&page](QWidget* form) {
    page = dialog_driver::child<QPlainTextEdit>(form, "page")->toPlainText().toStdString();
    dialog_driver::click(form, "close");
  };
}

/// The line of a results page's coefficient table (after its " Regressor " heading, or the
/// " Parameter " heading of a non-linear estimate) that starts with " NAME "; empty when
/// there is none.
inline std::string coefficient_row(const std::string& page, const std::string& name) {
  std::istringstream in(page);
  bool table = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(" Regressor ", 0) == 0 || line.rfind(" Parameter ", 0) == 0) table = true;
    if (table && line.rfind(" " + name + " ", 0) == 0) return line;
  }
  return {};
}

/// Reads a text data file as the user does: the length warning, Yes, and the notice.
template <typename Window>
::testing::AssertionResult open_text_data(Window& window, const QString& path) {
  dialog_driver::DialogDriver reading;
  reading.then("Tinformation", [](QWidget* form) { dialog_driver::click(form, "ok"); })
      .then("Tgetlogical", [](QWidget* form) { dialog_driver::click(form, "yes"); })
      .then("messageBox", [](QWidget* form) { dialog_driver::click(form, "ok"); });
  if (!window.open_data_file(path)) return ::testing::AssertionFailure() << "not opened: " << path.toStdString();
  if (!reading.finish()) return ::testing::AssertionFailure() << reading.failure();
  return ::testing::AssertionSuccess();
}

}  // namespace e2e
