#include "engine/multi/dynamic_forecast.h"

#include <cmath>
#include <string_view>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/number_format.h"
#include "engine/core/obs_label.h"
#include "engine/core/plot_writer.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/sample_period.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/result_series.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/plot_file.h"

namespace qorv::multi {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr double kMissing = limits::kMissing;

double difference(double a, double b) { return a == kMissing || b == kMissing ? kMissing : a - b; }

std::string title_of(const ForecastDisplay& display, bool changes, const std::string& name) {
  const bool ardl = display.titles == ForecastTitles::kArdl;
  std::string text = ardl ? "Dynamic forecasts for the " : "Multivariate dynamic forecasts for the ";
  text += changes ? "change in " : "level of ";
  return text + name;
}

std::string label(int t) { return core::plain_label(core::OBSLABEL(t)); }

void write_table(const ForecastDisplay& display, const ForecastSeries& s, const std::string& title) {
  core::SHOWRESULTS(core::kOpenPage);
  core::WRITEPAGEBREAK(kPage);
  std::string line = fixed_text::pad(title, core::kTableWidth);
  core::JUSTIFYTEXT(line, core::kTableWidth, 'C');
  core::WRITELINE(line, kPage);
  if (display.header) display.header();
  core::WRITELINE(" Observation      Actual   Prediction     Error", kPage);
  for (std::size_t i = 0; i < s.actual.size(); ++i) {
    const int t = display.first + static_cast<int>(i);
    core::WRITELINE(" " + fixed_text::pad(core::OBSLABEL(t), 7) + "     " + core::FORMATREAL9(s.actual[i]) + "    " +
                        core::FORMATREAL9(s.predicted[i]) + "   " + core::FORMATREAL9(s.error[i]),
                    kPage);
  }
  core::WRITESTARS(core::kMaxStars, kPage);
  line = fixed_text::pad("Summary Statistics for Residuals and Forecast Errors", core::kTableWidth);
  core::JUSTIFYTEXT(line, core::kTableWidth, 'C');
  core::WRITELINE(line, kPage);
  const auto estimation = static_cast<std::size_t>(display.end - display.first + 1);
  const std::span<const double> errors(s.error);
  const SummaryStatistics in = summary_statistics(errors.first(estimation));
  const SummaryStatistics out = summary_statistics(errors.subspan(estimation));
  core::WRITELINE("                         Estimation Period          Forecast Period", kPage);
  core::WRITELINE("                       " + label(display.first) + " to " + label(display.end) + "       " +
                      label(display.end + 1) + " to " + label(display.last),
                  kPage);
  const std::pair<std::string_view, double SummaryStatistics::*> rows[] = {
      {" Mean", &SummaryStatistics::mean},
      {" Mean Absolute", &SummaryStatistics::mean_absolute},
      {" Mean Sum Squares", &SummaryStatistics::mean_squares},
      {" Root Mean Sum Squares", &SummaryStatistics::root_mean_squares}};
  for (const auto& [name, field] : rows)
    core::WRITELINE(fixed_text::pad(name, 28) + core::FORMATREAL9(in.*field) + "                " +
                        core::FORMATREAL9(out.*field),
                    kPage);
  core::WRITESTARS(core::kMaxStars, kPage);
  core::SHOWRESULTS(core::kShowPage);
}

void plot(const ForecastDisplay& display, const ForecastSeries& s, const std::string& name, std::string title) {
  int start = display.first;
  int finish = display.last;
  std::string text;
  if (core::GETSAMPLE(display.first, display.last, start, finish, core::kPlottedFits, text)) return;
  const int from = start - display.first;
  const int count = finish - start + 1;
  std::vector<double> data(s.actual.begin() + from, s.actual.begin() + from + count);
  data.insert(data.end(), s.predicted.begin() + from, s.predicted.begin() + from + count);
  const std::vector<int> columns = {1, 2};
  const std::vector<std::string> names = {name, "Forecast"};
  int type = static_cast<int>(plot_file::PlotType::kTime);
  int status = 0;
  core::PLOTSERIES(data, count, count, 0, start - 1, columns, 2, names, 0.0, finish, type, title, status);
}

/// Saves the predictions as a new variable: they start at the first observation of the
/// estimation period, whatever estimate the estimation state holds.
void save(const ForecastDisplay& display, std::span<const double> predicted) {
  auto& g = core::globals();
  auto& s = single::estimation();
  const int start = g.sample_start, nused = s.nused;
  g.sample_start = display.first;
  s.nused = display.end - display.first + 1;
  diagnostics::SAVERESULTSERIES(predicted, diagnostics::series_kind::kFittedAndForecasts, display.last - display.end);
  g.sample_start = start;
  s.nused = nused;
}

}  // namespace

