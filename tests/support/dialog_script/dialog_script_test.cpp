// The scripted dialog stand-in: its script language, its strict and rule modes, its
// failures and cap, and the dialog library's conversions it reproduces.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shared/fixed_text.h"
#include "shared/pravel_api.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using Lines = std::vector<std::string>;

class DialogScriptTest : public ::testing::Test {
 protected:
  void SetUp() override { dialog_script::reset(); }
};

// Small callers of the exports, as the engine calls them.
struct Menu {
  int16_t status = 0;
  int16_t index = 0;
};
Menu menu(int help, const std::string& title, const Lines& options, int16_t preselected = 0) {
  const int16_t tl = static_cast<int16_t>(title.size()), n = static_cast<int16_t>(options.size()), w = 80,
                h = static_cast<int16_t>(help);
  const std::string block = fixed_text::join_items(options, 80, n);
  Menu m;
  m.index = preselected;
  GET1OPTIONP(&tl, &n, &w, &h, &m.status, &m.index, title.data(), block.data());
  return m;
}
struct IntAnswer {
  int16_t value;
  int16_t status;
};
IntAnswer integer(const std::string& prompt, int16_t value = 0, int16_t status = 0, int16_t help = 0) {
  const int16_t len = static_cast<int16_t>(prompt.size());
  GetIntegerP(&len, &help, &value, &status, prompt.data());
  return {value, status};
}
void message(int16_t kind, const std::string& text, int16_t help = 0) {
  const int16_t len = static_cast<int16_t>(text.size());
  GetOKP(&len, &help, &kind, text.data());
}

std::filesystem::path temp_file(const std::string& name, const std::string& content) {
  const auto path = std::filesystem::temp_directory_path() / ("dialog_script_test_" + name);
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

TEST_F(DialogScriptTest, RulesAnswerInOrderAndOnceRulesAreDropped) {
  dialog_script::load(R"(
    # a comment line
    menu 1039 -> 2 once     # the first showing of the menu
    menu "estimation" -> 1  # then by a text in its title, any case
    integer "how many" -> 12
  )");
  const Lines options = {"0. Move to Action Menu", "1. Linear", "2. Recursive"};
  EXPECT_EQ(menu(2039, "Single Equation Estimation Menu", options).index, 2);
  EXPECT_EQ(menu(2039, "Single Equation Estimation Menu", options).index, 1);
  EXPECT_EQ(menu(2040, "Other Estimation Menu", options).index, 1);
  const IntAnswer a = integer("How many observations?");
  EXPECT_EQ(a.value, 12);
  EXPECT_EQ(a.status, 1);
  EXPECT_TRUE(dialog_script::failures().empty());
  EXPECT_EQ(dialog_script::dialogs_shown(), 4);
}

TEST_F(DialogScriptTest, AnOptionTextPicksFromAListWithoutNumbers) {
  dialog_script::load("menu \"exists\" -> \"append to existing file\"\nmenu -> \"Rename\"\n");
  const Lines options = {"Quit", "Overwrite existing file", "Append to existing file"};
  const Menu m = menu(0, "File /tmp/a.OUT exists", options);
  EXPECT_EQ(m.status, 1);
  EXPECT_EQ(m.index, 2);
  EXPECT_TRUE(dialog_script::failures().empty());
  EXPECT_EQ(menu(0, "Other", options).status, 2);  // no line reads "Rename"
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);
}

