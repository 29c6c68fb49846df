// The post-regression dialogue walked through its menus with scripted answers.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/order_prompts.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
namespace small = qorv::testing::small;

namespace {

class PostRegression : public qorv::testing::PostRegressionTest {};

/// The menu calls of menu `number`, in order.
std::vector<dialog_script::Call> menu_calls(int number) {
  std::vector<dialog_script::Call> out;
  for (const auto& c : dialog_script::calls())
    if (c.kind == "menu" && c.help_context == number + 1000) out.push_back(c);
  return out;
}

std::string trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

bool transcript_has(const std::string& text) {
  return dialog_script::transcript_text().find(text) != std::string::npos;
}

TEST_F(PostRegression, MenusFollowTheMethod) {
  struct Row {
    int method;
    const char* option0;   ///< option 0 of the Post Regression Menu
    int preselected;       ///< its option offered first
    int hypothesis_first;  ///< the Hypothesis Testing Menu's, or -1 when it does not open
    int residual_options;  ///< options of the residuals menu, or 0 when it does not open
  };
  const Row rows[] = {
      {1, "Move to Backtracking Menu", 2, 1, 8},
      {5, "Move to Backtracking Menu", 2, 1, 8},
      {3, "Move to Backtracking Menu", 1, 7, 8},
      {14, "Move to Backtracking Menu", 2, 1, 8},
      {70, "Move to GARCH Estimation Menu", 1, 7, 10},
      {17, "Choose another equation to inspect", 2, 1, 8},
      {82, "Choose another equation to inspect", 2, 1, 8},
      {83, "Choose another equation to inspect", 1, -1, 8},
      {79, "Move to Post ARDL Model Selection Menu", 2, 1, 8},
      {80, "Move to Post ARDL Model Selection Menu", 2, 7, 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.method);
    dialog_script::reset();
    dialog_script::load(
        "results -> close\n"
        "menu 1002 -> 2 once\nmenu 1019 -> 0\n"
        "menu 1002 -> 3 once\nmenu 1037 -> 0\n"
        "menu 1002 -> 0\n");
    estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
    single::estimation().method = r.method;
    diagnostics::POSTREGRESSION();
    const auto post = menu_calls(1002);
    ASSERT_EQ(post.size(), 3u);
    EXPECT_EQ(trimmed(post[0].items[0]), std::string("0. ") + r.option0);
    EXPECT_EQ(post[0].detail, r.preselected);
    EXPECT_EQ(post[1].detail, 1);  // after any action: option 1
    EXPECT_EQ(post[2].detail, 1);
    const auto hypothesis = menu_calls(1019);
    if (r.hypothesis_first < 0) {
      EXPECT_TRUE(hypothesis.empty());
      EXPECT_TRUE(transcript_has("Choose option 4 in the SURE Post Estimation Menu to carry out tests on the "
                                 "parameters of the estimated SURE model!"));
    } else {
      ASSERT_EQ(hypothesis.size(), 1u);
      EXPECT_EQ(hypothesis[0].detail, r.hypothesis_first);
    }
    const auto residuals = menu_calls(1037);
    if (r.residual_options == 0) {
      EXPECT_TRUE(residuals.empty());
      EXPECT_TRUE(transcript_has(message_line(33)));
    } else {
      ASSERT_EQ(residuals.size(), 1u);
      EXPECT_EQ(residuals[0].items.size(), static_cast<std::size_t>(r.residual_options));
      EXPECT_EQ(residuals[0].detail, 2);
      EXPECT_EQ(trimmed(residuals[0].items[5]),
                r.method == 70 ? "5. Plot the histogram of scaled residuals" : "5. Plot the histogram of residuals");
    }
  }
}

TEST_F(PostRegression, ResultsPageFirstAndAgainOnOptionOne) {
  dialog_script::load("strict\nresults -> close\nmenu 1002 -> 1\nresults -> close\nmenu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const auto shown = pages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], shown[1]);
  EXPECT_NE(shown[0][0].find("Ordinary Least Squares Estimation"), std::string::npos);
  EXPECT_TRUE(transcript_has("busy begin Calculating or writing to file! Please wait..."));
  EXPECT_TRUE(transcript_has("\n                               Diagnostic Tests\n"));
}

TEST_F(PostRegression, TheDiagnosticTestsFollowTheMethodsThatOfferThem) {
  for (const int code : {1, 3, 5, 70, 80}) {
    SCOPED_TRACE(code);
    dialog_script::reset();
    dialog_script::load("results -> close\nmenu 1002 -> 0\n");
    estimate({small::kY, small::kC, small::kX}, 1, small::kObs, code == 5);
    single::estimation().method = code;
    diagnostics::POSTREGRESSION();
    EXPECT_EQ(transcript_has("Diagnostic Tests"), code == 1 || code == 5);
    EXPECT_EQ(transcript_has(" R-Squared"), code != 80);  // the ARDL long run: the table alone
  }
}

TEST_F(PostRegression, OptionsOfLaterVersionsAndRedirectionsSaySoAndReturn) {
  struct Row {
    int method;
    const char* answers;  ///< the script after the first page
    const char* seen;     ///< the message shown
  };
  const Row rows[] = {
      {1, "menu 1002 -> 8 once\n", "No observation is available for forecasting!"},
      {5, "menu 1002 -> 9 once\n", "No observation is available for forecasting!"},
      {14, "menu 1002 -> 8 once\n", "Forecasting is not available in this version of Zelvorin."},
      {83, "menu 1002 -> 5 once\n",
       "Choose option 5 in the SURE Post Estimation Menu to estimate/test (possibly non-linear) functions of "
       "parameters!"},
      {84, "menu 1002 -> 8 once\n", "Choose option 6 in the SURE Post Estimation Menu to carry out multivariate forecasts!"},
      {82, "menu 1002 -> 9 once\n", "Choose option 5 in the VAR Post Estimation Menu to carry out multivariate forecasts!"},
      {17, "menu 1002 -> 8 once\n",
       "Choose option 5 in the IR Analysis and Forecasts Menu to carry out multivariate forecasts!"},
      {79, "menu 1002 -> 8 once\n", "Choose option 4 in the Post ARDL Model Selection Menu to carry out forecasts"},
      {5, "menu 1002 -> 6 once\n", "This option or test is not available for the estimation method used."},
      {14, "menu 1002 -> 7 once\n", "This option or test is not available for the estimation method used."},
      {5, "menu 1002 -> 2 once\nmenu 1019 -> 9 once\nmenu 1019 -> 0\n",
       "This option or test is not available for the estimation method used."},
      {14, "menu 1002 -> 2 once\nmenu 1019 -> 5 once\nmenu 1019 -> 0\n",
       "This option or test is not available for the estimation method used."},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.answers);
    dialog_script::reset();
    dialog_script::load(std::string("results -> close\n") + r.answers + "menu 1002 -> 0\n");
    estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
    single::estimation().method = r.method;
    diagnostics::POSTREGRESSION();
    EXPECT_TRUE(transcript_has(r.seen)) << dialog_script::transcript_text();
    EXPECT_EQ(menu_calls(1002).size(), 2u);  // back to the Post Regression Menu, then option 0
  }
}

TEST_F(PostRegression, HypothesisRefusalsReturnOrEndTheDialogue) {
  struct Row {
    int method;
    int option;
    int message;            ///< message-file line shown, or 0 for a text
    const char* text;       ///< the text shown when message is 0
    bool ends;              ///< the dialogue ends as for option 0
    bool back_to_1019;      ///< the Hypothesis Testing Menu is shown again
    int preselected_after;  ///< its option offered then
  };
  const Row rows[] = {
      {2, 1, 33, "", false, false, 0},   // other methods: back to the Post Regression Menu
      {10, 4, 33, "", false, false, 0},
      {5, 2, 33, "", true, false, 0},    // ARCH and unit-root tests refuse IV and end the dialogue
      {15, 3, 33, "", true, false, 0},
      {5, 4, 33, "", false, true, 0},    // CUSUM: least squares only, back to the menu
      {5, 8, 33, "", false, true, 0},    // non-nested tests: least squares only, back to the menu
      {14, 8, 33, "", false, true, 0},
      {17, 5, 0,
       "The variables in the error correction model are constructed synthetic variables and cannot be deleted!",
       false, true, 7},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.method << " option " << r.option);
    dialog_script::reset();
    dialog_script::load("results -> close\nmenu 1002 -> 2 once\nmenu 1019 -> " + std::to_string(r.option) +
                        " once\nmenu 1019 -> 0\nmenu 1002 -> 0\n");
    estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
    single::estimation().method = r.method;
    diagnostics::POSTREGRESSION();
    EXPECT_TRUE(transcript_has(r.message ? message_line(r.message) : std::string(r.text)));
    EXPECT_EQ(menu_calls(1002).size(), r.ends ? 1u : 2u);
    const auto hypothesis = menu_calls(1019);
    ASSERT_EQ(hypothesis.size(), r.back_to_1019 ? 2u : 1u);
    if (r.back_to_1019) {
      EXPECT_EQ(hypothesis[1].detail, r.preselected_after);
    }
  }
}

