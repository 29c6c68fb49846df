#include "engine/single/method_table.h"

#include <algorithm>
#include <array>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/single/ardl_model.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/garch_estimate.h"
#include "engine/single/least_squares.h"
#include "engine/single/nonlinear_estimate.h"
#include "engine/single/system_share.h"
#include "engine/single/phillips_hansen.h"
#include "engine/single/recursive_rolling_estimators.h"

namespace qorv::single {

namespace {

constexpr std::string_view kAnotherEquation = "Choose another equation to inspect";
constexpr std::string_view kArdlMenu = "Move to Post ARDL Model Selection Menu";
constexpr std::string_view kSureAdvice =
    "Choose option 6 in the SURE Post Estimation Menu to carry out multivariate forecasts!";
constexpr std::string_view kArdlAdvice = "Choose option 4 in the Post ARDL Model Selection Menu to carry out forecasts";

// Rows without an estimator are refused with their name until their estimator lands.
constexpr std::array kRows = {
    MethodRow{.code = method::kOls, .name = "Ordinary least squares", .word = " OLS  ",
              .title = "Ordinary Least Squares Estimation", .test_case = " (OLS case)",
              .offer = {1014, 1}, .bounded_by_work_space = false, .least_squares_tests = true,
              .durbin_h = true, .plain_residuals = true, .diagnostic_table = true,
              .least_squares_plots = true, .first_post_option = 2, .refuses_exact_fit = false,
              .estimate = estimate_ols},
    MethodRow{.code = method::kCochraneOrcutt, .name = "Cochrane-Orcutt estimation of AR errors", .word = "CO-AR(",
              .family = Family::kArErrors, .offer = {1014, 4}, .lags = ErrorLags::kAr, .initial_values = true,
              .transforms_residuals = false, .skips_ar_observations = true,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kExactAr1, .name = "Exact maximum likelihood estimation of AR errors", .word = " AR(  ",
              .family = Family::kArErrors, .offer = {1014, 3}, .lags = ErrorLags::kAr,
              .bounded_by_work_space = false, .exact_ar_order = 1,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kExactAr2, .name = "Exact maximum likelihood estimation of AR errors", .word = " AR(  ",
              .family = Family::kArErrors, .lags = ErrorLags::kAr, .initial_values = true,
              .bounded_by_work_space = false, .exact_ar_order = 2,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kIv, .name = "Instrumental variable estimation", .word = "  IV  ",
              .title = "Instrumental Variable Estimation", .test_case = " (IV case)",
              .family = Family::kInstrumental, .offer = {1014, 2}, .instruments = true,
              .bounded_by_work_space = false, .iv_fit = true, .iv_tests = true,
              .minimand = Minimand::kIvMinimand, .information_criteria = false, .residuals_given = true,
              .plain_residuals = true, .transforms_residuals = false, .diagnostic_table = true,
              .residual_arch_tests = false, .first_post_option = 2, .estimate = estimate_iv},
    MethodRow{.code = method::kGaussNewtonAr, .name = "Gauss-Newton estimation of AR errors", .word = " AR(  ",
              .family = Family::kArErrors, .offer = {1014, 5}, .gaps_code = method::kGaussNewtonArGaps,
              .lags = ErrorLags::kAr, .initial_values = true, .transforms_residuals = false,
              .skips_ar_observations = true,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kGaussNewtonArGaps, .name = "Gauss-Newton estimation of AR errors", .word = " AR(  ",
              .family = Family::kArErrors, .lags = ErrorLags::kAr, .initial_values = true,
              .transforms_residuals = false, .skips_ar_observations = true,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kIvAr, .name = "IV estimation with AR errors", .word = "IV-AR(",
              .family = Family::kArErrors, .offer = {1014, 6}, .gaps_code = method::kIvArGaps, .instruments = true,
              .lags = ErrorLags::kAr, .initial_values = true, .iv_fit = true, .minimand = Minimand::kIvMinimand,
              .information_criteria = false, .transforms_residuals = false, .skips_ar_observations = true,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kIvArGaps, .name = "IV estimation with AR errors", .word = "IV-AR(",
              .family = Family::kArErrors, .instruments = true, .lags = ErrorLags::kAr, .initial_values = true,
              .iv_fit = true, .minimand = Minimand::kIvMinimand, .information_criteria = false,
              .transforms_residuals = false, .skips_ar_observations = true,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kMa, .name = "Estimation with MA errors", .word = " MA(  ",
              .family = Family::kMaErrors, .offer = {1014, 7}, .gaps_code = method::kMaGaps, .lags = ErrorLags::kMa,
              .initial_values = true, .variance = VarianceScale::kAbsolute, .transforms_residuals = false,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kMaGaps, .name = "Estimation with MA errors", .word = " MA(  ",
              .family = Family::kMaErrors, .lags = ErrorLags::kMa, .initial_values = true,
              .variance = VarianceScale::kAbsolute, .transforms_residuals = false,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kIvMa, .name = "IV estimation with MA errors", .word = "IV-MA(",
              .family = Family::kMaErrors, .offer = {1014, 8}, .gaps_code = method::kIvMaGaps, .instruments = true,
              .lags = ErrorLags::kMa, .initial_values = true, .iv_fit = true,
              .minimand = Minimand::kAdjustedIvMinimand, .information_criteria = false,
              .variance = VarianceScale::kAbsolute, .transforms_residuals = false,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kIvMaGaps, .name = "IV estimation with MA errors", .word = "IV-MA(",
              .family = Family::kMaErrors, .instruments = true, .lags = ErrorLags::kMa, .initial_values = true,
              .iv_fit = true, .minimand = Minimand::kAdjustedIvMinimand, .information_criteria = false,
              .variance = VarianceScale::kAbsolute, .transforms_residuals = false,
              .estimate = estimate_error_model_method},
    MethodRow{.code = method::kNls, .name = "Non-linear least squares", .word = " NLS  ",
              .title = "Non-Linear Least Squares Estimation", .family = Family::kNonLinear, .offer = {1034, 2},
              .least_squares_tests = true, .plain_residuals = true, .transforms_residuals = false,
              .diagnostic_table = true, .first_post_option = 2, .estimate = estimate_nonlinear},
    MethodRow{.code = method::kNl2sls, .name = "Non-linear two-stage least squares", .word = "IV-NLS",
              .title = "Non-Linear Two-Stage Least Squares Estimation", .family = Family::kNonLinear,
              .offer = {1034, 3}, .instruments = true, .iv_fit = true, .iv_tests = true,
              .minimand = Minimand::kIvMinimand, .information_criteria = false, .plain_residuals = true,
              .transforms_residuals = false, .diagnostic_table = true, .residual_arch_tests = false,
              .first_post_option = 2, .estimate = estimate_nonlinear},
    MethodRow{.code = method::kErrorCorrection, .word = "CVAR  ", .family = Family::kSystem,
              .least_squares_tests = true, .plain_residuals = true, .diagnostic_table = true,
              .least_squares_plots = true, .first_post_option = 2,
              .post_menu_leave = kAnotherEquation,
              .forecast_advice =
                  "Choose option 5 in the IR Analysis and Forecasts Menu to carry out multivariate forecasts!",
              .estimate = estimate_ols},
    MethodRow{.code = method::kRollingOls, .name = "Rolling least squares", .family = Family::kRolling,
              .offer = {1047, 2}, .estimate = estimate_rolling},
    MethodRow{.code = method::kRolling2sls, .name = "Rolling two-stage least squares", .family = Family::kRolling,
              .offer = {1047, 3}, .instruments = true, .estimate = estimate_rolling},
    MethodRow{.code = method::kRecursiveOls, .name = "Recursive least squares", .family = Family::kRecursive,
              .offer = {1035, 1}, .estimate = estimate_recursive},
    MethodRow{.code = method::kRecursive2sls, .name = "Recursive two-stage least squares",
              .family = Family::kRecursive, .offer = {1035, 2}, .instruments = true, .estimate = estimate_recursive},
    MethodRow{.code = method::kGarch, .name = "GARCH estimation", .word = "GARCH ", .family = Family::kGarch,
              .offer = {1014, 9}, .variance = VarianceScale::kAbsolute, .plain_residuals = true,
              .transforms_residuals = false,
              .post_menu_leave = "Move to GARCH Estimation Menu", .garch_residual_options = true,
              .estimate = GARCHESTIMATE},
    MethodRow{.code = method::kGarchVariant, .family = Family::kGarch, .variance = VarianceScale::kAbsolute,
              .transforms_residuals = false},
    MethodRow{.code = method::kArdlEcm, .name = "ARDL estimation", .word = "ARDL  ",
              .title = "Error Correction Representation for the Selected ARDL Model", .family = Family::kArdl,
              .plain_residuals = true, .transforms_residuals = false, .first_post_option = 2,
              .post_menu_leave = kArdlMenu,
              .forecast_advice = kArdlAdvice},
    MethodRow{.code = method::kArdl, .name = "ARDL estimation", .word = "ARDL  ",
              .title = "Autoregressive Distributed Lag Estimates", .test_case = " (ARDL case)",
              .family = Family::kArdl, .least_squares_tests = true, .durbin_h = true, .plain_residuals = true,
              .diagnostic_table = true, .least_squares_plots = true, .first_post_option = 2,
              .post_menu_leave = kArdlMenu,
              .forecast_advice = kArdlAdvice, .estimate = estimate_ardl},
    MethodRow{.code = method::kArdlLongRun, .name = "ARDL estimation", .word = "ARDL  ",
              .title = "Estimated Long Run Coefficients using the ARDL Approach", .test_case = " (ARDL case)",
              .based_on = " Based on long run ARDL regression of", .family = Family::kArdl, .iv_fit = true,
              .iv_tests = true, .minimand = Minimand::kIvMinimand, .information_criteria = false,
              .residuals_given = true, .residual_scaling = ResidualScaling::kLongRunMultiplier, .plain_residuals = true,
              .transforms_residuals = false, .coefficient_table_only = true, .residual_menu = false,
              .first_post_option = 2, .post_menu_leave = kArdlMenu,
              .forecast_advice = kArdlAdvice, .estimate = estimate_ardl_long_run},
    MethodRow{.code = method::kPhillipsHansen, .name = "Fully modified Phillips-Hansen estimation", .word = "FMPH  ",
              .title = "Fully Modified Phillips-Hansen Estimates",
              .based_on = " Based on Fully Modified Phillips-Hansen regression of",
              .family = Family::kFullyModified, .information_criteria = false, .plain_residuals = true,
              .transforms_residuals = false, .coefficient_table_only = true, .estimate = PHILLIPSHANSEN},
    MethodRow{.code = method::kVar, .word = " VAR  ",
              .title = "OLS estimation of a single equation in the Unrestricted VAR", .family = Family::kSystem,
              .least_squares_tests = true, .plain_residuals = true, .diagnostic_table = true,
              .least_squares_plots = true, .first_post_option = 2,
              .post_menu_leave = kAnotherEquation,
              .forecast_advice =
                  "Choose option 5 in the VAR Post Estimation Menu to carry out multivariate forecasts!",
              .estimate = estimate_ols},
    MethodRow{.code = method::kSure, .name = "SURE estimation", .word = "SURE  ",
              .title = "Seemingly Unrelated Regressions Estimation", .family = Family::kSure,
              .information_criteria = false, .variance = VarianceScale::kAbsolute, .plain_residuals = true,
              .transforms_residuals = false,
              .post_menu_leave = kAnotherEquation,
              .forecast_advice = kSureAdvice, .estimate = estimate_system_share},
    MethodRow{.code = method::kRestrictedSure, .name = "SURE estimation", .word = "RSURE ",
              .title = "Restricted Seemingly Unrelated Regressions", .family = Family::kSure,
              .information_criteria = false, .variance = VarianceScale::kAbsolute, .plain_residuals = true,
              .transforms_residuals = false,
              .post_menu_leave = kAnotherEquation,
              .forecast_advice = kSureAdvice, .estimate = estimate_system_share},
    MethodRow{.code = method::kLogit, .name = "Logit and probit estimation", .word = "Logit ",
              .title = "Logit Maximum Likelihood Estimation", .family = Family::kBinaryChoice,
              .variance = VarianceScale::kAbsolute},
    MethodRow{.code = method::kProbit, .name = "Logit and probit estimation", .word = "Probit",
              .title = "Probit Maximum Likelihood Estimation", .family = Family::kBinaryChoice,
              .variance = VarianceScale::kAbsolute},
};

static_assert(std::is_sorted(kRows.begin(), kRows.end(),
                             [](const MethodRow& a, const MethodRow& b) { return a.code < b.code; }),
              "the rows are in code order");

/// The row of a code without one: blank texts, default flags, no estimator.
constexpr MethodRow kUnknown{.word = "      ", .bounded_by_work_space = false};

}  // namespace

std::span<const MethodRow> method_rows() { return kRows; }

const MethodRow& method_row(int code) {
  const auto at = std::lower_bound(kRows.begin(), kRows.end(), code,
                                   [](const MethodRow& row, int c) { return row.code < c; });
  return at != kRows.end() && at->code == code ? *at : kUnknown;
}

int method_of_option(int menu, int option) {
  for (const MethodRow& row : kRows)
    if (row.offer.menu == menu && row.offer.option == option) return row.code;
  return 0;
}

std::string_view method_name(int code) {
  const std::string_view name = method_row(code).name;
  return name.empty() ? "This estimation method" : name;
}

bool method_available(int code) { return method_row(code).estimate != nullptr; }

void refuse_method(int code) {
  core::SHOWOK(core::kInformation, core::kNoHelp,
               std::string(method_name(code)) + " is not available in this version of Zelvorin.");
}

}  // namespace qorv::single
