// The engine's menus through the scripted dialog: titles and option lines as shown, help
// contexts, preselection, the preset rule and cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/menu_system.h"
#include "engine/core/workspace.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using Lines = std::vector<std::string>;

class MenuTest : public qorv::testing::EngineTest {};

struct MenuCase {
  const char* what;
  std::function<int(int&)> show;
  int help;
  std::string title;  // as passed, trailing blanks removed
  Lines options;      // as shown, trailing blanks removed
};

std::vector<MenuCase> every_menu() {
  return {
      {"1004 linear", [](int& c) { return BACKTRACKMENU(c, 1, 0); }, 2004, "Backtracking Menu (Linear Regression)",
       {"1. Return to Single Equation Estimation Window", "2.  Choose estimation method for existing equation & sample",
        "3.  Define new sample period for existing equation",
        "4.  Edit regression equation & estimate over existing sample period",
        "5.  Define & estimate new equation over a new sample period"}},
      {"1004 no kind", [](int& c) { return BACKTRACKMENU(c, 0, 0); }, 2004, "Backtracking Menu",
       {"1.  Return to Action Menu (Estimation and Hypotheses Testing)",
        "2.  Choose estimation method for existing equation & sample",
        "3.  Define new sample period for existing equation",
        "4.  Edit regression equation & estimate over existing sample period",
        "5.  Define & estimate new equation over a new sample period"}},
      {"1004 VAR", [](int& c) { return BACKTRACKMENU(c, 0, 1); }, 2004, "Backtracking Menu (Unrestricted VAR)",
       {"1. Return to System Estimation Window", "2. Choose order of the VAR/AR model and re-estimate",
        "3.  Define new sample period for existing equation",
        "4.  Edit regression equation & estimate over existing sample period",
        "5.  Define & estimate new equation over a new sample period"}},
      {"1004 cointegrated VAR", [](int& c) { return BACKTRACKMENU(c, 0, 2); }, 2004,
       "Backtracking Menu (Cointegrated VAR Analysis)",
       {"1. Return to System Estimation Window", "2. Choose intercept/trend in the underlying VAR",
        "3.  Define new sample period for existing equation",
        "4.  Edit regression equation & estimate over existing sample period",
        "5.  Define & estimate new equation over a new sample period"}},
      {"1039", SINGLEEQMENU, 2039, "Single Equation Estimation Menu",
       {"0. Move to Action Menu", "1. Estimate/Test/Forecast a linear regression",
        "2. Estimate a linear regression recursively", "3. Estimate a rolling linear regression",
        "4. Estimate/Test/Forecast a non-linear regression",
        "5. Fully Modified Phillips-Hansen estimation of a linear regression",
        "6. ARDL approach to estimation of a single long run (cointegrating) relation",
        "7. Estimate/Test/Forecast Logit and Probit models"}},
      {"1032", SYSTEMMENU, 2032, "System Estimation Menu",
       {"0. Move to Action Menu", "1. Estimate/Test/Forecast an unrestricted VAR or AR model",
        "2. Estimate/Test/Forecast a cointegrating VAR model",
        "3. Estimate/Test/Forecast a system of equations by SURE method",
        "4. Estimate/Test/Forecast a restricted system by SURE method"}},
      {"1008", DATAPROCESSINGMENU, 2008, " Data Processing Menu",
       {"0.  Move to Action Menu (Estimation and Hypotheses Testing)",
        "1.  Create constant/time trend/seasonal dummies",
        "2.  Transform, edit, list or plot variables or access DOS", "3.  Save data set in a file",
        "4.  Add a special Zelvorin file saved previously to the current data set", "5.  Start with a new data set"}},
      {"1009", DATASAVINGMENU, 2009, " Data Saving Menu",
       {"0.  Move to Data Processing Menu", "1.  Save data in a raw data file",
        "2.  Save data in a special Zelvorin file", "3.  Save data in a comma delimited (CSV) file",
        "4.  Save data in an AREMOS (TSD) file"}},
      {"1007", FREQUENCYMENU, 2007, " Data Frequency Menu",
       {"1.  Undated", "2.  Annual", "3.  Half-yearly", "4.  Quarterly", "5.  Monthly"}},
      {"1014", LINREGMENU, 2014, " Estimation Menu (Linear Regression)",
       {"0.  Move to Backtracking Menu", "1.  OLS      Ordinary Least Squares",
        "2.  IV(2SLS) Generalised Instrumental Variable Method",
        "3.  AR(J)    Autoregressive Errors(Exact ML Method); J<= 2",
        "4.  AR(J)    Autoregressive Errors(Cochrane-Orcutt Iterative Method); J<= 12",
        "5.  AR(J)    Autoregressive Errors(Gauss-Newton Iterative Method)",
        "6.  IV/AR(J) IV with AR Errors(Gauss-Newton Iterative Method)",
        "7.  MA(J)    Moving Average Errors(Exact ML Method); J<= 12", "8.  IV/MA(J) IV with MA Errors; J<= 12",
        "9.  GARCH-M  Autoregressive Conditional Heteroscedastic Model"}},
      {"1034", NONLINESTMENU, 2034, " Estimation Menu (Non-Linear Regression)",
       {"0.  Move to Backtracking Menu", "1.  Edit initial parameter estimates", "2.  Non-linear least squares",
        "3.  Non-linear two-stage least squares"}},
      {"1035", RECURSIVEREGMENU, 2035, " Recursive Regression Menu",
       {"0.  Move to Backtracking Menu", "1.  Recursive least squares", "2.  Recursive two-stage least squares"}},
      {"1011", DRIFTMENU, 2011, "Drift in Regressors",
       {"0. Move to Backtracking Menu", "1. None of the regressors has a drift",
        "2. At least one of the regressors has a drift"}},
      {"1018", LAGWINDOWMENU, 2018, "Choose type of lag window",
       {"0. Move to Backtracking Menu", "1. Equal weights lag window", "2. Bartlett lag window", "3. Tukey lag window",
        "4. Parzen lag window"}},
      {"1006", ARDLORDERMENU, 2006, "ARDL Order Selection Menu",
       {"0. Move to Backtracking Menu", "1. Choose maximum lag to be used in model selection", "2. R-BAR Squared",
        "3. Akaike Information Criterion", "4. Schwarz Bayesian Criterion", "5. Hannan-Quinn Criterion",
        "6. Specify the order of the ARDL model yourself"}},
      {"1038", ROLLINGRESULTMENU, 2038, " Rolling Regression Result Menu",
       {"0.  Move to Backtracking Menu (Rolling Regression)", "1.  Plot rolling coefficients and their standard errors",
        "2.  Plot standard errors of rolling regressions", "3.  Save rolling coefficients",
        "4.  Save standard errors of rolling coefficients", "5.  Save standard errors of rolling regressions"}},
      {"1019", HYPOTHESISMENU, 2019, "Hypothesis Testing Menu",
       {"0. Return to Post Regression Menu", "1. LM tests for serial correlation (OLS,IV,NLS & IV-NLS)",
        "2. Autoregressive conditional heteroscedasticity tests (OLS & NLS)",
        "3. Unit root tests for residuals (OLS & NLS)", "4. CUSUM and CUSUMSQ tests (OLS)",
        "5. Variable deletion test (OLS & IV)", "6. Variable addition test (OLS & IV)",
        "7. Wald test of linear/nonlinear restrictions",
        "8. Non-nested tests against another linear regression (OLS)",
        "9. Non-nested tests for models with different LHS variables (OLS)"}},
      {"1003", VARIANCEMENU, 2003, "Standard, White and Newey-West Adjusted Variance Menu",
       {"0. Return to Post Regression Menu", "1. Standard variance-covariance matrix",
        "2. White heteroscedasticity adjusted", "3. Newey-West adjusted with equal weights",
        "4. Newey-West adjusted with Bartlett weights", "5. Newey-West adjusted with Tukey weights",
        "6. Newey-West adjusted with Parzen weights"}},
      {"1033 White", [](int& c) { return ADJVARIANCEMENU(c, 2); }, 2033, "White Adjusted Variance-Covariance Matrix",
       {"0. Return to Standard, White and Newey-West Adjusted Variance Menu",
        "1. Display regression results for the adjusted covariance matrix",
        "2. Display the adjusted covariance matrix",
        "3. Wald test of restrictions based on adjusted covariance matrix",
        "4. Estimate/test functions of parameters based on adjusted matrix"}},
      {"1036 OLS", [](int& c) { return RECURSIVERESULTSMENU(c, 60); }, 2036, "Recursive OLS Regression Results Menu",
       {"0. Move to Backtracking Menu", "1. Plot recursive coefficients and their standard errors",
        "2. Plot standard errors of recursive regressions", "3. Save recursive coefficients",
        "4. Save standard errors of recursive coefficients", "5. Save standard errors of the recursive regressions",
        "6. Save standardized recursive residuals", "7. Save recursive predictions based on existing regressors",
        "8. Save recursive predictions based on variables to be specified"}},
      {"1036 IV", [](int& c) { return RECURSIVERESULTSMENU(c, 61); }, 2036, "Recursive  IV Regression Results Menu",
       {"0. Move to Backtracking Menu", "1. Plot recursive coefficients and their standard errors",
        "2. Plot standard errors of recursive regressions", "3. Save recursive coefficients",
        "4. Save standard errors of recursive coefficients", "5. Save standard errors of the recursive regressions",
        "6. Save standardized recursive residuals", "7. Save recursive predictions based on existing regressors",
        "8. Save recursive predictions based on variables to be specified"}},
      {"1040 Johansen", [](int& c) { return VARDECMENU(c, false); }, 2040,
       "Variance Decomposition Analysis (Johansen's just-identifying restrictions)",
       {"0. Return to Impulse Response Analysis and Forecasting Menu",
        "1. Orthogonalized Variance Decomposition Analysis", "2. Generalized Variance Decomposition Analysis"}},
      {"1042 M2", [](int& c) { return DEPVARFORMMENU(c, 2); }, 2042, "Specify the nature of the dependent variable in model M2",
       {"0. Move to Hypotheses Testing Menu", "1. Linear form", "2. Logarithmic form", "3. Ratio form",
        "4. Difference form", "5. Log-difference form", "6. General non-linear form to be specified by you"}},
      {"1041 Johansen", [](int& c) { return CVNORMMENU(c, false); }, 2041,
       "Impulse Response Analysis for CV's Obtained under Johansen's Normalization",
       {"0. Return to Impulse Response Analysis and Forecasting Menu",
        "1. Orthogonalized IR of variables to shocks in equations",
        "2. Generalized IR of variables to shocks in equations"}},
  };
}