TEST(OrderLimits, LargestOrdersOffered) {
  EXPECT_EQ(diagnostics::lm_max_order(4, 2), 0);     // n - k = 2: refused
  EXPECT_EQ(diagnostics::lm_max_order(5, 2), 1);
  EXPECT_EQ(diagnostics::lm_max_order(100, 1), 12);
  EXPECT_EQ(diagnostics::lm_max_order(10, 3), 5);
  EXPECT_EQ(diagnostics::lm_max_order(3000, 500), 10);  // 5253 div 500
  EXPECT_EQ(diagnostics::arch_max_order(3), 0);       // refused
  EXPECT_EQ(diagnostics::arch_max_order(4), 1);
  EXPECT_EQ(diagnostics::arch_max_order(5), 1);
  EXPECT_EQ(diagnostics::arch_max_order(20), 9);
  EXPECT_EQ(diagnostics::arch_max_order(30), 12);
  EXPECT_EQ(diagnostics::order_prompt("LM", 12), " Order of LM test (maximum 12)?");
  EXPECT_EQ(diagnostics::order_prompt("ARCH", 1), " Order of ARCH test (maximum  1)?");
}

TEST_F(PostRegression, OrderQuestionsAtTheirLimits) {
  // k = 1 and n = 100: the LM test offers 12; 13 beeps and is asked again; 0 returns.
  std::vector<double> c(100, 1.0), y;
  for (int t = 1; t <= 100; ++t) y.push_back(std::sin(t) + 0.01 * t);
  install({c, y}, {"C", "Y"});
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 2\nmenu 1019 -> 1\ninteger -> 13\ninteger -> 0\nmenu 1019 -> 0\n"
      "menu 1002 -> 0\n");
  estimate({2, 1}, 1, 100);
  diagnostics::POSTREGRESSION();
  EXPECT_TRUE(transcript_has("integer 0 Order of LM test (maximum 12)? -> 13\nbeep\n"));

  // n = 5: the ARCH test offers 1.
  dialog_script::reset();
  dialog_script::load("strict\nresults -> close\nmenu 1002 -> 2\nmenu 1019 -> 2\ninteger -> cancel\nmenu 1019 -> 0\n"
                      "menu 1002 -> 0\n");
  estimate({2, 1}, 1, 5);
  diagnostics::POSTREGRESSION();
  EXPECT_TRUE(transcript_has("integer 0 Order of ARCH test (maximum  1)? -> cancel"));
}