ForecastSeries forecast_series(std::span<const double> actual, std::span<const double> predicted, int estimation,
                               bool changes) {
  ForecastSeries s;
  const std::size_t n = std::min(actual.size(), predicted.size());
  for (std::size_t i = 0; i < n; ++i) {
    double a = actual[i];
    double p = predicted[i];
    if (changes && i > 0) {
      const bool later_forecast = static_cast<int>(i) > estimation;
      a = difference(actual[i], actual[i - 1]);
      p = difference(predicted[i], later_forecast ? predicted[i - 1] : actual[i - 1]);
    }
    s.actual.push_back(a);
    s.predicted.push_back(p);
    s.error.push_back(difference(a, p));
  }
  return s;
}

SummaryStatistics summary_statistics(std::span<const double> errors) {
  long double sum = 0, absolute = 0, squares = 0;
  int count = 0;
  for (double e : errors) {
    if (e == kMissing) continue;
    sum += e;
    absolute += std::fabs(e);
    squares += static_cast<long double>(e) * e;
    ++count;
  }
  if (count == 0) return SummaryStatistics{kMissing, kMissing, kMissing, kMissing};
  const double mean_squares = static_cast<double>(squares / count);
  return SummaryStatistics{static_cast<double>(sum / count), static_cast<double>(absolute / count), mean_squares,
                           std::sqrt(mean_squares)};
}

void DYNFORECAST(const ForecastDisplay& display) {
  const int rows = display.last - display.first + 1;
  std::vector<std::string> options = {"None"};
  options.insert(options.end(), display.names.begin(), display.names.end());
  const core::MenuTable menu{1046, 0, 0,
                             display.titles == ForecastTitles::kArdl ? "ARDL Forecast Menu" : "Multivariate Forecast Menu",
                             {"Choose another variable", "Display forecasts and forecast errors",
                              "Plot of in-sample fitted values and out of sample forecasts",
                              "Save in-sample fitted values and out of sample forecasts"}};
  int chosen = 1;
  while (true) {
    int status = 0;
    core::ASKONEOPTION(core::kNoHelp, status, chosen, "Choose the variable you wish to forecast", options);
    if (status != 1 || chosen == 0) return;
    const auto column = static_cast<std::size_t>(chosen - 1);
    const std::string& name = display.names[column];
    const std::vector<std::string> modes = {"Level of " + name, "Change in " + name};
    int mode = 0;
    core::ASKONEOPTION(core::kNoHelp, status, mode, "Choose to forecast levels or changes", modes);
    if (status != 1) continue;
    const bool changes = mode == 1;
    std::vector<double> actual;
    for (int t = display.first; t <= display.last; ++t) actual.push_back(core::data_at(t, display.variables[column]));
    const std::span<const double> predicted(display.predictions.data() + column * static_cast<std::size_t>(rows),
                                            static_cast<std::size_t>(rows));
    const ForecastSeries series = forecast_series(actual, predicted, display.end - display.first + 1, changes);
    const std::string title = title_of(display, changes, name);
    int choice = 1;
    while (true) {
      const int action = core::show_menu_table(menu, choice);
      if (action == 1) write_table(display, series, title);
      else if (action == 2) plot(display, series, name, title);
      else if (action == 3) save(display, predicted);
      else break;
    }
  }
}

}  // namespace qorv::multi