TEST_F(DialogScriptTest, UnmatchedDialogsAreCancelledOrGivenTheirDefaultAndFail) {
  dialog_script::load("menu 1008 -> 1\n");
  const Menu m = menu(2039, "Single Equation Estimation Menu", {"0. Back", "1. Go"});
  EXPECT_EQ(m.status, 2);
  const IntAnswer cancelled = integer("Order?", 4);
  EXPECT_EQ(cancelled.status, 2);
  EXPECT_EQ(cancelled.value, -999);
  const IntAnswer must = integer("Order?", 4, 1);  // no Cancel button: OK with the default
  EXPECT_EQ(must.status, 1);
  EXPECT_EQ(must.value, 4);
  EXPECT_EQ(dialog_script::transcript(),
            (Lines{"menu 2039 Single Equation Estimation Menu -> UNMATCHED cancel", "  0. Back", "  1. Go",
                   "integer 0 Order? -> UNMATCHED cancel", "integer 0 Order? -> UNMATCHED default 4"}));
  const Lines failures = dialog_script::take_failures();
  ASSERT_EQ(failures.size(), 3u);
  EXPECT_EQ(failures[0], "UNMATCHED menu 2039 Single Equation Estimation Menu");
  EXPECT_TRUE(dialog_script::failures().empty());
}

TEST_F(DialogScriptTest, StrictScriptsAreExpectationsInOrder) {
  dialog_script::load("strict\nmenu 1039 -> 1\ninteger \"order\" -> 2\nyesno -> yes\n");
  EXPECT_EQ(menu(2039, "Single Equation Estimation Menu", {"0. Back", "1. Go"}).index, 1);
  // The next expectation is the integer: a menu does not fit it and is not answered.
  EXPECT_EQ(menu(2039, "Single Equation Estimation Menu", {"0. Back", "1. Go"}).status, 2);
  EXPECT_EQ(integer("AR order").value, 2);
  const Lines failures = dialog_script::take_failures();
  EXPECT_EQ(failures, (Lines{"UNMATCHED menu 2039 Single Equation Estimation Menu (expected line 3: integer "
                             "\"order\" -> 2)",
                             "UNUSED line 4: yesno -> yes"}));
}

TEST_F(DialogScriptTest, StrictExpectationsAreUsedOnceEach) {
  dialog_script::load("strict\ninteger -> 5\n");
  EXPECT_EQ(integer("A").value, 5);
  EXPECT_EQ(integer("B").status, 2);
  EXPECT_EQ(dialog_script::take_failures(), (Lines{"UNMATCHED integer 0 B (the strict script has ended)"}));
}

TEST_F(DialogScriptTest, TheCapStopsALoopThatKeepsAsking) {
  dialog_script::load("integer -> 0\n");
  dialog_script::set_cap(3);
  int asked = 0;
  EXPECT_THROW(
      {
        for (;;) {  // a caller that asks again until it gets a positive answer
          ++asked;
          if (integer("Positive number?", 0, 1).value > 0) break;
        }
      },
      dialog_script::CapReached);
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(dialog_script::transcript().back(), "CAP more than 3 dialogs");
  EXPECT_EQ(dialog_script::take_failures(), (Lines{"CAP more than 3 dialogs"}));
}

