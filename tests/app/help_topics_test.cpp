// Help in the program's windows and the dialog library's forms: every help context they use
// has a topic in the help file, and the estimation window and the command editor open theirs.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>

#include "app/command_editor.h"
#include "app/estimation_window.h"
#include "app/host_state.h"
#include "app/main_window.h"
#include "app/method_menus.h"
#include "qtshared/help.h"
#include "tests/app/app_test_support.h"
#include "tests/dialogs/dialog_driver.h"
#include "tests/support/help_contexts.h"

namespace {

using namespace zelvorin;
using zelvorin::testing::RecordedMessages;
using zelvorin::testing::TestHome;
namespace help = zv_test::help_contexts;

TEST(HelpTopics, EveryContextOfTheProgramAndTheDialogsHasATopic) {
  help::Uses uses;
  for (const MethodMenu menu : {MethodMenu::kUnivariate, MethodMenu::kMultivariate}) {
    uses[method_menu_help(menu)].insert("method menu");
    for (const MethodItem& item : method_items(menu)) {
      if (item.group_help != 0) uses[item.group_help].insert(std::string("method group ") + item.group);
      uses[item.help].insert(std::string("method item ") + item.caption);
    }
  }
  const HostState defaults;
  uses[defaults.single_help].insert("estimation window, single equation");
  uses[defaults.system_help].insert("estimation window, systems");
  help::scan_sources(
      {"app", "dialogs", "qtshared"},
      {
          {"help constant", R"(constexpr\s+int\s+k\w*(?:Help|Topic|HelpContext)\s*=\s*(\d+)\s*;)", help::as_is},
          {"help property", R"("helpContext"\s*,\s*(\d+)\s*\))", help::as_is},
          {"help member", R"(\b[a-z_]*help(?:_context)?_?\s*=\s*(\d+)\s*;)", help::as_is},
      },
      uses);
  help::expect_topics(uses);
}

struct OpenWindow {
  TestHome home;
  RecordedMessages messages;
  MainWindow window{home.ini()};
  OpenWindow() {
    qtshared::help::set_file(std::filesystem::path(ZV_SOURCE_DIR) / "dialogs" / "help" / "zelvorin.hlp");
    window.resize(900, 640);
    window.show();
    EXPECT_TRUE(window.open_data_file(
        QString::fromStdString((zelvorin::testing::sample_folder() / "usmacro.zvd").string())));
  }
  /// F1 in `box` of the estimation window, which has the focus: the topic it opened.
  int f1_in(QWidget* box) {
    QApplication::setActiveWindow(&window);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F1);
    return qtshared::help::last_topic();
  }
};

TEST(HelpTopics, F1InTheEstimationWindowOpensTheChosenMethodsTopic) {
  OpenWindow w;
  EstimationWindow* estimation = w.window.estimation();
  struct Case {
    MethodMenu menu;
    int tag;
    int topic;
  };
  const Case cases[] = {
      {MethodMenu::kUnivariate, 11, 20141},    // ordinary least squares, the first topic a user meets
      {MethodMenu::kUnivariate, 61, 20396},    // ARDL
      {MethodMenu::kMultivariate, 11, 20321},  // unrestricted VAR
      {MethodMenu::kMultivariate, 23, 20253},  // cointegrating VAR
      {MethodMenu::kMultivariate, 31, 20323},  // SURE
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.topic);
    w.window.method_action(c.menu, c.tag)->trigger();
    EXPECT_EQ(w.f1_in(estimation->active_box()), c.topic);
    EXPECT_TRUE(qtshared::help::find_topic(c.topic).has_value());
  }
}

TEST(HelpTopics, VarPagesTellHowToTypeTheListAndTheDeterministicPart) {
  OpenWindow w;
  EstimationWindow* estimation = w.window.estimation();
  for (const int tag : {11, 21}) {
    SCOPED_TRACE(tag);
    w.window.method_action(MethodMenu::kMultivariate, tag)->trigger();
    const QLabel* text = estimation->var_explanation();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isVisible());
    EXPECT_TRUE(text->text().contains("Separate the two sets of variables by &.")) << text->text().toStdString();
    EXPECT_TRUE(text->text().contains("For example:")) << text->text().toStdString();
    dialog_driver::screenshot(estimation, tag == 11 ? "estimation_var_page" : "estimation_cointegration_page");
  }
  EXPECT_TRUE(estimation->var_explanation()->text().contains("Do not include an intercept or a trend"));
}

TEST(HelpTopics, CommandEditorHelpOpensItsTopic) {
  OpenWindow w;
  CommandEditor* editor = w.window.command_editor();
  ASSERT_NE(editor, nullptr);
  QPushButton* help_button = nullptr;
  for (QPushButton* b : editor->findChildren<QPushButton*>())
    if (b->text() == "&Help") help_button = b;
  ASSERT_NE(help_button, nullptr);
  help_button->click();
  EXPECT_EQ(qtshared::help::last_topic(), 3000);
  EXPECT_TRUE(qtshared::help::find_topic(3000).has_value());
}

}  // namespace
