// The menu tables of the engine core, as the menus show them (leading blanks included).
#include <algorithm>

#include "engine/core/menu_system.h"
#include "shared/exchange_slots.h"

namespace qorv::core {

namespace {

const std::vector<MenuTable>& tables() {
  static const std::vector<MenuTable> all = {
      {1002, 0, 0, "Post Regression Menu",
       {"Move to Backtracking Menu", "Display regression results again", "Move to Hypothesis Testing Menu",
        "List/plot/save residuals and fitted values", "Standard, White and Newey-West adjusted variance matrices",
        "Estimate/test (possibly non-linear) functions of parameters",
        "Plot the leverage measures of the regression (OLS)", "Save the leverage measures of the regression (OLS)",
        "Forecast", "Plot of forecast values only"}},
      {1003, 0, 0, "Standard, White and Newey-West Adjusted Variance Menu",
       {"Return to Post Regression Menu", "Standard variance-covariance matrix", "White heteroscedasticity adjusted",
        "Newey-West adjusted with equal weights", "Newey-West adjusted with Bartlett weights",
        "Newey-West adjusted with Tukey weights", "Newey-West adjusted with Parzen weights"}},
      {1004, 1, 0, "Backtracking Menu",
       {" Return to Action Menu (Estimation and Hypotheses Testing)",
        " Choose estimation method for existing equation & sample", " Define new sample period for existing equation",
        " Edit regression equation & estimate over existing sample period",
        " Define & estimate new equation over a new sample period"}},
      {1006, 0, 0, "ARDL Order Selection Menu",
       {"Move to Backtracking Menu", "Choose maximum lag to be used in model selection", "R-BAR Squared",
        "Akaike Information Criterion", "Schwarz Bayesian Criterion", "Hannan-Quinn Criterion",
        "Specify the order of the ARDL model yourself"}},
      {1007, 1, slots::kFrequency, " Data Frequency Menu",
       {" Undated", " Annual", " Half-yearly", " Quarterly", " Monthly"}},
      {1008, 0, slots::kDataProcessingPreset, " Data Processing Menu",
       {" Move to Action Menu (Estimation and Hypotheses Testing)", " Create constant/time trend/seasonal dummies",
        " Transform, edit, list or plot variables or access DOS", " Save data set in a file",
        " Add a special Zelvorin file saved previously to the current data set", " Start with a new data set"}},
      {1009, 0, slots::kDataSavingPreset, " Data Saving Menu",
       {" Move to Data Processing Menu", " Save data in a raw data file", " Save data in a special Zelvorin file",
        " Save data in a comma delimited (CSV) file", " Save data in an AREMOS (TSD) file"}},
      {1010, 0, 0, " Data Input Menu",
       {"Exit from Zelvorin", "Input data from the keyboard", "Input data from an ASCII data file",
        "Input data from a special Zelvorin file saved previously",
        "Combine two special Zelvorin files containing the same variables",
        "Input data from an Excel version 4 worksheet", "Input data from CSV, TXT or PRN files",
        "Input data from AREMOS (TSD) files"}},
      {1011, 0, slots::kMethodPreset, "Drift in Regressors",
       {"Move to Backtracking Menu", "None of the regressors has a drift", "At least one of the regressors has a drift"}},
      {1012, 0, 0, "Dummy Variable Creation Menu",
       {"Move to Data Processing Menu", "Create a constant (intercept) term", "Create a time trend",
        "Create (0,1) seasonal dummies", "Create centred seasonal dummies",
        "Create seasonal dummies relative to the last season"}},
      {1014, 0, slots::kMethodPreset, " Estimation Menu (Linear Regression)",
       {" Move to Backtracking Menu", " OLS      Ordinary Least Squares",
        " IV(2SLS) Generalised Instrumental Variable Method",
        " AR(J)    Autoregressive Errors(Exact ML Method); J<= 2",
        " AR(J)    Autoregressive Errors(Cochrane-Orcutt Iterative Method); J<= 12",
        " AR(J)    Autoregressive Errors(Gauss-Newton Iterative Method)",
        " IV/AR(J) IV with AR Errors(Gauss-Newton Iterative Method)",
        " MA(J)    Moving Average Errors(Exact ML Method); J<= 12", " IV/MA(J) IV with MA Errors; J<= 12",
        " GARCH-M  Autoregressive Conditional Heteroscedastic Model"}},
      {1015, 1, slots::kNewDataOrganisation, " File Structure Menu",
       {" Data filed variable by variable", " Data filed by observations"}},
      {1018, 0, 0, "Choose type of lag window",
       {"Move to Backtracking Menu", "Equal weights lag window", "Bartlett lag window", "Tukey lag window",
        "Parzen lag window"}},
      {1019, 0, 0, "Hypothesis Testing Menu",
       {"Return to Post Regression Menu", "LM tests for serial correlation (OLS,IV,NLS & IV-NLS)",
        "Autoregressive conditional heteroscedasticity tests (OLS & NLS)", "Unit root tests for residuals (OLS & NLS)",
        "CUSUM and CUSUMSQ tests (OLS)", "Variable deletion test (OLS & IV)", "Variable addition test (OLS & IV)",
        "Wald test of linear/nonlinear restrictions", "Non-nested tests against another linear regression (OLS)",
        "Non-nested tests for models with different LHS variables (OLS)"}},
      {1032, 0, slots::kSystemPreset, "System Estimation Menu",
       {"Move to Action Menu", "Estimate/Test/Forecast an unrestricted VAR or AR model",
        "Estimate/Test/Forecast a cointegrating VAR model",
        "Estimate/Test/Forecast a system of equations by SURE method",
        "Estimate/Test/Forecast a restricted system by SURE method"}},
      {1033, 0, 0, "White Adjusted Variance-Covariance Matrix",
       {"Return to Standard, White and Newey-West Adjusted Variance Menu",
        "Display regression results for the adjusted covariance matrix", "Display the adjusted covariance matrix",
        "Wald test of restrictions based on adjusted covariance matrix",
        "Estimate/test functions of parameters based on adjusted matrix"}},
      {1034, 0, slots::kMethodPreset, " Estimation Menu (Non-Linear Regression)",
       {" Move to Backtracking Menu", " Edit initial parameter estimates", " Non-linear least squares",
        " Non-linear two-stage least squares"}},
      {1035, 0, slots::kMethodPreset, " Recursive Regression Menu",
       {" Move to Backtracking Menu", " Recursive least squares", " Recursive two-stage least squares"}},
      {1036, 0, 0, "Recursive OLS Regression Results Menu",
       {"Move to Backtracking Menu", "Plot recursive coefficients and their standard errors",
        "Plot standard errors of recursive regressions", "Save recursive coefficients",
        "Save standard errors of recursive coefficients", "Save standard errors of the recursive regressions",
        "Save standardized recursive residuals", "Save recursive predictions based on existing regressors",
        "Save recursive predictions based on variables to be specified"}},
      {1037, 0, 0, "Display/Save Residuals and Fitted Values Menu",
       {"Return to Post Regression Menu", "List residuals and fitted values", "Plot actual and fitted values",
        "Plot residuals", "Plot the autocorrelation function and the spectrum of residuals",
        "Plot the histogram of residuals", "Save residuals (and forecast errors if any)",
        "Save fitted values (and forecasts if any)",
        "Plot conditional standard errors of GARCH model (values of h-hats)",
        "Save conditional standard errors of GARCH (& forecasts if any)"}},
      {1038, 0, 0, " Rolling Regression Result Menu",
       {" Move to Backtracking Menu (Rolling Regression)", " Plot rolling coefficients and their standard errors",
        " Plot standard errors of rolling regressions", " Save rolling coefficients",
        " Save standard errors of rolling coefficients", " Save standard errors of rolling regressions"}},
      {1039, 0, slots::kSingleEqPreset, "Single Equation Estimation Menu",
       {"Move to Action Menu", "Estimate/Test/Forecast a linear regression", "Estimate a linear regression recursively",
        "Estimate a rolling linear regression", "Estimate/Test/Forecast a non-linear regression",
        "Fully Modified Phillips-Hansen estimation of a linear regression",
        "ARDL approach to estimation of a single long run (cointegrating) relation",
        "Estimate/Test/Forecast Logit and Probit models"}},
      {1040, 0, 0, "Variance Decomposition Analysis (Johansen's just-identifying restrictions)",
       {"Return to Impulse Response Analysis and Forecasting Menu", "Orthogonalized Variance Decomposition Analysis",
        "Generalized Variance Decomposition Analysis"}},
      {1041, 0, 0, "Impulse Response Analysis for CV's Obtained under Johansen's Normalization",
       {"Return to Impulse Response Analysis and Forecasting Menu",
        "Orthogonalized IR of variables to shocks in equations", "Generalized IR of variables to shocks in equations"}},
      {1042, 0, 0, "Specify the nature of the dependent variable in model",
       {"Move to Hypotheses Testing Menu", "Linear form", "Logarithmic form", "Ratio form", "Difference form",
        "Log-difference form", "General non-linear form to be specified by you"}},
      {1048, 1, slots::kNewDataFormat, " Data Format Menu", {" Free format", " Fixed format"}},
  };
  return all;
}

}  // namespace

const MenuTable* find_menu_table(int number) {
  const auto& all = tables();
  const auto it = std::find_if(all.begin(), all.end(), [number](const MenuTable& t) { return t.number == number; });
  return it == all.end() ? nullptr : &*it;
}

std::vector<int> menu_table_numbers() {
  std::vector<int> out;
  for (const MenuTable& t : tables()) out.push_back(t.number);
  return out;
}

}  // namespace qorv::core