TEST_F(DialogScriptTest, BadScriptsNameTheirLine) {
  struct Case {
    const char* script;
    const char* message;
  };
  const Case cases[] = {
      {"menu -> 1\nmenus -> 1", "line 2: unknown dialog kind 'menus'"},
      {"menu 1039 1", "line 1: a rule needs '->' before its answer"},
      {"menu -> one", "line 1: 'one' is not a whole number"},
      {"string -> unquoted", "line 1: a string answer must be one double-quoted text or cancel"},
      {"yesno -> maybe", "line 1: a yesno answer is yes or no"},
      {"results -> save-results", "line 1: a results answer is close, save-results PATH or save-model PATH"},
      {"graph -> cancel", "line 1: a graph answer is keep or close"},
      {"text -> \"open", "line 1: unclosed double quote"},
      {"real -> 1,5", "line 1: a real answer is one number or cancel"},
      {"\n\nvalues -> 1 x", "line 3: 'x' is not a number"},
      {"integer ->", "line 1: missing answer after '->'"},
  };
  for (const Case& c : cases) {
    try {
      dialog_script::load(c.script);
      ADD_FAILURE() << "accepted: " << c.script;
    } catch (const std::invalid_argument& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
}

TEST_F(DialogScriptTest, ScriptsLoadFromFiles) {
  const auto path = temp_file("script.txt", "strict\r\nyesno \"quit\" -> no\r\n");
  dialog_script::load_file(path);
  const std::string prompt = "Do you want to quit?";
  const int16_t len = static_cast<int16_t>(prompt.size()), help = 0;
  int16_t answer = 5, status = 0;
  GetLogP(&len, &answer, &help, &status, prompt.data());
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(status, 7);
  EXPECT_TRUE(dialog_script::failures().empty());
  std::filesystem::remove(path);
  EXPECT_THROW(dialog_script::load_file(path), std::invalid_argument);
}

TEST_F(DialogScriptTest, MenusAreAnsweredByTheNumberTheirLinesShow) {
  dialog_script::load("menu 1007 -> 9\nmenu -> 3\n");
  const Lines options = {"1. Undated", "2. Annual", "3. Half-yearly"};
  const Menu m = menu(2004, "Backtracking", options);
  EXPECT_EQ(m.status, 1);
  EXPECT_EQ(m.index, 2);  // the third line, whose number is 3
  EXPECT_EQ(menu(2007, "Frequency", options).status, 2);  // no line shows 9
  const Lines failures = dialog_script::take_failures();
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_NE(failures[0].find("no option line shows 9."), std::string::npos);
  EXPECT_EQ(dialog_script::transcript()[4], "menu 2007 Frequency -> INVALID 9; cancel");
  EXPECT_EQ(dialog_script::calls()[0].detail, 0);
}

TEST_F(DialogScriptTest, IntegerAnswersAreReadAsTheDialogReadsThem) {
  struct Case {
    const char* rule;
    int16_t value;
    int16_t status;
  };
  const Case cases[] = {
      {"integer -> 17", 17, 1},        {"integer -> -3", -3, 1},
      {"integer -> \"abc\"", -999, 2}, {"integer -> \" 8 \"", 8, 1},
      {"integer -> 40000", -999, 2},   {"integer -> -999", -999, 2},
      {"integer -> cancel", -999, 2},
  };
  for (const Case& c : cases) {
    dialog_script::reset();
    dialog_script::load(c.rule);
    const IntAnswer a = integer("N?", 7);
    EXPECT_EQ(a.value, c.value) << c.rule;
    EXPECT_EQ(a.status, c.status) << c.rule;
  }
  dialog_script::reset();
  dialog_script::load("integer -> cancel");
  EXPECT_EQ(integer("N?", 7, 1).value, 7);  // a question without Cancel cannot be cancelled
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);
}

TEST_F(DialogScriptTest, RealsStringsAndYesNo) {
  dialog_script::load(R"(
    real -> 0.01
    string "name" -> "GDP"
    string "sample" -> cancel
    yesno -> yes
  )");
  const std::string rp = "Damping factor";
  int16_t len = static_cast<int16_t>(rp.size()), help = 0, status = 0;
  float value = 5.0f;
  GetRealP(&len, &help, &status, &value, rp.data());
  EXPECT_EQ(status, 1);
  EXPECT_EQ(value, 0.01f);

  std::string answer = " old default";  // a leading blank: the edit box starts empty
  const std::string sp = "New name";
  const int16_t width = 12;
  len = static_cast<int16_t>(sp.size());
  GetStringP(&len, &width, &help, &status, sp.data(), answer.data());
  EXPECT_EQ(status, 1);
  EXPECT_EQ(answer, "GDP         ");
  EXPECT_EQ(dialog_script::calls()[1].items, (Lines{""}));
  std::string kept = "1970 1990   ";
  const std::string sp2 = "Sample period";
  len = static_cast<int16_t>(sp2.size());
  GetStringP(&len, &width, &help, &status, sp2.data(), kept.data());
  EXPECT_EQ(status, 2);
  EXPECT_EQ(kept, "1970 1990   ");

  int16_t yes = 0;
  const std::string yp = "Continue?";
  len = static_cast<int16_t>(yp.size());
  GetLogP(&len, &yes, &help, &status, yp.data());
  EXPECT_EQ(yes, 1);
  EXPECT_EQ(status, 6);
  EXPECT_EQ(dialog_script::transcript(),
            (Lines{"real 0 Damping factor -> 0.01", "string 0 New name -> \"GDP\"",
                   "string 0 Sample period -> cancel", "yesno 0 Continue? -> yes"}));
}

TEST_F(DialogScriptTest, EditorTextComesBackAsOneBlankFilledBlock) {
  dialog_script::load("text \"equation\" -> \"Y C X\\nZ\"\ntext -> \"0123456789012\"\n");
  const std::string title = "Specify the equation";
  std::string block(12, 'q');
  const int16_t tl = static_cast<int16_t>(title.size()), linelen = 6, nlines = 2, help = 2005, nnames = 2, mode = 2;
  int16_t status = 0;
  const std::string names = fixed_text::pad("Y", 14) + fixed_text::pad("X", 14);
  GetTextP(&tl, &linelen, &nlines, &help, &status, &nnames, title.data(), block.data(), names.data(), &mode, "EQU");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(block, "Y C X Z     ");  // the typed line break is one blank
  EXPECT_EQ(dialog_script::calls()[0].items.size(), 2u);
  const std::string other = "Other";
  const int16_t ol = 5;
  GetTextP(&ol, &linelen, &nlines, &help, &status, &nnames, other.data(), block.data(), names.data(), &mode, "EQU");
  EXPECT_EQ(status, 2);  // 13 characters do not fit 12: refused
  EXPECT_EQ(block, "Y C X Z     ");
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);
}