TEST_F(PostRegression, TheLmTestOfATypedOrderIsReportedAndItsOrderOfferedAgain) {
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 2\nmenu 1019 -> 1\ninteger -> 2\nresults -> close\n"
      "menu 1019 -> 1\ninteger -> cancel\nmenu 1019 -> 0\nmenu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const auto shown = pages();
  ASSERT_EQ(shown.size(), 2u);
  std::string page;
  for (const auto& l : shown[1]) page += l + "\n";
  EXPECT_NE(page.find("Test of Serial Correlation of Residuals (OLS case)"), std::string::npos);
  EXPECT_NE(page.find(" OLS RES(-2)"), std::string::npos);
  EXPECT_NE(page.find(" Lagrange Multiplier Statistic    CHSQ(   2)="), std::string::npos);
  std::vector<int> offered;
  for (const auto& c : dialog_script::calls())
    if (c.kind == "integer") offered.push_back(c.detail);
  EXPECT_EQ(offered, (std::vector<int>{8, 2}));  // the largest order first, then the order typed
  EXPECT_TRUE(transcript_has("integer 0 Order of LM test (maximum  8)? -> 2"));
}

TEST_F(PostRegression, TooFewObservationsRefuseAndEndTheDialogue) {
  struct Row {
    int last;    ///< the sample is 1..last, with k = 2
    int option;  ///< of the Hypothesis Testing Menu
    bool ends;
  };
  const Row rows[] = {
      {4, 1, true},   // n - k = 2: no LM test
      {3, 2, true},   // n = 3: no ARCH test
      {3, 3, true},   // nor unit-root test
      {4, 4, false},  // CUSUM: n - k = 2, back to the Hypothesis Testing Menu
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(::testing::Message() << r.last << " option " << r.option);
    dialog_script::reset();
    dialog_script::load("results -> close\nmenu 1002 -> 2 once\nmenu 1019 -> " + std::to_string(r.option) +
                        " once\nmenu 1019 -> 0\nmenu 1002 -> 0\n");
    estimate({small::kY, small::kC, small::kX}, 1, r.last);
    diagnostics::POSTREGRESSION();
    EXPECT_TRUE(transcript_has(message_line(34)));
    EXPECT_EQ(menu_calls(1002).size(), r.ends ? 1u : 2u);
    EXPECT_EQ(menu_calls(1019).size(), r.ends ? 1u : 2u);
  }
}

TEST_F(PostRegression, AnExactFitRefusesTheCusumTests) {
  std::vector<double> c(10, 1.0), x, y;
  for (int t = 1; t <= 10; ++t) {
    x.push_back(t);
    y.push_back(3.0 + 2.0 * t);
  }
  install({c, x, y}, {"C", "X", "Y"});
  dialog_script::load("results -> close\nmenu 1002 -> 2 once\nmenu 1019 -> 4 once\nmenu 1019 -> 0\nmenu 1002 -> 0\n");
  estimate({3, 1, 2}, 1, 10);
  diagnostics::POSTREGRESSION();
  EXPECT_TRUE(transcript_has(message_line(35) + "\n  " + message_line(36)));
  EXPECT_EQ(menu_calls(1019).size(), 2u);
}

}  // namespace
