// The estimation methods, one row per method code: what each is called, what it asks,
// what its page and post-estimation menus carry, and the routine that estimates it. Code
// that treats methods differently reads the row of the current method; adding a method
// is adding its row here and its estimator in a file of its own.
#pragma once

#include <span>
#include <string_view>

namespace qorv::single {

/// Method codes of the current equation.
namespace method {
inline constexpr int kOls = 1;               ///< ordinary least squares
inline constexpr int kCochraneOrcutt = 2;    ///< AR(J) errors, Cochrane-Orcutt
inline constexpr int kExactAr1 = 3;          ///< AR(1) errors, exact ML
inline constexpr int kExactAr2 = 4;          ///< AR(2) errors, exact ML
inline constexpr int kIv = 5;                ///< instrumental variables (2SLS)
inline constexpr int kGaussNewtonAr = 6;     ///< AR errors, Gauss-Newton, lags 1..J
inline constexpr int kGaussNewtonArGaps = 7; ///< AR errors, Gauss-Newton, lags with gaps
inline constexpr int kIvAr = 8;              ///< IV with AR errors, lags 1..J
inline constexpr int kIvArGaps = 9;          ///< IV with AR errors, lags with gaps
inline constexpr int kMa = 10;               ///< MA errors, exact ML, lags 1..J
inline constexpr int kMaGaps = 11;           ///< MA errors, lags with gaps
inline constexpr int kIvMa = 12;             ///< IV with MA errors, lags 1..J
inline constexpr int kIvMaGaps = 13;         ///< IV with MA errors, lags with gaps
inline constexpr int kNls = 14;              ///< non-linear least squares
inline constexpr int kNl2sls = 15;           ///< non-linear two-stage least squares
inline constexpr int kErrorCorrection = 17;  ///< one equation of a cointegrating VAR's error-correction model,
                                             ///< estimated by least squares with the system's report
/// The rolling menu's window-size step (option 1 of menu 1047) shares the number 17 with
/// the error-correction equation, but is never a method: no menu option chooses 17, no
/// estimate carries it, and the rolling dialogue keeps the window in its own word.
inline constexpr int kRollingWindow = 17;
inline constexpr int kRollingOls = 18;       ///< rolling least squares
inline constexpr int kRolling2sls = 19;      ///< rolling two-stage least squares
inline constexpr int kRecursiveOls = 60;     ///< recursive least squares
inline constexpr int kRecursive2sls = 61;    ///< recursive two-stage least squares
inline constexpr int kGarch = 70;            ///< GARCH family
inline constexpr int kGarchVariant = 71;     ///< the GARCH family's second code
inline constexpr int kArdlEcm = 78;          ///< ARDL error-correction representation
inline constexpr int kArdl = 79;             ///< ARDL estimates
inline constexpr int kArdlLongRun = 80;      ///< ARDL long-run coefficients
inline constexpr int kPhillipsHansen = 81;   ///< fully modified least squares
inline constexpr int kVar = 82;              ///< one equation of an unrestricted VAR
inline constexpr int kSure = 83;             ///< SURE
inline constexpr int kRestrictedSure = 84;   ///< restricted SURE
inline constexpr int kLogit = 92;            ///< logit
inline constexpr int kProbit = 93;           ///< probit
}  // namespace method

/// The family a method belongs to.
enum class Family {
  kLeastSquares,
  kInstrumental,
  kArErrors,
  kMaErrors,
  kNonLinear,
  kRolling,
  kRecursive,
  kGarch,
  kArdl,
  kFullyModified,
  kSystem,  ///< an equation of a VAR or a cointegrating VAR
  kSure,
  kBinaryChoice,
};

/// The error process whose lags the options dialogue asks.
enum class ErrorLags { kNone, kAr, kMa };

/// What the second figure of the page's residual line shows.
enum class Minimand { kLogLikelihood, kIvMinimand, kAdjustedIvMinimand };

/// How the stored variance matrix relates to the variance of the estimates.
enum class VarianceScale {
  kScaled,    ///< the matrix times SIGMA² (least squares, IV, AR, NLS, ARDL, fully modified)
  kAbsolute,  ///< the matrix itself (MA, GARCH, logit/probit, SURE)
};

/// How residuals, fitted values and their bands are scaled.
enum class ResidualScaling { kNone, kLongRunMultiplier };

/// The option of a method menu that chooses a method.
struct MenuOffer {
  int menu = 0;    ///< 1014 linear regression, 1034 non-linear, 1035 recursive, 1047 rolling
  int option = 0;  ///< its option number
};

/// An estimator: estimates the current equation into the estimation state and sets the
/// status word; `interactive` lets it show its own failure messages.
using Estimator = void (*)(bool interactive);

struct MethodRow {
  int code = 0;
  std::string_view name{};       ///< in refusals ("Cochrane-Orcutt estimation of AR errors")
  std::string_view word{};       ///< the six-character word of the "Based on" header
  std::string_view title{};      ///< the centred title of its results page
  std::string_view test_case{};  ///< " (OLS case)" in the variable addition and deletion tests
  std::string_view based_on{};   ///< a "Based on" line of its own, in place of the method word
  Family family = Family::kLeastSquares;
  MenuOffer offer{};             ///< the menu option that chooses it (none: menu 0)
  int gaps_code = 0;           ///< the code of the same method when its lags have gaps
  bool instruments = false;    ///< the user lists instruments
  ErrorLags lags = ErrorLags::kNone;
  bool initial_values = false;        ///< the Initial AR/MA parameter estimates menu comes first
  bool bounded_by_work_space = true;  ///< observations times parameters must fit the work space
  bool iv_fit = false;                ///< generalised fit measures and the IV minimand
  bool iv_tests = false;              ///< the diagnostic regressions project on the instruments
  bool least_squares_tests = false;   ///< the serial-correlation test in its least-squares form
  Minimand minimand = Minimand::kLogLikelihood;
  bool information_criteria = true;   ///< Akaike and Schwarz lines on the page
  bool durbin_h = false;              ///< Durbin's h with a lagged dependent variable
  bool residuals_given = false;       ///< its estimator leaves the residuals for the summary
  VarianceScale variance = VarianceScale::kScaled;  ///< the variance matrix an estimate starts with
  ResidualScaling residual_scaling = ResidualScaling::kNone;
  bool plain_residuals = false;       ///< residual listings show the residuals, not the transformed ones
  bool transforms_residuals = true;   ///< post-estimation computes the transformed residuals
  bool skips_ar_observations = false; ///< the dependent variable's moments leave out the first p observations
  int exact_ar_order = 0;             ///< 1 or 2 for the exact-ML AR estimators
  bool coefficient_table_only = false;  ///< the page is the coefficient table without the fit summary
  bool diagnostic_table = false;      ///< the page carries the diagnostic tests table
  bool least_squares_plots = false;   ///< CUSUM plots and residual plots of a least-squares fit
  bool residual_arch_tests = true;    ///< the ARCH and unit-root tests of its residuals
  bool residual_menu = true;          ///< the residuals menu is open to it
  int first_post_option = 1;          ///< the Post Regression Menu option offered first
  std::string_view post_menu_leave{};  ///< option 0 of the Post Regression Menu, when not the usual
  bool garch_residual_options = false;  ///< the residuals menu offers the conditional standard errors
  std::string_view forecast_advice{};   ///< where its forecasts are made, when not in the menu
  bool refuses_exact_fit = true;      ///< a perfect fit is refused
  Estimator estimate = nullptr;       ///< nullptr: not available in this version
};

/// Every row, in code order.
std::span<const MethodRow> method_rows();

/// The row of `code`; a row of blank texts and default flags for a code without one.
const MethodRow& method_row(int code);

/// The method that option `option` of menu `menu` chooses; 0 when none does.
int method_of_option(int menu, int option);

/// The name a refusal gives the method of `code`; "This estimation method" for a code
/// without one.
std::string_view method_name(int code);

/// Whether this version estimates `code`.
bool method_available(int code);

/// Tells the user that the method of `code` is not available in this version.
void refuse_method(int code);

}  // namespace qorv::single