TEST_F(DialogScriptTest, ChoicesValuesAndFiles) {
  dialog_script::load(R"(
    choices "more" -> 4
    choices -> 2 3
    values "keep" -> keep
    values -> 0.5 -1e-3
    file "save OUT" -> "/tmp/my results.out"
    file -> cancel
  )");
  const std::string title = "Choose";
  const int16_t tl = static_cast<int16_t>(title.size()), n = 3, w = 10, help = 0;
  const std::string options = fixed_text::join_items(Lines{" quit", "Y", "X"}, 10, 3);
  int16_t flags[3] = {1, 0, 0};
  int16_t status = 0;
  GETSOMEOPTIONSP(&tl, &n, &w, &help, &status, flags, title.data(), options.data());
  EXPECT_EQ(status, 1);
  EXPECT_EQ((std::vector<int16_t>{flags[0], flags[1], flags[2]}), (std::vector<int16_t>{0, 1, 1}));
  const std::string more = "Choose more";
  const int16_t ml = static_cast<int16_t>(more.size());
  GETSOMEOPTIONSP(&ml, &n, &w, &help, &status, flags, more.data(), options.data());
  EXPECT_EQ(status, 2);  // there is no fourth option
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);

  double values[2] = {1, 2};
  const std::string names = "A1B2";
  const std::string vp = "Initial values", kp = "keep these";
  const int16_t vl = static_cast<int16_t>(vp.size()), kl = static_cast<int16_t>(kp.size()), nv = 2, nw = 2;
  GetValuesP(values, vp.data(), names.data(), &status, &vl, &nv, &nw, &help);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(values[0], 0.5);
  EXPECT_EQ(values[1], -1e-3);
  GetValuesP(values, kp.data(), names.data(), &status, &kl, &nv, &nw, &help);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(values[0], 0.5);

  std::string name(40, ' ');
  const int16_t nl = 40, unused = 0;
  int16_t mode = 2;
  GetFileP(&nl, &unused, &mode, name.data(), "OUT");
  EXPECT_EQ(mode, 1);
  EXPECT_EQ(name, fixed_text::pad("/tmp/my results.out", 40));
  mode = 1;
  GetFileP(&nl, &unused, &mode, name.data(), "BAT");
  EXPECT_EQ(mode, 2);
  const Lines& t = dialog_script::transcript();
  EXPECT_EQ(t[t.size() - 2], "file 0 save OUT -> \"/tmp/my results.out\"");
  EXPECT_EQ(t.back(), "file 0 open BAT -> cancel");
}