TEST_F(MenuTest, EveryMenuShowsItsTitleAndOptionLines) {
  for (const MenuCase& c : every_menu()) {
    dialog_script::reset();
    dialog_script::load("menu -> 1\n");
    int choice = 1;
    EXPECT_EQ(c.show(choice), 1) << c.what;
    EXPECT_EQ(choice, 1) << c.what;
    ASSERT_EQ(dialog_script::calls().size(), 1u) << c.what;
    const dialog_script::Call& call = dialog_script::calls()[0];
    EXPECT_EQ(call.help_context, c.help) << c.what;
    EXPECT_EQ(call.text, c.title) << c.what;
    Lines shown(dialog_script::transcript().begin() + 1, dialog_script::transcript().end());
    for (std::string& line : shown) line.erase(0, 2);  // the transcript's indent
    EXPECT_EQ(shown, c.options) << c.what;
    for (const std::string& item : call.items) EXPECT_EQ(item.size(), 80u) << c.what;
  }
}

TEST_F(MenuTest, RunTimeTitlesAndFirstOptions) {
  struct Case {
    std::function<int(int&)> show;
    std::string title;
    std::string option0;
  };
  const std::vector<Case> cases = {
      {[](int& c) { return BACKTRACKMENU(c, 2, 0); }, "Backtracking Menu (Recursive Regression)", ""},
      {[](int& c) { return BACKTRACKMENU(c, 3, 0); }, "Backtracking Menu (Rolling Regression)", ""},
      {[](int& c) { return BACKTRACKMENU(c, 4, 0); }, "Backtracking Menu (Non-linear Regression)", ""},
      {[](int& c) { return BACKTRACKMENU(c, 5, 0); }, "Backtracking Menu (Phillips-Hansen Regression)", ""},
      {[](int& c) { return BACKTRACKMENU(c, 6, 0); }, "Backtracking Menu (ARDL Estimation)", ""},
      {[](int& c) { return BACKTRACKMENU(c, 7, 0); }, "Backtracking Menu (Logit/Probit Estimation)", ""},
      {[](int& c) { return BACKTRACKMENU(c, 0, 3); }, "Backtracking Menu (SURE Estimation)",
       "2.  Choose estimation method for existing equation & sample"},
      {[](int& c) { return BACKTRACKMENU(c, 0, 4); }, "Backtracking Menu (Restricted SURE Estimation)", ""},
      {[](int& c) { return ADJVARIANCEMENU(c, 5); }, "Newey-West Adjusted Variance-Covariance Matrix", ""},
      {[](int& c) { return VARDECMENU(c, true); }, "Variance Decomposition Analysis (Restricted CV's)", ""},
      {[](int& c) { return CVNORMMENU(c, true); }, "Impulse Response Analysis for Restricted CV's", ""},
  };
  for (const Case& c : cases) {
    dialog_script::reset();
    dialog_script::load("menu -> cancel\n");
    int choice = 0;
    c.show(choice);
    EXPECT_EQ(dialog_script::calls().at(0).text, c.title);
    const Lines& t = dialog_script::transcript();
    if (!c.option0.empty()) {
      const bool found = std::find(t.begin(), t.end(), "  " + c.option0) != t.end();
      EXPECT_TRUE(found) << c.title << ": " << c.option0;
    }
  }
}

