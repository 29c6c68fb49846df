// The engine's editor shows its whole panel text above the text being edited, and a
// choice list is as wide as its caption, at the settings' fonts and at one and a half
// times them (pictures in the screenshots folder).
#include <QPlainTextEdit>
#include <QScrollBar>
#include <cstdlib>
#include <fstream>
#include <string>

#include "shared/ini_file.h"
#include "shared/pravel_api.h"
#include "shared/settings.h"
#include "shared/temp_files.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;

/// Sets both font sets of the settings file to `size` points (the defaults are 10).
void set_font_sizes(int size) {
  ini::IniFile file = ini::IniFile::load();
  settings::Font main = settings::main_font(file);
  settings::Font fixed = settings::fixed_font(file);
  main.size = size;
  fixed.size = size;
  settings::set_main_font(file, main);
  settings::set_fixed_font(file, fixed);
  ASSERT_TRUE(file.save());
}

TEST(FormFit, EditorShowsItsWholePanel) {
  // The panel of the engine's equation editor: lines of up to 78 columns.
  const char* lines[] = {
      "",
      " List the dependent variable followed by the regressor(s) (separated by spaces).",
      " For example: Y INPT Y(-1) Y{2 5 7-9} X{0-2} Z specifies the linear regression of",
      " Y on the variables INPT, Y(-1), Y(-2), Y(-5), Y(-7), Y(-8), Y(-9), X, X(-1),",
      " X(-2) and Z.",
      "",
      " X(-1) stands for a one period lagged value of X.",
      "",
      " Variables: LC LY INFL R INPT",
      "",
      " Use the editor to specify/edit the equation, then press Ok."};
  std::string panel;
  for (const char* l : lines) panel += std::string(l) + "\r\n";
  const std::string temp = std::getenv(temp_files::kSessionFolderVariable);
  std::ofstream(temp + "/" + std::string(temp_files::kEditorPanel), std::ios::binary) << panel;

  for (const int size : {10, 15}) {
    SCOPED_TRACE(size);
    set_font_sizes(size);
    DialogDriver driver;
    driver.then("Teditor", [size](QWidget* form) {
      for (int i = 0; i < 3; ++i) QApplication::processEvents();
      const auto* shown = child<QPlainTextEdit>(form, "panel");
      EXPECT_EQ(shown->horizontalScrollBar()->maximum(), 0);  // no line cut at the right
      EXPECT_EQ(shown->verticalScrollBar()->maximum(), 0);    // no line below the box
      dialog_driver::screenshot(form, size == 10 ? "text_editor_reentry" : "text_editor_reentry_150");
      click(form, "cancel");
    });
    const std::string msg = " ";
    const std::string names = "LC            ";
    const int16_t msglen = 1, linelen = 78, nlines = 40, help = 0, nnames = 1, mode = 1;
    std::string block(78 * 40, ' ');
    int16_t status = 0;
    GetTextP(&msglen, &linelen, &nlines, &help, &status, &nnames, msg.data(), block.data(), names.data(), &mode,
             "LST");
    EXPECT_TRUE(driver.finish()) << driver.failure();
  }
  set_font_sizes(10);
}

TEST(FormFit, ChoiceListIsAsWideAsItsCaption) {
  // The list of a VAR's variables: short options under a long caption.
  const std::string title = "Choose variable to inspect its single equation results";
  const std::string options = "LC" + std::string(78, ' ') + "LY" + std::string(78, ' ');
  for (const int size : {10, 15}) {
    SCOPED_TRACE(size);
    set_font_sizes(size);
    DialogDriver driver;
    driver.then("Tget1option", [&](QWidget* form) {
      QApplication::processEvents();
      EXPECT_EQ(form->windowTitle().toStdString(), title);
      EXPECT_TRUE(dialog_driver::caption_fits(form)) << form->width();
      dialog_driver::screenshot(form, size == 10 ? "single_choice_caption" : "single_choice_caption_150");
      click(form, "cancel");
    });
    const int16_t titlelen = static_cast<int16_t>(title.size()), nopts = 2, width = 80, help = 0;
    int16_t status = 0, index = 0;
    GET1OPTIONP(&titlelen, &nopts, &width, &help, &status, &index, title.data(), options.data());
    EXPECT_TRUE(driver.finish()) << driver.failure();
  }
  set_font_sizes(10);
}

}  // namespace
