// The question exports driven as the engine calls them and as a user answers them.
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTableWidget>
#include <cstring>
#include <string>

#include "dialogs/check_button_group.h"
#include "dialogs/option_form.h"
#include "qtshared/dialog_folder.h"
#include "qtshared/help.h"
#include "shared/dialog_folder.h"
#include "shared/pravel_api.h"
#include "shared/temp_files.h"
#include "tests/dialogs/dialog_driver.h"

namespace {

using dialog_driver::child;
using dialog_driver::click;
using dialog_driver::DialogDriver;
using dialog_driver::screenshot;
using dialog_driver::type;

/// A blank-padded field of `width` characters.
std::string field(const std::string& text, std::size_t width) {
  std::string out = text.substr(0, std::min(text.size(), width));
  out.resize(width, ' ');
  return out;
}

/// Items of `width` characters each, as the engine passes option lines and names.
std::string items(std::initializer_list<std::string> list, std::size_t width) {
  std::string out;
  for (const std::string& s : list) out += field(s, width);
  return out;
}

TEST(QuestionForms, IntegerAnswers) {
  struct Case {
    const char* typed;
    const char* button;
    int16_t value, status;
  };
  const Case cases[] = {
      {"42", "ok", 42, 1},       {" -17 ", "ok", -17, 1},    {"abc", "ok", -999, 2},
      {"40000", "ok", -999, 2},  {"32767", "ok", 32767, 1},  {"", "ok", -999, 2},
      {"12", "cancel", -999, 2},
  };
  const std::string msg = "How many lags?";
  const int16_t msglen = static_cast<int16_t>(msg.size());
  for (const Case& c : cases) {
    DialogDriver driver;
    driver.then("Tgetint", [&](QWidget* form) {
      if (std::string(c.typed) == "42") screenshot(form, "integer");
      type(form, "answer", c.typed);
      click(form, c.button);
    });
    int16_t value = 4, status = 2;
    const int16_t help = 0;
    GetIntegerP(&msglen, &help, &value, &status, msg.data());
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(value, c.value) << c.typed;
    EXPECT_EQ(status, c.status) << c.typed;
  }
}

TEST(QuestionForms, IntegerThatMustBeAnsweredCannotBeCancelled) {
  const std::string msg = "Order of the VAR:";
  const int16_t msglen = static_cast<int16_t>(msg.size());
  DialogDriver driver;
  driver.then("Tgetint", [](QWidget* form) {
    EXPECT_FALSE(child<QPushButton>(form, "cancel")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(form, "answer")->text(), "3");  // the value passed in
    QTest::keyClick(form, Qt::Key_Escape);                     // ignored
    EXPECT_TRUE(form->isVisible());
    click(form, "ok");
  });
  int16_t value = 3, status = 1;
  const int16_t help = 0;
  GetIntegerP(&msglen, &help, &value, &status, msg.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(value, 3);
  EXPECT_EQ(status, 1);
}

TEST(QuestionForms, RealRefusesOkUntilTheAnswerIsANumber) {
  const std::string msg = "Damping factor:";
  const int16_t msglen = static_cast<int16_t>(msg.size());
  const int16_t help = 2019;
  DialogDriver driver;
  driver.then("Tgetfloat", [](QWidget* form) {
    screenshot(form, "real");
    EXPECT_EQ(child<QLineEdit>(form, "answer")->text(), "0.010");  // 3 decimals
    EXPECT_FALSE(child<QPushButton>(form, "help")->isEnabled());   // always off here
    type(form, "answer", "abc");
    click(form, "ok");
    EXPECT_TRUE(form->isVisible());  // refused
    type(form, "answer", "2.5");
    click(form, "ok");
  });
  int16_t status = 0;
  float value = 0.01f;
  GetRealP(&msglen, &help, &status, &value, msg.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(value, 2.5f);

  DialogDriver cancelled;
  cancelled.then("Tgetfloat", [](QWidget* form) { click(form, "cancel"); });
  GetRealP(&msglen, &help, &status, &value, msg.data());
  EXPECT_TRUE(cancelled.finish()) << cancelled.failure();
  EXPECT_EQ(status, 2);
  EXPECT_EQ(value, -999.0f);
}

TEST(QuestionForms, StringDefaultsAndWriteBack) {
  struct Case {
    const char* start;   // the caller's field
    const char* shown;   // what the edit box starts with
    const char* typed;   // nullptr: keep
    const char* button;
    const char* back;    // the field afterwards
    int16_t status;
  };
  const Case cases[] = {
      {"GDP", "GDP", nullptr, "ok", "GDP", 1},
      {" GDP", "", "CONS", "ok", "CONS", 1},            // a leading blank means no default
      {"GDP", "GDP", "INVESTMENTS", "ok", "INVEST", 1},  // at most the field's width
      {"GDP", "GDP", "X", "cancel", "GDP", 2},          // left as it was
      {"", "", "caf\xc3\xa9", "ok", "caf\xe9", 1},      // Latin-1 in the field
  };
  const std::string msg = "Name of the new variable:";
  const int16_t msglen = static_cast<int16_t>(msg.size());
  const int16_t width = 6;
  for (const Case& c : cases) {
    DialogDriver driver;
    driver.then("Tgetstr", [&](QWidget* form) {
      if (std::string(c.start) == " GDP") screenshot(form, "string");
      EXPECT_EQ(child<QLineEdit>(form, "answer")->text(), QString(c.shown));
      if (c.typed != nullptr) type(form, "answer", QString::fromUtf8(c.typed));
      click(form, c.button);
    });
    std::string text = field(c.start, width);
    int16_t status = 0;
    const int16_t help = 0;
    GetStringP(&msglen, &width, &help, &status, msg.data(), text.data());
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(text, field(c.back, width)) << c.start;
    EXPECT_EQ(status, c.status) << c.start;
  }
}

TEST(QuestionForms, YesNoAnswers) {
  struct Case {
    const char* button;
    int16_t status, answer;
  };
  const Case cases[] = {{"yes", 6, 1}, {"no", 7, 0}, {"cancel", 2, 0}};
  const std::string msg = "Are you sure you want to exit Zelvorin?";
  const int16_t msglen = static_cast<int16_t>(msg.size());
  for (const Case& c : cases) {
    DialogDriver driver;
    driver.then("Tgetlogical", [&](QWidget* form) {
      if (std::string(c.button) == "yes") screenshot(form, "yes_no");
      click(form, c.button);
    });
    int16_t answer = 5, status = 0;
    const int16_t help = 0;
    GetLogP(&msglen, &answer, &help, &status, msg.data());
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(answer, c.answer);
  }
}

TEST(QuestionForms, SingleChoiceHeights) {
  for (const int n : {1, 5, 11, 12, 30}) {
    const pravel::OptionLayout l = pravel::option_layout(n);
    if (n < 12) {
      EXPECT_EQ(l.form_height, 24 * n + 200);
      EXPECT_EQ(l.group_height, 0);
    } else {
      EXPECT_EQ(l.form_height, 464);
      EXPECT_EQ(l.group_height, 24 * n + 24);
    }
  }
  // The shown forms follow the rule: 11 options fill the form, 12 scroll.
  for (const int n : {11, 12, 30}) {
    std::string options;
    for (int i = 0; i < n; ++i) options += field(std::to_string(i % 10) + ". Option " + std::to_string(i), 80);
    const std::string title = "Menu of " + std::to_string(n);
    const int16_t titlelen = static_cast<int16_t>(title.size()), nopts = static_cast<int16_t>(n),
                  width = 80, help = 0;
    DialogDriver driver;
    driver.then("Tget1option", [n](QWidget* form) {
      EXPECT_EQ(form->height(), n < 12 ? 24 * n + 200 : 464);
      const QGroupBox* group = child<QGroupBox>(form, "options");
      if (n >= 12) {
        EXPECT_EQ(group->height(), 24 * n + 24);
        if (n == 30) {
          EXPECT_GT(child<QScrollArea>(form, "scrollBox")->verticalScrollBar()->maximum(), 0);
        }
      }
      click(form, "cancel");
    });
    int16_t status = 0, index = 0;
    GET1OPTIONP(&titlelen, &nopts, &width, &help, &status, &index, title.data(), options.data());
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(status, 2);
  }
}

TEST(QuestionForms, SingleChoiceKeysAndHelpTopics) {
  const std::string title = "Backtracking Menu";
  const std::string options = items({"0. Return to Action Menu", "2. Choose estimation method",
                                     "3. Define new sample period", "Quit"},
                                    80);
  const int16_t titlelen = static_cast<int16_t>(title.size()), nopts = 4, width = 80, help = 2014;
  DialogDriver driver;
  driver.then("Tget1option", [](QWidget* form) {
    screenshot(form, "single_choice");
    EXPECT_EQ(form->windowTitle(), "Backtracking Menu");
    EXPECT_TRUE(child<QRadioButton>(form, "option2")->isChecked());  // the index passed in
    QTest::keyClick(form, Qt::Key_F2);
    EXPECT_EQ(qtshared::help::last_topic(), 20143);
    QTest::keyClick(form, Qt::Key_Down);
    QTest::keyClick(form, Qt::Key_Down);  // stops at the last
    EXPECT_TRUE(child<QRadioButton>(form, "option3")->isChecked());
    QTest::keyClick(form, Qt::Key_F2);    // "Quit" starts with a letter
    EXPECT_EQ(qtshared::help::last_topic(), 2014);
    QTest::keyClick(form, Qt::Key_F1);
    EXPECT_EQ(qtshared::help::last_topic(), 2014);
    for (int i = 0; i < 5; ++i) QTest::keyClick(form, Qt::Key_Up);  // stops at the first
    EXPECT_TRUE(child<QRadioButton>(form, "option0")->isChecked());
    QTest::keyClick(form, Qt::Key_F2);  // topic 20140 is not in the help file: the menu's topic
    EXPECT_EQ(qtshared::help::last_topic(), 2014);
    QTest::keyClick(form, Qt::Key_Down);
    click(form, "ok");
  });
  int16_t status = 0, index = 2;
  GET1OPTIONP(&titlelen, &nopts, &width, &help, &status, &index, title.data(), options.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(index, 1);

  EXPECT_EQ(pravel::option_topic(500, "3. x"), 500);  // small contexts: F2 acts as F1
  EXPECT_EQ(pravel::option_topic(2019, "3. x"), 20193);
}

TEST(QuestionForms, CheckGroupLayout) {
  // 7 items in one column of a group 228 pixels high with a 16-pixel font.
  std::vector<QRect> r = pravel::check_group_layout(7, 1, 200, 228, 16);
  ASSERT_EQ(r.size(), 7u);
  EXPECT_EQ(r[0], QRect(8, 19, 190, 29));
  EXPECT_EQ(r[6].top(), 19 + 6 * 29);
  // 5 items in 2 columns fill column by column: rows 3.
  r = pravel::check_group_layout(5, 2, 210, 100, 10);
  EXPECT_EQ(r[2].left(), 8);
  EXPECT_EQ(r[3].left(), 100 + 8);
  EXPECT_EQ(r[3].top(), r[0].top());
  // Columns clamp to 1..16.
  pravel::CheckButtonGroup group;
  group.set_items({"a", "b", "c"});
  group.set_columns(0);
  EXPECT_EQ(group.columns(), 1);
  group.set_columns(20);
  EXPECT_EQ(group.columns(), 16);
  // The item index clamps, checks its box and clears the previous one.
  group.set_item_index(1);
  group.set_item_index(7);
  EXPECT_EQ(group.item_index(), 2);
  EXPECT_EQ(group.checked(1), 0);
  EXPECT_EQ(group.checked(2), 1);
  group.set_checked(0, -1);
  EXPECT_EQ(group.checked(0), 0);
  EXPECT_EQ(group.checked(9), 0);
  // A group too small for its items keeps rows as high as the font.
  r = pravel::check_group_layout(10, 1, 200, 50, 16);
  EXPECT_EQ(r[1].top() - r[0].top(), 16);
}

TEST(QuestionForms, SeveralChoicesReadAndWriteTheFlags) {
  const std::string title = "Choose the variables to keep";
  const std::string options = items({"GDP", "CONS", "INV", "GOV"}, 40);
  const int16_t titlelen = static_cast<int16_t>(title.size()), nopts = 4, width = 40, help = 0;
  int16_t flags[4] = {1, 0, -1, 0};
  DialogDriver driver;
  driver.then("Tgetsomeoptions", [](QWidget* form) {
    screenshot(form, "several_choices");
    EXPECT_EQ(form->height(), 24 * 4 + 120);
    auto* group = child<pravel::CheckButtonGroup>(form, "options");
    EXPECT_TRUE(group->box(0)->isChecked());
    EXPECT_TRUE(group->box(2)->isChecked());  // any non-zero flag
    group->box(1)->click();
    group->box(0)->click();
    click(form, "ok");
  });
  int16_t status = 0;
  GETSOMEOPTIONSP(&titlelen, &nopts, &width, &help, &status, flags, title.data(), options.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(flags[0], 0);
  EXPECT_EQ(flags[1], 1);
  EXPECT_EQ(flags[2], 1);
  EXPECT_EQ(flags[3], 0);

  DialogDriver cancelled;
  cancelled.then("Tgetsomeoptions", [](QWidget* form) {
    child<pravel::CheckButtonGroup>(form, "options")->box(3)->click();
    click(form, "cancel");
  });
  GETSOMEOPTIONSP(&titlelen, &nopts, &width, &help, &status, flags, title.data(), options.data());
  EXPECT_TRUE(cancelled.finish()) << cancelled.failure();
  EXPECT_EQ(status, 2);
  EXPECT_EQ(flags[3], 0);  // left as they were
}

TEST(QuestionForms, ValueGrid) {
  const std::string msg = "Initial values of the parameters:";
  const std::string names = items({"A0", "A1", "B"}, 14);
  const int16_t msglen = static_cast<int16_t>(msg.size()), n = 3, namewidth = 14, help = 0;
  double values[3] = {0.5, 1e-20, 3.0};
  DialogDriver driver;
  driver.then("Tvargrid", [](QWidget* form) {
    screenshot(form, "value_grid");
    auto* grid = child<QTableWidget>(form, "grid");
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Parameters");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Estimates");
    EXPECT_EQ(grid->item(1, 0)->text(), "A1");
    EXPECT_EQ(grid->item(0, 1)->text(), "0.5");
    EXPECT_EQ(grid->item(1, 1)->text(), "1e-20");
    grid->item(2, 1)->setText("x");
    click(form, "ok");
    EXPECT_TRUE(form->isVisible());  // refused while a cell is not a number
    EXPECT_EQ(grid->currentRow(), 2);
    grid->item(2, 1)->setText("-4.25");
    click(form, "ok");
  });
  int16_t status = 0;
  GetValuesP(values, msg.data(), names.data(), &status, &msglen, &n, &namewidth, &help);
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(values[0], 0.5);
  EXPECT_EQ(values[1], 1e-20);
  EXPECT_EQ(values[2], -4.25);
}

TEST(QuestionForms, MessageBoxHelpDoesNotCloseIt) {
  const std::string msg = "The likelihood function is not defined!";
  const int16_t msglen = static_cast<int16_t>(msg.size()), help = 1000, kind = 2;
  DialogDriver driver;
  driver.then("messageBox", [](QWidget* form) {
    screenshot(form, "message_box");
    EXPECT_EQ(form->windowTitle(), "Error");
    EXPECT_EQ(child<QLabel>(form, "text")->text(), "The likelihood function is not defined!");
    click(form, "help");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(qtshared::help::last_topic(), 1000);
    QWidget* help_window = form->findChild<QWidget*>("helpWindow");
    ASSERT_NE(help_window, nullptr);
    EXPECT_TRUE(help_window->isVisible());
    screenshot(help_window, "help_window");
    click(form, "ok");
  });
  GetOKP(&msglen, &help, &kind, msg.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();

  const int16_t no_help = 0, plain = 9;
  DialogDriver second;
  second.then("messageBox", [](QWidget* form) {
    EXPECT_EQ(form->findChild<QPushButton*>("help"), nullptr);
    EXPECT_EQ(form->findChild<QLabel*>("icon"), nullptr);
    click(form, "ok");
  });
  GetOKP(&msglen, &no_help, &plain, msg.data());
  EXPECT_TRUE(second.finish()) << second.failure();
}

TEST(QuestionForms, InformationShowsEveryLineWithItsBlanks) {
  const std::string text = items({"  Critical values", "  5%    -2.86", ""}, 30);
  const int16_t nlines = 3, width = 30;
  DialogDriver driver;
  driver.then("Tinformation", [](QWidget* form) {
    screenshot(form, "information");
    EXPECT_EQ(child<QPlainTextEdit>(form, "memo")->toPlainText(),
              QString("  Critical values             \n  5%    -2.86                 \n") +
                  QString(30, ' '));
    EXPECT_TRUE(child<QPlainTextEdit>(form, "memo")->isReadOnly());
    click(form, "ok");
  });
  GetOKLongP(&nlines, &width, text.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
}

TEST(QuestionForms, FileDialogsFiltersAndWidths) {
  const QString dir = QString::fromLocal8Bit(std::getenv(temp_files::kSessionFolderVariable));
  {
    std::string name = field("", 1024);
    const int16_t namelen = 1024, unused = 0;
    int16_t mode = 2;
    DialogDriver driver;
    driver.then("fileDialog", [&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      screenshot(w, "file_save");
      EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(d->selectedNameFilter(), "Variable list files (*.LST *.lst)");
      EXPECT_EQ(d->nameFilters().size(), 4);
      dialog_driver::choose_file(d, dir + "/regressors");
    });
    GetFileP(&namelen, &unused, &mode, name.data(), "LST");
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(name, field((dir + "/regressors.LST").toStdString(), 1024));
  }
  {
    // A path longer than the caller's field is refused with an error box; then cancelled.
    std::string name = field("", 20);
    const int16_t namelen = 20, unused = 0;
    int16_t mode = 3;
    DialogDriver driver;
    driver.then("fileDialog", [&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      EXPECT_EQ(d->nameFilters(), QStringList{"Zelvorin data files (*.zvd)"});
      dialog_driver::choose_file(d, dir + "/a-rather-long-file-name.zvd");
      EXPECT_TRUE(d->isVisible());
      d->reject();
    });
    driver.then("messageBox", [](QWidget* form) {
      EXPECT_TRUE(child<QLabel>(form, "text")->text().contains("at most 20 characters"));
      click(form, "ok");
    });
    GetFileP(&namelen, &unused, &mode, name.data(), "ZVD");
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(name, field("", 20));
  }
  {
    // A ZVD file opened to be added to the data set: an open dialog for ZVD files only,
    // which never offers to overwrite it.
    std::string name = field("", 1024);
    const int16_t namelen = 1024, unused = 0;
    int16_t mode = 1;
    DialogDriver driver;
    driver.then("fileDialog", [&](QWidget* w) {
      auto* d = qobject_cast<QFileDialog*>(w);
      EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
      EXPECT_EQ(d->nameFilters(), QStringList{"Zelvorin data files (*.zvd)"});
      d->reject();
    });
    GetFileP(&namelen, &unused, &mode, name.data(), "ZVD");
    EXPECT_TRUE(driver.finish()) << driver.failure();
    EXPECT_EQ(mode, 2);
  }
}

// The engine's file dialogs open where the user last was: the folder of the data file or
// of the last file chosen in any file dialog of the process, and the file chosen here
// becomes the next starting point.
TEST(QuestionForms, FileDialogsOpenInTheLastFolderUsed) {
  const QString session = QString::fromLocal8Bit(std::getenv(temp_files::kSessionFolderVariable));
  QDir(session).mkpath("data");
  QDir(session).mkpath("results");
  qtshared::remember_dialog_file(session + "/data/macro.zvd");
  std::string name = field("", 1024);
  const int16_t namelen = 1024, unused = 0;
  int16_t mode = 2;
  QString opened_in;
  DialogDriver driver;
  driver.then("fileDialog", [&](QWidget* w) {
    auto* d = qobject_cast<QFileDialog*>(w);
    opened_in = d->directory().absolutePath();
    dialog_driver::choose_file(d, session + "/results/run1");
  });
  GetFileP(&namelen, &unused, &mode, name.data(), "OUT");
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(opened_in.toStdString(), (session + "/data").toStdString());
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(qtshared::dialog_start_folder().toStdString(), (session + "/results").toStdString());
  ::unsetenv(dialog_folder::kFolderVariable);
}

// The engine's texts reach the screen as the engine wrote them: an "&" in a menu option, a
// check-box item, a group title or a message is shown, not read as a shortcut marker; the
// library's own captions keep their shortcuts.

/// What a button or group title shows for `caption`: a lone "&" marks the next letter as
/// the shortcut and is not drawn, "&&" draws one "&".
QString shown(const QString& caption) {
  QString out;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
    out += caption[i];
  }
  return out;
}

bool has_shortcut(const QString& caption) { return !QKeySequence::mnemonic(caption).isEmpty(); }

TEST(EngineTexts, MenuOptionsShowTheirAmpersands) {
  const std::string title = "Backtracking Menu";
  const std::string options = field("1. Return to Single Equation Estimation Window", 80) +
                              field("2.  Choose estimation method for existing equation & sample", 80) +
                              field("5.  Define & estimate new equation over a new sample period", 80) +
                              field("3. Unit root tests for residuals (OLS & NLS)", 80);
  const int16_t titlelen = static_cast<int16_t>(title.size()), nopts = 4, width = 80, help = 0;
  DialogDriver driver;
  driver.then("Tget1option", [](QWidget* form) {
    const char* expected[] = {"1. Return to Single Equation Estimation Window",
                              "2.  Choose estimation method for existing equation & sample",
                              "5.  Define & estimate new equation over a new sample period",
                              "3. Unit root tests for residuals (OLS & NLS)"};
    for (int i = 0; i < 4; ++i) {
      const QString caption = child<QRadioButton>(form, QStringLiteral("option%1").arg(i).toLatin1())->text();
      EXPECT_EQ(shown(caption), expected[i]);
      EXPECT_FALSE(has_shortcut(caption)) << expected[i];
    }
    screenshot(form, "menu_with_ampersands");
    // The form's own buttons keep theirs.
    EXPECT_TRUE(has_shortcut(child<QPushButton>(form, "ok")->text()));
    EXPECT_TRUE(has_shortcut(child<QPushButton>(form, "cancel")->text()));
    child<QRadioButton>(form, "option2")->click();
    click(form, "ok");
  });
  int16_t status = 0, index = 0;
  GET1OPTIONP(&titlelen, &nopts, &width, &help, &status, &index, title.data(), options.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(index, 2);
}

TEST(EngineTexts, CheckGroupItemsAndTitleShowTheirAmpersands) {
  const std::string title = "Choose R&D series & others";
  const std::string options = field("S&P 500", 40) + field("AT&T & co", 40) + field("GDP", 40);
  const int16_t titlelen = static_cast<int16_t>(title.size()), nopts = 3, width = 40, help = 0;
  int16_t flags[3] = {0, 1, 0};
  DialogDriver driver;
  driver.then("Tgetsomeoptions", [](QWidget* form) {
    auto* group = child<pravel::CheckButtonGroup>(form, "options");
    EXPECT_EQ(shown(group->title()), "Choose R&D series & others");
    EXPECT_FALSE(has_shortcut(group->title()));
    EXPECT_EQ(group->items(), QStringList({"S&P 500", "AT&T & co", "GDP"}));  // the items as passed
    const char* expected[] = {"S&P 500", "AT&T & co", "GDP"};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(shown(group->box(i)->text()), expected[i]);
      EXPECT_FALSE(has_shortcut(group->box(i)->text())) << expected[i];
    }
    screenshot(form, "check_group_with_ampersands");
    group->box(0)->click();
    click(form, "ok");
  });
  int16_t status = 0;
  GETSOMEOPTIONSP(&titlelen, &nopts, &width, &help, &status, flags, title.data(), options.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();
  EXPECT_EQ(flags[0], 1);
  EXPECT_EQ(flags[1], 1);
}

TEST(EngineTexts, MessageBoxAndPromptsShowTheirAmpersands) {
  const std::string msg = "Tests for OLS & NLS only: R&D is not a valid name";
  const int16_t msglen = static_cast<int16_t>(msg.size()), help = 0, kind = 2;
  DialogDriver driver;
  driver.then("messageBox", [](QWidget* form) {
    const QLabel* text = child<QLabel>(form, "text");
    EXPECT_EQ(text->text(), "Tests for OLS & NLS only: R&D is not a valid name");
    EXPECT_EQ(text->textFormat(), Qt::PlainText);
    EXPECT_EQ(text->buddy(), nullptr);  // a label without buddy draws "&" as it stands
    click(form, "ok");
  });
  GetOKP(&msglen, &help, &kind, msg.data());
  EXPECT_TRUE(driver.finish()) << driver.failure();

  const std::string question = "Save R&D & GDP?";
  const int16_t qlen = static_cast<int16_t>(question.size());
  DialogDriver yes_no;
  yes_no.then("Tgetlogical", [](QWidget* form) {
    const auto labels = form->findChildren<QLabel*>();
    bool found = false;
    for (const QLabel* l : labels)
      if (l->text() == "Save R&D & GDP?" && l->buddy() == nullptr) found = true;
    EXPECT_TRUE(found);
    click(form, "no");
  });
  int16_t answer = 0, status = 0;
  GetLogP(&qlen, &answer, &help, &status, question.data());
  EXPECT_TRUE(yes_no.finish()) << yes_no.failure();
}

TEST(EngineTexts, EditorTitleShowsTheSeparatorTheEngineMeans) {
  // The engine writes "&&" in its editor titles for the one "&" that separates two lists.
  const std::string msg = " Separate the two sets of variables by &&.";
  const std::string names = "GDP           ";
  const int16_t msglen = static_cast<int16_t>(msg.size()), linelen = 78, nlines = 40, help = 0, nnames = 1,
                mode = 0;
  std::string block(78 * 40, ' ');
  DialogDriver driver;
  driver.then("Teditor", [](QWidget* form) {
    EXPECT_EQ(child<QLabel>(form, "message")->text().trimmed(), "Separate the two sets of variables by &.");
    click(form, "cancel");
  });
  int16_t status = 0;
  GetTextP(&msglen, &linelen, &nlines, &help, &status, &nnames, msg.data(), block.data(), names.data(), &mode,
           "EQU");
  EXPECT_TRUE(driver.finish()) << driver.failure();
}

}  // namespace
