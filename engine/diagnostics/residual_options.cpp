// The Display/Save Residuals and Fitted Values Menu, the leverage options of the Post
// Regression Menu, and the time plots over the estimation sample they draw.
#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/message_lines.h"
#include "engine/core/plot_writer.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/leverage.h"
#include "engine/diagnostics/post_regression_menus.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/residual_correlogram.h"
#include "engine/diagnostics/residual_series.h"
#include "engine/diagnostics/result_series.h"
#include "engine/single/estimation_state.h"
#include "engine/single/estimation_titles.h"
#include "shared/plot_file.h"

namespace qorv::diagnostics {

namespace {

namespace method = single::method;
using plot_file::PlotType;

/// Display/Save Residuals and Fitted Values Menu options.
enum ResidualOption : int {
  kBack = 0,
  kList = 1,
  kPlotFitted = 2,
  kPlotResiduals = 3,
  kCorrelogram = 4,
  kHistogram = 5,
  kSaveResiduals = 6,
  kSaveFitted = 7,
  kPlotGarchErrors = 8,
  kSaveGarchErrors = 9,
};

constexpr int kLineWidth = 79;

/// The listing of observations, actual and fitted values and residuals on a page of its own.
void list_residuals() {
  const auto& s = single::estimation();
  const int page = core::channel::kResultsPage;
  core::SHOWRESULTS(core::kOpenPage);
  std::string title(kLineWidth, ' ');
  title.replace(0, 41, "Residuals and Fitted Values of Regression");
  core::JUSTIFYTEXT(title, kLineWidth, 'C');
  core::WRITELINE(title, page);
  single::BASEDONHEADER(s.method, page);
  // The listing reads the residual block; methods with AR or MA errors list their
  // transformed residuals in its place.
  std::vector<double> shown(s.result);
  const std::vector<double> e = listed_residuals();
  std::copy(e.begin(), e.end(), shown.begin() + single::block::kResiduals);
  // The observations an AR filter lost are not listed: every block starts after them.
  const int lost = std::clamp(single::lost_observations(), 0, std::max(s.nused - 1, 0));
  shown.erase(shown.begin(), shown.begin() + lost);
  shown.resize(s.result.size(), 0.0);
  int status = 0;
  core::PRINTFITTED(s.nused - lost, core::globals().sample_start - 1 + lost, shown, s.method, page, status);
  core::SHOWRESULTS(core::kShowPage);
}

void plot_actual_and_fitted() {
  const auto& s = single::estimation();
  const auto y = single::series_block(single::block::kActual);
  const auto f = single::series_block(single::block::kFitted);
  plot_over_sample("Plot of Actual and Fitted Values", {{y.begin(), y.end()}, {f.begin(), f.end()}},
                   {s.eqvarnames.empty() ? std::string() : s.eqvarnames.front(), "Fitted"},
                   static_cast<int>(PlotType::kTime));
}

void plot_residuals() {
  const auto& s = single::estimation();
  const bool long_run = single::method_row(s.method).residual_scaling == single::ResidualScaling::kLongRunMultiplier;
  const double band = 2.0 * s.sigma * (long_run ? s.lr_multiplier : 1.0);
  const std::vector<double> upper(static_cast<std::size_t>(s.nused), band), lower(upper.size(), -band);
  plot_over_sample(single::method_row(s.method).plain_residuals ? "Plot of Residuals and Two Standard Error Bands"
                                                   : "Plot of Transformed Residuals and Two Standard Error Bands",
                   {listed_residuals(), upper, lower}, {"Residuals", "2*S.E.", "-2*S.E."},
                   static_cast<int>(PlotType::kTime));
}

void plot_histogram() {
  const int classes = histogram_classes(single::estimation().nused);
  plot_over_sample("Histogram of Residuals and the Normal Density", {listed_residuals()}, {"Residuals"},
                   static_cast<int>(PlotType::kHistogramNormal), classes);
}

/// Option 5 of a GARCH estimate: the residuals scaled by their conditional standard
/// deviations, against the normal density or the t density of the estimated degrees of
/// freedom.
void plot_scaled_histogram() {
  const auto& s = single::estimation();
  const auto& g = s.garch;
  const std::vector<double> e = listed_residuals();
  std::vector<double> scaled(e.size(), limits::kMissing);
  for (std::size_t t = 0; t < e.size() && t < g.conditional_sd.size(); ++t)
    if (g.conditional_sd[t] > 0.0) scaled[t] = e[t] / g.conditional_sd[t];
  const int classes = histogram_classes(s.nused);
  if (g.distribution != 0) {
    plot_over_sample("Histogram of Scaled Residuals and the t-distribution Density", {scaled}, {"Scaled Residuals"},
                     static_cast<int>(PlotType::kHistogramT), classes, single::coefficient(single::parameter_count()));
  } else {
    plot_over_sample("Histogram of Scaled Residuals and the Normal Density", {scaled}, {"Scaled Residuals"},
                     static_cast<int>(PlotType::kHistogramNormal), classes);
  }
}

/// Options 6 and 7: the residuals as the listing shows them followed by the forecast
/// errors, or the fitted values followed by the forecasts, when forecasts were made (they
/// cover the observations after the estimation sample).
void save_residuals_or_fitted(int option) {
  const auto& s = single::estimation();
  const core::Globals& g = core::globals();
  const int forecasts = std::clamp(s.forecast_count, 0, single::block::kMaxParameters);
  const auto predicted = std::span<const double>(s.result).subspan(single::block::kForecasts,
                                                                   static_cast<std::size_t>(forecasts));
  std::vector<double> series;
  int kind = series_kind::kFitted;
  if (option == kSaveResiduals) {
    series = listed_residuals();
    kind = series_kind::kResiduals;
    const int dependent = s.eqvarlist.empty() ? 0 : s.eqvarlist.front();
    for (int i = 1; i <= forecasts; ++i) {
      const int t = g.sample_end + i;
      const double y = t <= g.nobs && dependent >= 1 && dependent <= g.nvars ? core::data_at(t, dependent) : limits::kMissing;
      const double f = predicted[static_cast<std::size_t>(i - 1)];
      series.push_back(y == limits::kMissing || f == limits::kMissing ? limits::kMissing : y - f);
    }
  } else {
    const auto fitted = single::series_block(single::block::kFitted);
    series.assign(fitted.begin(), fitted.end());
    series.insert(series.end(), predicted.begin(), predicted.end());
    if (forecasts > 0) kind = series_kind::kFittedAndForecasts;
  }
  SAVERESULTSERIES(series, kind, forecasts);
}

}  // namespace

void plot_over_sample(std::string_view title, const std::vector<std::vector<double>>& series,
                      const std::vector<std::string>& names, int type, int classes, double degrees_of_freedom) {
  const auto& s = single::estimation();
  const int n = s.nused;
  if (n < 1 || series.empty()) return;
  std::vector<double> data;
  std::vector<int> columns;
  for (const auto& values : series) {
    columns.push_back(static_cast<int>(columns.size()) + 1);
    for (int t = 0; t < n; ++t)
      data.push_back(static_cast<std::size_t>(t) < values.size() ? values[static_cast<std::size_t>(t)] : limits::kMissing);
  }
  std::string heading(title);
  int status = 0;
  const int last = classes > 0 ? classes : n;
  core::PLOTSERIES(data, n, n, 0, core::globals().sample_start - 1, columns, static_cast<int>(series.size()), names,
                   degrees_of_freedom, last, type, heading, status);
}

void residuals_menu() {
  const int code = single::estimation().method;
  int choice = kPlotFitted;
  for (;;) {
    RESIDMENU(choice, code);
    const int option = choice;
    choice = kBack;
    switch (option) {
      case kList: list_residuals(); break;
      case kPlotFitted: plot_actual_and_fitted(); break;
      case kPlotResiduals: plot_residuals(); break;
      case kCorrelogram: plot_residual_correlogram(); break;
      case kHistogram:
        if (code == method::kGarch) plot_scaled_histogram();
        else plot_histogram();
        break;
      case kSaveResiduals:
      case kSaveFitted: save_residuals_or_fitted(option); break;
      case kPlotGarchErrors:
        plot_over_sample("Plot of the conditinal S.E.'s of GARCH Regression", {single::estimation().garch.conditional_sd},
                         {"H-hat"}, static_cast<int>(PlotType::kTime));
        break;
      case kSaveGarchErrors: {
        // The sample's conditional standard errors, then those of the last forecast period.
        const single::GarchFlags& garch = single::estimation().garch;
        std::vector<double> series = garch.conditional_sd;
        series.insert(series.end(), garch.forecast_sd.begin(), garch.forecast_sd.end());
        SAVERESULTSERIES(series, series_kind::kGarchStandardErrors, static_cast<int>(garch.forecast_sd.size()));
        break;
      }
      default: return;
    }
  }
}

void leverage_option(int option) {
  const auto& s = single::estimation();
  if (!single::method_row(s.method).least_squares_plots) {
    core::SHOWMSGFILE(core::msg::kNotForThisMethod);
    return;
  }
  std::vector<double> h;
  {
    BusyNotice busy;
    h = LEVERAGE();
  }
  if (h.empty()) {
    core::SHOWMSGFILE(core::msg::kSingularMatrix);
    return;
  }
  if (option == 6) {
    const std::vector<double> average(h.size(), static_cast<double>(s.nregs) / s.nused);
    plot_over_sample("Plot of the Leverage Measures of the Regression", {h, average}, {"Leverage", "Average"},
                     static_cast<int>(PlotType::kTime));
  } else {
    SAVERESULTSERIES(h, series_kind::kLeverage, 0);
  }
}

}  // namespace qorv::diagnostics
