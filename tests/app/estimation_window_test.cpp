// The estimation window: what "&Start" sends, what it reads back, and the method menus.
#include "app/estimation_window.h"
#include "app/zvd_host.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QApplication>

#include <algorithm>
#include <map>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "app/engine_link.h"
#include "app/main_window.h"
#include "app/method_menus.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedEngine;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;

EngineSetting slot(int code, int value) { return {code, false, value, {}}; }
EngineSetting text(int code, const std::string& t) { return {code, true, 0, t}; }

const MethodItem& item_with_tag(MethodMenu menu, int tag) {
  for (const MethodItem& item : method_items(menu))
    if (item.tag == tag) return item;
  throw std::out_of_range("no such tag");
}

TEST(MethodMenus, TagsChooseMethodOptionAndCaption) {
  struct Case {
    MethodMenu menu;
    int tag;
    int method;
    int option;
    const char* caption;
  };
  const Case cases[] = {
      {MethodMenu::kUnivariate, 11, 0, 0, "Linear regression  - Ordinary Least Squares"},
      {MethodMenu::kUnivariate, 22, 1, 1, "Recursive linear regression  - 2-stage Recursive Least Squares"},
      {MethodMenu::kUnivariate, 33, 2, 2, "Rolling linear regression  - Rolling 2-stage least squares"},
      {MethodMenu::kUnivariate, 43, 3, 2, "Non-linear regression  - Nonlinear 2-stage least squares"},
      {MethodMenu::kUnivariate, 52, 4, 1, "Phillips-Hansen estimation  - At least one regressor has a drift"},
      {MethodMenu::kUnivariate, 71, 6, 0, "Logit and Probit models"},
      {MethodMenu::kMultivariate, 11, 0, 0, "Unrestricted VAR"},
      {MethodMenu::kMultivariate, 22, 1, 1, "Cointegrating VAR  - Restricted intercepts, no trends"},
      {MethodMenu::kMultivariate, 24, 1, 3, "Cointegrating VAR  - Unrestricted intercepts, restricted trends"},
      {MethodMenu::kMultivariate, 41, 3, 0, "Restricted SURE method"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    const MethodChoice choice = method_of_tag(c.tag);
    EXPECT_EQ(choice.method, c.method);
    EXPECT_EQ(choice.option, c.option);
    EXPECT_EQ(method_caption(c.menu, item_with_tag(c.menu, c.tag)), QString::fromLatin1(c.caption));
  }
}

TEST(StartRequest, RegistersSlotsAndTextsInOrder) {
  StartInputs ols;
  ols.period1 = "1947";
  ols.period2 = "1962";
  ols.lines = {"Y INPT   ", "X1"};
  EXPECT_EQ(build_start_request(ols).settings,
            (std::vector<EngineSetting>{slot(5, 2), slot(6, 1), slot(9, 1), slot(15, 1), text(2, "1947 1962"),
                                        text(3, " Y INPT X1 ")}));

  StartInputs var;
  var.single_page = false;
  var.var_page = true;
  var.system_method = 1;
  var.system_option = 3;
  var.period1 = "1990M10";
  var.period2 = "1999M12";
  var.var_order = " 2 ";
  var.lines = {"Y X"};
  EXPECT_EQ(build_start_request(var).settings,
            (std::vector<EngineSetting>{slot(5, 3), slot(6, 1), slot(9, 2), slot(15, 1), text(2, "1990M10 1999M12"),
                                        slot(18, 2), slot(19, 4), text(3, " Y X ")}));

  // SURE sends neither the VAR order nor its option.
  StartInputs sure = var;
  sure.var_page = false;
  sure.system_method = 2;
  EXPECT_EQ(build_start_request(sure).settings.size(), 6u);
}

TEST(StartRequest, NumberBoxes) {
  struct Case {
    int method;
    const char* box;
    int sent;  // slot 24, or 0 with `none`
    bool none;
  };
  const Case cases[] = {
      {4, "0", 0, false},      {2, "0", -999, false},   {5, "0", -999, false}, {5, "abc", -999, false},
      {2, " 12 ", 12, false},  {2, "1.5", -999, false}, {0, "12", 0, true},    {3, "12", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    StartInputs in;
    in.single_method = c.method;
    in.window_size = c.box;
    const StartRequest r = build_start_request(in);
    const auto it = std::find_if(r.settings.begin(), r.settings.end(),
                                 [](const EngineSetting& s) { return !s.is_text && s.code == 24; });
    if (c.none) {
      EXPECT_EQ(it, r.settings.end());
    } else {
      ASSERT_NE(it, r.settings.end());
      EXPECT_EQ(it->value, c.sent);
    }
  }
  for (const char* order : {"0", "x", ""}) {
    StartInputs in;
    in.single_page = false;
    in.var_page = true;
    in.var_order = order;
    for (const EngineSetting& s : build_start_request(in).settings) EXPECT_NE(s.code, 18) << order;
  }
}

TEST(StartRequest, SpecificationOfAtMost3117Characters) {
  StartInputs in;
  in.lines = {QString(3115, 'A')};  // " " + line + " " = 3117
  const StartRequest fits = build_start_request(in);
  ASSERT_FALSE(fits.refused);
  EXPECT_EQ(fits.settings.back().text.size(), 3117u);
  in.lines = {QString(3116, 'A')};
  EXPECT_TRUE(build_start_request(in).refused);
  in.lines = QStringList(60, QString(78, 'B'));
  const StartRequest box = build_start_request(in);
  EXPECT_TRUE(box.refused);
  EXPECT_TRUE(box.settings.empty());
}

TEST(EquationText, LoadedLinesAndTheEquationBoxFile) {
  EXPECT_EQ(equation_line("Y=A;B=C   "), "Y=A; B=C");
  EXPECT_EQ(equation_line("Y=A; B=C"), "Y=A; B=C");
  EXPECT_EQ(equation_line("Y=A;"), "Y=A; ");

  // The engine cuts its text every 78 characters: "GDP" spans columns 77 to 79.
  QString first = QString(76, ' ');
  first.replace(0, 6, "Y INPT");
  first += "GD";
  ASSERT_EQ(first.size(), 78);
  QStringList records = {first, "P X;Z" + QString(73, ' ')};
  while (records.size() < 40) records << QString(78, ' ');
  EXPECT_EQ(equation_box_lines(records), (QStringList{"Y INPT GDP X; Z"}));

  // A long text breaks at blanks into lines of at most 78 characters.
  QString words;
  for (int i = 0; i < 30; ++i) words += QStringLiteral("VAR%1 ").arg(i, 3, 10, QChar('0'));
  const QStringList lines = equation_box_lines({words.left(78), words.mid(78, 78), words.mid(156)});
  ASSERT_EQ(lines.size(), 3);
  for (const QString& line : lines) EXPECT_LE(line.size(), 78);
  EXPECT_EQ(lines.join(' ') + ' ', words);
}

// A monthly data set of 120 observations from 1990M1 with two variables.
struct MonthlyWindow {
  MonthlyWindow() {
    state.temp_folder = temp.path().toStdString();
    DataShape& s = state.ws.shape;
    s.nobs = 120;
    s.nvars = 2;
    s.frequency = 5;
    s.periods_per_year = 12;
    s.start_year = 90;
    s.start_period = 1;
    s.century_base = 1900;
    derive_end(s);
    state.ws.names[0] = "Y";
    state.ws.names[1] = "GDP";
    state.data_file_name = "macro.zvd";
    register_data_set(state.ws, "macro.zvd", 3);  // the engine holds it, as after a load
    window.fill_periods();
  }
  QTemporaryDir temp;
  HostState state;
  EstimationWindow window{state};
};

TEST(EstimationWindow, TabAndShiftTabLeaveTheEquationAndSpecificationBoxes) {
  RecordedMessages messages;
  MonthlyWindow w;
  EstimationWindow& window = w.window;
  window.show_page(1);
  window.show();
  for (QPlainTextEdit* box : {window.nonlin(), window.varmemo(), window.surememo()}) {
    box->setPlainText("Y GDP");
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
      box->setFocus();
      QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
      QApplication::sendEvent(box, &press);
      EXPECT_EQ(box->toPlainText(), "Y GDP");  // no tab typed into the equation
      if (box->isVisible()) {
        EXPECT_NE(window.focusWidget(), box) << key;
      }
    }
  }
}

TEST(EstimationWindow, StartSendsTheRequestAndReadsTheAnswerBack) {
  RecordedMessages messages;
  MonthlyWindow w;
  EstimationWindow& window = w.window;
  EXPECT_EQ(window.period1()->itemText(9), "1990M10");
  EXPECT_EQ(window.period2()->currentText(), "1999M12");
  EXPECT_EQ(window.variables_box()->currentText(), "Y");
  EXPECT_EQ(window.windowTitle(), "Estimate/Predict - macro.zvd");

  w.state.single_method = 4;  // fully modified: a window length of 0 is sent as it stands
  window.show_page(1);
  window.window_size()->setText("0");
  window.period1()->setCurrentIndex(9);
  window.nonlin()->setPlainText("Y GDP");
  EXPECT_EQ(build_start_request(window.inputs()).settings[4], text(2, "1990M10 1999M12"));

  // The period typed in small letters is upper-cased and found.
  window.period1()->lineEdit()->clear();
  for (const QChar c : QStringLiteral("1990m10")) {
    QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(window.period1()->lineEdit(), &key);
  }

  std::vector<QString> opened;
  window.open_plot = [&](const QString& path) { opened.push_back(path); };
  RecordedEngine engine_calls;
  engine_calls.driver = [&](int) {
    EXPECT_TRUE(w.state.busy);
    engine::register_int(slots::kSampleStart, 14);
    engine::register_int(slots::kSampleEnd, 100);
    engine::register_int(slots::kSingleEqOptionOut, 7);
    return 3;
  };
  w.state.plot_counter = 5;
  ASSERT_TRUE(window.start());
  EXPECT_FALSE(w.state.busy);
  // Every registration in its order, the monthly sample text whole (15 characters).
  using engine::Call;
  const auto set = [](int code, int value) { return Call{Call::Kind::kInt, code, value, {}}; };
  const auto put = [](int code, const char* t) { return Call{Call::Kind::kChar, code, 0, t}; };
  const std::vector<Call> sent = {set(5, 2), set(6, 5), set(9, 1), set(15, 1), put(2, "1990M10 1999M12"),
                                  set(24, 0), put(3, " Y GDP "), {Call::Kind::kDriver, 3, 3, {}}};
  EXPECT_EQ(std::vector<Call>(engine_calls.calls.begin(), engine_calls.calls.begin() + 8), sent);

  const QString folder = QString::fromStdString(w.state.temp_folder.string());
  EXPECT_EQ(opened, (std::vector<QString>{folder + "/plot8.$$$", folder + "/plot7.$$$", folder + "/plot6.$$$"}));
  EXPECT_EQ(w.state.plot_counter, 8);
  EXPECT_EQ(window.period1()->currentText(), "1991M2");
  EXPECT_EQ(window.period2()->currentText(), "1998M4");
  EXPECT_EQ(w.state.sample_start, 14);
  EXPECT_EQ(window.window_size()->text(), "7");
  EXPECT_TRUE(messages.shown.empty());
}

TEST(EstimationWindow, BoxesReloadWithANameAcrossColumn78Whole) {
  MonthlyWindow w;
  w.window.nonlin()->setPlainText("old");
  EXPECT_FALSE(w.window.reload_equation_boxes());  // no file: the boxes stay
  EXPECT_EQ(w.window.nonlin()->toPlainText(), "old");
  QFile file(QDir(w.temp.path()).filePath("E$.TTT"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  QString first = QString(75, ' ');
  first.replace(0, 5, "Y GDP");
  file.write((first + "GDP\n" + "2 INPT;X" + QString(70, ' ') + "\n").toLatin1());
  for (int i = 2; i < 40; ++i) file.write(QByteArray(78, ' ') + "\n");
  file.close();
  ASSERT_TRUE(w.window.reload_equation_boxes());
  for (QPlainTextEdit* box : {w.window.nonlin(), w.window.varmemo(), w.window.surememo()})
    EXPECT_EQ(box->toPlainText(), "Y GDP GDP2 INPT; X");
}

TEST(EstimationWindow, TooLongASpecificationIsRefusedWithoutCallingTheEngine) {
  RecordedMessages messages;
  MonthlyWindow w;
  int calls = 0;
  RecordedEngine engine_calls;
  engine_calls.driver = [&](int) { return ++calls, 0; };
  w.window.nonlin()->setPlainText(QStringList(60, QString(78, 'B')).join('\n'));
  EXPECT_FALSE(w.window.start());
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(engine_calls.calls.empty());  // nothing registered, nothing cut
  EXPECT_EQ(messages.shown, (std::vector<QString>{"Specification too long: at most 3117 characters"}));
  EXPECT_FALSE(w.state.busy);
}

TEST(EstimationWindow, PagesFollowTheMethod) {
  MonthlyWindow w;
  w.window.show();
  struct Case {
    int method;
    const char* label;  // "" for no number box
  };
  const Case cases[] = {{0, ""}, {2, "Window length:"}, {3, ""}, {4, "Length of lag window:"},
                        {5, "Maximum lag to be used:"}, {6, ""}};
  for (const Case& c : cases) {
    w.state.single_method = c.method;
    w.window.show_page(1);
    EXPECT_EQ(w.window.window_size()->isVisible(), *c.label != '\0') << c.method;
    EXPECT_EQ(w.window.window_size()->isEnabled(), *c.label != '\0') << c.method;
  }
  w.state.system_method = 1;
  w.window.show_page(2);
  EXPECT_EQ(w.window.active_box(), w.window.varmemo());
  EXPECT_TRUE(w.window.var_order()->isVisible());
  w.state.system_method = 3;
  w.window.show_page(2);
  EXPECT_EQ(w.window.active_box(), w.window.surememo());
  EXPECT_FALSE(w.window.var_order()->isVisible());
}

TEST(MainWindowMethods, MenuChoiceShowsTheEstimationWindow) {
  TestHome home;
  RecordedMessages messages;
  MainWindow window(home.ini());
  window.resize(900, 640);
  window.show();
  ASSERT_TRUE(window.open_data_file(QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string())));
  ASSERT_GT(window.estimation()->period1()->count(), 0);

  QAction* rolling = window.method_action(MethodMenu::kUnivariate, 33);
  ASSERT_NE(rolling, nullptr);
  rolling->trigger();
  EXPECT_EQ(window.state().single_method, 2);
  EXPECT_EQ(window.state().single_option, 2);
  EXPECT_TRUE(rolling->isChecked());
  EXPECT_EQ(window.estimation()->status_text(), "Rolling linear regression  - Rolling 2-stage least squares");
  EXPECT_EQ(window.estimation()->help_context(), 20473);
  EXPECT_TRUE(window.estimation_frame()->isVisible());
  window.estimation()->nonlin()->setPlainText("Y INPT X");

  QAction* coint = window.method_action(MethodMenu::kMultivariate, 24);
  coint->trigger();
  EXPECT_EQ(window.state().system_method, 1);
  EXPECT_EQ(window.state().system_option, 3);
  EXPECT_EQ(window.estimation()->outer_page(), 2);
  window.method_action(MethodMenu::kUnivariate, 11)->trigger();
  EXPECT_FALSE(rolling->isChecked());
  EXPECT_EQ(window.estimation()->outer_page(), 1);
  QDir().mkpath(ZV_SCREENSHOT_DIR);
  QApplication::processEvents();  // lays out the status line after its last change
  window.grab().save(QString(ZV_SCREENSHOT_DIR) + "/main_window_estimation.png");
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