TEST_F(MenuTest, CancelGivesZeroAndTheChoiceMapsFromTheLineShown) {
  dialog_script::load("menu 1007 -> 3 once\nmenu -> cancel\n");
  int choice = 0;
  EXPECT_EQ(FREQUENCYMENU(choice), 3);  // the third line, "3.  Half-yearly"
  choice = 4;
  EXPECT_EQ(FREQUENCYMENU(choice), 0);
  EXPECT_EQ(choice, 0);
  choice = 5;
  EXPECT_EQ(LINREGMENU(choice), 0);
  EXPECT_EQ(dialog_script::calls()[2].detail, 5);  // preselected: option 5 at index 5
  EXPECT_EQ(dialog_script::calls()[1].detail, 3);  // option 4 of a menu from 1 at index 3
}

TEST_F(MenuTest, PresetIsConsumedOnce) {
  dialog_script::load("menu 1008 -> 3\n");
  set_slot(slots::kDataProcessingPreset, 2);
  int choice = 0;
  EXPECT_EQ(DATAPROCESSINGMENU(choice), 2);
  EXPECT_TRUE(dialog_script::calls().empty());
  EXPECT_EQ(slot(slots::kDataProcessingPreset), slots::kUnset);
  EXPECT_EQ(DATAPROCESSINGMENU(choice), 3);
  EXPECT_EQ(dialog_script::calls().size(), 1u);

  // The other preset slots, each taken once.
  struct Case {
    int slot;
    std::function<int(int&)> show;
  };
  const std::vector<Case> cases = {{6, SINGLEEQMENU}, {9, SYSTEMMENU},     {11, DATASAVINGMENU}, {7, FREQUENCYMENU},
                                   {15, LINREGMENU},  {15, NONLINESTMENU}, {15, RECURSIVEREGMENU}, {15, DRIFTMENU}};
  for (const Case& c : cases) {
    set_slot(c.slot, 1);
    int chosen = 0;
    EXPECT_EQ(c.show(chosen), 1) << "slot " << c.slot;
    EXPECT_EQ(slot(c.slot), slots::kUnset) << "slot " << c.slot;
  }
  EXPECT_EQ(dialog_script::calls().size(), 1u);
}

