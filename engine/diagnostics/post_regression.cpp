#include "engine/diagnostics/post_regression.h"

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/num/matrices.h"
#include "engine/core/results_page.h"
#include "engine/core/sample_statistics.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/adjusted_variance_menu.h"
#include "engine/diagnostics/diagnostic_tests.h"
#include "engine/diagnostics/post_regression_menus.h"
#include "engine/diagnostics/parameter_tables.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/single_forecast.h"
#include "engine/diagnostics/wald_options.h"
#include "engine/single/equation_text.h"
#include "engine/single/estimation_state.h"
#include "engine/single/likelihood_plot.h"
#include "engine/single/result_report.h"

namespace qorv::diagnostics {

namespace {

namespace method = single::method;

/// Post Regression Menu options.
enum PostRegressionOption : int {
  kLeave = 0,
  kDisplayAgain = 1,
  kHypothesisTests = 2,
  kResiduals = 3,
  kAdjustedVariances = 4,
  kParameterFunctions = 5,
  kPlotLeverage = 6,
  kSaveLeverage = 7,
  kForecast = 8,
  kForecastPlotOnly = 9,
};

/// The transformed residuals of the exact-ML AR estimators (and the raw residuals when the
/// equation has no AR error: r1 = r2 = 0), stored beside the raw ones; the fitted values
/// become the actual values less them.
void transform_residuals(double r1, double r2) {
  auto& s = single::estimation();
  const int n = s.nused;
  if (n < 1) return;
  auto u = single::series_block(single::block::kResiduals);
  auto v = single::series_block(single::block::kTransformedResiduals);
  const bool identity = r1 == 0.0 && r2 == 0.0;
  for (int t = 0; t < n; ++t) {
    const auto i = static_cast<std::size_t>(t);
    if (identity) {
      v[i] = u[i];
    } else if (t == 0) {
      v[i] = std::sqrt(((1.0 - r2) * (1.0 - r2) - r1 * r1) * (1.0 + r2) / (1.0 - r2)) * u[0];
    } else if (t == 1) {
      v[i] = std::sqrt(1.0 - r2 * r2) * u[1] - r1 * std::sqrt((1.0 + r2) / (1.0 - r2)) * u[0];
    } else {
      v[i] = u[i] - r1 * u[i - 1] - r2 * u[i - 2];
    }
    if (!std::isfinite(v[i])) v[i] = limits::kMissing;
  }
  if (identity) return;  // the fitted values stand as the estimator left them
  for (int t = 1; t <= n; ++t) {
    const double e = v[static_cast<std::size_t>(t - 1)];
    single::fitted(t) = e == limits::kMissing ? limits::kMissing : single::actual(t) - e;
  }
}

/// The largest AR lag of the equation (0 without AR errors).
int largest_ar_lag() {
  const auto& s = single::estimation();
  return single::method_row(s.method).lags == single::ErrorLags::kAr && !s.arma_lags.empty() ? s.arma_lags.back() : 0;
}

/// Option 8 or 9: the systems and ARDL equations forecast from their own menus.
void forecast_option(int option) {
  const int code = single::estimation().method;
  const std::string_view advice = single::method_row(code).forecast_advice;
  if (!advice.empty()) core::SHOWMESSAGE(std::string(advice));
  else if (forecasts_single_equation(code)) SINGLEFORECAST(option == kForecastPlotOnly);
  else not_available("Forecasting");
}

}  // namespace

void not_available(std::string_view what) {
  core::SHOWOK(core::kInformation, core::kNoHelp, std::string(what) + " is not available in this version of Zelvorin.");
}

BusyNotice::BusyNotice() { core::SHOWCALCULATING(); }
BusyNotice::~BusyNotice() { core::STOPCALC(); }

PostRegressionContext prepare_post_regression() {
  PostRegressionContext context;
  auto& s = single::estimation();
  const int code = s.method;
  const single::MethodRow& row = single::method_row(code);
  const bool ar = row.lags == single::ErrorLags::kAr, ma = row.lags == single::ErrorLags::kMa;

  // 2. The stationary covariance of p consecutive AR errors, from the lag polynomial.
  const int p = largest_ar_lag();
  if (ar && p > 0) {
    std::vector<double> a(static_cast<std::size_t>(p) + 1, 0.0);
    a[0] = 1.0;
    for (std::size_t i = 0; i < s.arma_lags.size(); ++i)
      a[static_cast<std::size_t>(s.arma_lags[i])] = -single::coefficient(s.nregs + static_cast<int>(i) + 1);
    context.ar_inverse_covariance.assign(static_cast<std::size_t>(p) * (p + 1) / 2, 0.0);
    int fail = 0;
    core::PACKEDSETUP(a, context.ar_inverse_covariance, p, fail);
    if (fail != 0) context.ar_inverse_covariance.clear();
  }

  // The error parameters as their table shows them; a non-stationary AR polynomial leaves
  // no covariance above and its t-ratios are not shown.
  if ((ar || ma) && !s.arma_lags.empty()) {
    ErrorParameters& table = context.error_parameters;
    table.method = code;
    table.lags = s.arma_lags;
    for (std::size_t i = 0; i < s.arma_lags.size(); ++i) {
      const int j = s.nregs + static_cast<int>(i) + 1;
      table.values.push_back(single::coefficient(j));
      const double v = single::coefficient_variance(j, j);
      table.std_errors.push_back(v == limits::kMissing || !(v >= 0.0) ? limits::kMissing : std::sqrt(v));
    }
    table.loglik = s.stage_loglik;
    table.unstable = ar && context.ar_inverse_covariance.empty();
    if (ma) {
      table.roots_at_one = s.ma_unit_roots[0];
      table.roots_at_minus_one = s.ma_unit_roots[1];
    }
  }

  // 4. Mean and variance of the dependent variable (after the first p observations for the
  //    estimators that lose them).
  const int skip = row.skips_ar_observations ? p : 0;
  if (s.nused > skip) {
    auto y = single::series_block(single::block::kActual);
    core::MEANVAR(y.subspan(static_cast<std::size_t>(skip)), s.depmean, s.depvar);
  }

  // 5. Transformed residuals, from the AR error coefficients of the exact-ML estimators.
  if (row.transforms_residuals) {
    double r1 = 0.0, r2 = 0.0;
    if (row.exact_ar_order >= 1) r1 = single::coefficient(s.nregs + 1);
    if (row.exact_ar_order >= 2) r2 = single::coefficient(s.nregs + 2);
    transform_residuals(r1, r2);
  }

  // 6. Their sum of squares.
  long double sum = 0.0L;
  const auto v = single::series_block(single::block::kTransformedResiduals);
  for (int t = skip; t < s.nused; ++t) sum += static_cast<long double>(v[static_cast<std::size_t>(t)]) * v[static_cast<std::size_t>(t)];
  context.transformed_rss = static_cast<double>(sum);
  return context;
}

namespace {

/// The variance equation of the current GARCH estimate, in the parameter table's order:
/// constant, ARCH, asymmetric and GARCH terms, the in-mean coefficient and the variables
/// by name, the degrees of freedom.
GarchParameters garch_parameters() {
  const auto& s = single::estimation();
  const single::GarchFlags& g = s.garch;
  GarchParameters t;
  t.form = g.absolute ? GarchForm::kAbsolute : g.exponential ? GarchForm::kExponential : GarchForm::kPlain;
  t.arch_lags = g.ma_lags;
  if (g.exponential) t.asymmetric_lags = g.ma_lags;
  t.garch_lags = g.ar_lags;
  t.student_t = g.distribution != 0;
  const auto take = [&](int i) {
    t.values.push_back(single::coefficient(i));
    const double v = single::coefficient_variance(i, i);
    t.std_errors.push_back(v > 0.0 && v != limits::kMissing ? std::sqrt(v) : limits::kMissing);
  };
  int i = s.nregs + 1;
  const int in_mean = g.in_mean ? i++ : 0;
  const int lag_terms = 1 + static_cast<int>(g.ma_lags.size() * (g.exponential ? 2 : 1) + g.ar_lags.size());
  for (int j = 0; j < lag_terms; ++j) take(i++);
  if (in_mean > 0) {
    t.names.push_back(single::error_parameter_label(1));
    take(in_mean);
  }
  for (const auto& name : g.variance_names) {
    t.names.push_back(name);
    take(i++);
  }
  if (t.student_t) take(i);
  return t;
}

}  // namespace

void show_estimation_results(const PostRegressionContext& context, bool announce) {
  const auto& s = single::estimation();
  const int page = core::channel::kResultsPage;
  core::SHOWRESULTS(core::kOpenPage);
  {
    std::optional<BusyNotice> busy;
    if (announce) busy.emplace();
    const single::MethodRow& row = single::method_row(s.method);
    if (row.coefficient_table_only) {
      single::REGRESSIONTABLE(s.method, page);
    } else {
      single::write_estimate_report(page);
    }
    if (!context.error_parameters.lags.empty()) ERRORPARAMETERTABLE(context.error_parameters, page);
    if (row.family == single::Family::kGarch) GARCHPARAMETERTABLE(garch_parameters(), page);
    if (row.diagnostic_table) DIAGNOSTICTESTS(page);
    single::GARCHFORMULA();
  }
  core::SHOWRESULTS(core::kShowPageWithModel);
  // A single AR or MA error parameter: the concentrated likelihood around the estimate.
  single::plot_concentrated_likelihood();
}

void POSTREGRESSION() {
  PostRegressionContext context = prepare_post_regression();
  show_estimation_results(context, false);
  const int code = single::estimation().method;
  const single::MethodRow& row = single::method_row(code);
  int choice = row.first_post_option;
  for (;;) {
    POSTREGMENU(choice, code);
    const int option = choice;
    choice = kDisplayAgain;
    switch (option) {
      case kDisplayAgain:
        show_estimation_results(context, true);
        break;
      case kHypothesisTests:
        if (row.family == single::Family::kSure) {
          core::SHOWMESSAGE(
              "Choose option 4 in the SURE Post Estimation Menu to carry out tests on the parameters of the "
              "estimated SURE model!");
        } else if (hypothesis_menu(context) == MenuExit::kEndDialogue) {
          return;
        }
        break;
      case kResiduals:
        if (!row.residual_menu) core::SHOWMSGFILE(core::msg::kNotForThisMethod);
        else residuals_menu();
        break;
      case kAdjustedVariances:
        adjusted_variance_option();
        break;
      case kParameterFunctions:
        if (row.family == single::Family::kSure) {
          core::SHOWMESSAGE(
              "Choose option 5 in the SURE Post Estimation Menu to estimate/test (possibly non-linear) functions "
              "of parameters!");
        } else {
          single_equation_wald(RelationMode::kFunctions);
        }
        break;
      case kPlotLeverage:
      case kSaveLeverage:
        leverage_option(option);
        break;
      case kForecast:
      case kForecastPlotOnly:
        forecast_option(option);
        break;
      default:
        // Option 0 of a GARCH estimate asks for the model to be specified again.
        if (option == 0 && row.family == single::Family::kGarch)
          single::estimation().status = single::status::kRespecify;
        return;  // option 0 or a cancelled menu
    }
  }
}

}  // namespace qorv::diagnostics