TEST_F(DialogScriptTest, MessagesAndBusyStateAreRecorded) {
  message(2, "Cannot open file  ", 12);
  message(3, " Leading blank kept");
  const std::string lines = fixed_text::join_items(Lines{"First line", "", "  Third"}, 80, 3);
  const int16_t nl = 3, w = 80;
  GetOKLongP(&nl, &w, lines.data());
  const int16_t bl = 11;
  StartCalcP(&bl, "Working... ");
  StopCalcP();
  DoBeepP();
  EXPECT_EQ(dialog_script::transcript(),
            (Lines{"message error 12 Cannot open file", "message information 0  Leading blank kept", "message long",
                   "  First line", "  ", "    Third", "busy begin Working...", "busy end", "beep"}));
  EXPECT_EQ(dialog_script::calls()[0].text, "Cannot open file  ");
  EXPECT_EQ(dialog_script::dialogs_shown(), 4);
}

TEST_F(DialogScriptTest, ResultsPagesAreReadWhenShownAndSavesAnswerAsTheViewerDoes) {
  const auto page = temp_file("J$.OOO", "   Ordinary Least Squares   \r\n\n  R-Squared  .5\n");
  dialog_script::load(R"(
    results "least squares" -> save-results /tmp/out1.OUT once
    results -> save-model /tmp/m.MOD
  )");
  const std::string page_name = page.string();
  const int16_t l1 = static_cast<int16_t>(page_name.size()), l2 = 20, l3 = 20;
  std::string results(20, ' '), model = fixed_text::pad("old.MOD", 20);
  int16_t action = 0;
  ShowResultsP(page_name.data(), &l1, results.data(), &l2, model.data(), &l3, &action);
  EXPECT_EQ(action, 3);
  EXPECT_EQ(results, fixed_text::pad("/tmp/out1.OUT", 20));
  EXPECT_EQ(model, fixed_text::pad("old.MOD", 20));

  action = 1;  // the model buttons are enabled
  ShowResultsP(page_name.data(), &l1, results.data(), &l2, model.data(), &l3, &action);
  EXPECT_EQ(action, 2);
  EXPECT_EQ(model, fixed_text::pad("/tmp/m.MOD", 20));

  action = 0;  // now they are not
  ShowResultsP(page_name.data(), &l1, results.data(), &l2, model.data(), &l3, &action);
  EXPECT_EQ(action, 0);
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);

  const std::string name = page.filename().string();
  const Lines expected = {"results 0 " + name + " -> save-results /tmp/out1.OUT",
                          "--- page 1 ---",
                          "   Ordinary Least Squares",
                          "",
                          "  R-Squared  .5",
                          "--- end page ---",
                          "results 0 " + name + " -> save-model /tmp/m.MOD",
                          "--- page 2 ---"};
  const Lines& t = dialog_script::transcript();
  ASSERT_GE(t.size(), expected.size());
  EXPECT_EQ(Lines(t.begin(), t.begin() + static_cast<long>(expected.size())), expected);
  EXPECT_EQ(t[12], "results 0 " + name + " -> INVALID save-model /tmp/m.MOD; close");
  std::filesystem::remove(page);
}

TEST_F(DialogScriptTest, GraphsShowTheirFileNameAndTitle) {
  const auto plot = temp_file("plot3.$$$", " Plot of residuals\n *\n 0 1 10 0\n");
  dialog_script::load("graph \"residuals\" -> keep\ngraph -> close\n");
  const std::string name = plot.string();
  const int16_t len = static_cast<int16_t>(name.size());
  int16_t keep = 0;
  ShowGraphP(name.data(), &len, &keep);
  EXPECT_EQ(keep, 1);
  std::filesystem::remove(plot);
  ShowGraphP(name.data(), &len, &keep);  // a missing plot file is a failure
  EXPECT_EQ(keep, 0);
  EXPECT_EQ(dialog_script::transcript()[0], "graph 0 " + plot.filename().string() + " Plot of residuals -> keep");
  EXPECT_EQ(dialog_script::take_failures().size(), 1u);
}

}  // namespace