TEST_F(MenuTest, FixedPreselectionsAndTheEquationBoxRequest) {
  dialog_script::load("menu 1004 -> 4 once\nmenu 1004 -> 3 once\nmenu 1009 -> 1\n");
  int choice = 5;
  EXPECT_EQ(BACKTRACKMENU(choice, 1, 0), 4);
  EXPECT_EQ(dialog_script::calls()[0].detail, 1);  // option 2 preselected whatever came in
  EXPECT_EQ(slot(slots::kEquationBoxRequest), slots::kTrue);
  set_slot(slots::kEquationBoxRequest, 0);
  EXPECT_EQ(BACKTRACKMENU(choice, 1, 0), 3);
  EXPECT_EQ(slot(slots::kEquationBoxRequest), 0);
  choice = 0;
  DATASAVINGMENU(choice);
  EXPECT_EQ(dialog_script::calls()[2].detail, 2);
}

TEST_F(MenuTest, ShowMenuLines) {
  dialog_script::load("menu -> 3 once\nmenu -> 12\n");
  const Lines rows = {std::string(78, 'T') + "cut", std::string(80, 'a'), "b", "c"};
  int choice = 1, number = 0;
  SHOWMENU(rows, 1, 3, choice, number);
  EXPECT_EQ(choice, 3);
  EXPECT_EQ(number, 0);
  const dialog_script::Call& call = dialog_script::calls()[0];
  EXPECT_EQ(call.help_context, 0);  // menu number 0: no help
  EXPECT_EQ(call.text, std::string(78, 'T'));
  EXPECT_EQ(call.items[0], "1. " + std::string(75, 'a') + "  ");  // 78 characters in an 80-wide slot
  EXPECT_EQ(call.items[2], "3. c" + std::string(76, ' '));

  // Option numbers from 10 on are written in decimal; the line still ends at 78.
  number = 1004;
  choice = 10;
  SHOWMENU(rows, 10, 12, choice, number);
  EXPECT_EQ(choice, 12);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(dialog_script::calls()[1].help_context, 2004);
  EXPECT_EQ(dialog_script::calls()[1].items[0], "10. " + std::string(74, 'a') + "  ");
  EXPECT_EQ(dialog_script::calls()[1].items[2].substr(0, 6), "12. c ");
}

TEST_F(MenuTest, TablesAreFoundByNumber) {
  const std::vector<int> numbers = menu_table_numbers();
  EXPECT_EQ(numbers, (std::vector<int>{1002, 1003, 1004, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1014, 1015,
                                       1018, 1019, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041,
                                       1042, 1048}));
  EXPECT_EQ(find_menu_table(1005), nullptr);
  EXPECT_EQ(find_menu_table(1039)->preset_slot, 6);
  EXPECT_EQ(find_menu_table(1007)->last(), 5);
}

}  // namespace
