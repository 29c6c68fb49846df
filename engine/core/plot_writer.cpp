#include "engine/core/plot_writer.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <new>
#include <numbers>
#include <string_view>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/distributions.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/obs_calendar.h"
#include "shared/plot_file.h"
#include "shared/temp_files.h"

namespace qorv::core {

namespace {

using plot_file::PlotType;

constexpr std::string_view kSavedPlotsNotice =
    "To display saved plots, you should choose the View option from the File menu";
constexpr std::string_view kNoPlotFileMessage =
    "Unable to create temporary file - graph will not be shown!\rTry changing temporary file location "
    "in Options Startup or consult system administrator";

bool is_missing(double v) { return v == limits::kMissing || !std::isfinite(v); }

/// Moves both halves of slot 29 by `step` (each a 16-bit unsigned count, never carrying).
uint16_t bump_counters(int step) {
  const int32_t s = slot(slots::kPlotCounters);
  const auto kept = static_cast<uint16_t>(slots::plots_kept(s) + step);
  const auto running = static_cast<uint16_t>(slots::running_plot_number(s) + step);
  set_slot(slots::kPlotCounters, slots::make_plot_counters(kept, running));
  return running;
}

/// Record 4: frequency, year and period of the first plotted observation.
void date_record(plot_file::Plot& plot, int obs) {
  const Globals& g = globals();
  plot.frequency = std::clamp(g.frequency, 1, 5);
  plot.first_period = 1;
  if (plot.frequency == 1) {
    plot.first_year = obs;
  } else if (plot.frequency == 2) {
    plot.first_year = obs + g.start_year;
  } else {
    const obs_calendar::DataStart start =
        obs_calendar::start_from_fields(g.frequency, g.start_year, g.start_period, g.century_base);
    const obs_calendar::LabelDate date = obs_calendar::date_of(obs + 1L, start);
    plot.first_year = date.century + date.year;
    plot.first_period = date.period;
  }
}

/// Density at `z` of Student's t with `df` degrees of freedom scaled to unit variance (the
/// plain t when the variance is not finite).
double standardised_t_density(double z, double df) {
  const double scale = df > 2.0 ? std::sqrt(df / (df - 2.0)) : 1.0;
  const double t = z * scale;
  int fault = 0;
  const double log_c = LOGGAMMA((df + 1.0) / 2.0, fault) - LOGGAMMA(df / 2.0, fault) -
                       0.5 * std::log(df * std::numbers::pi);
  return scale * std::exp(log_c - (df + 1.0) / 2.0 * std::log1p(t * t / df));
}

/// The histogram of `values` in `classes` classes: the counts as the series, the class
/// midpoints, and the density curve (normal, or standardised t with `df` degrees of
/// freedom) at 101 points over [min, max], scaled to the counts.
void histogram(plot_file::Plot& plot, const std::vector<double>& values, int classes, bool t_curve, double df) {
  std::vector<double> present;
  for (double v : values)
    if (!is_missing(v)) present.push_back(v);
  double lo = 0.0, hi = 1.0, mean = 0.0, sd = 0.0;
  if (!present.empty()) {
    const auto [mn, mx] = std::minmax_element(present.begin(), present.end());
    lo = *mn;
    hi = *mx;
    for (double v : present) mean += v;
    mean /= static_cast<double>(present.size());
    for (double v : present) sd += (v - mean) * (v - mean);
    if (present.size() > 1) sd = std::sqrt(sd / static_cast<double>(present.size() - 1));
  }
  if (hi <= lo) {  // one value: a class of width 1 around it
    lo -= 0.5;
    hi += 0.5;
  }
  const double width = (hi - lo) / classes;
  std::vector<double> counts(static_cast<std::size_t>(classes), 0.0);
  for (double v : present) {
    const int k = std::clamp(static_cast<int>(std::floor((v - lo) / width)), 0, classes - 1);
    counts[static_cast<std::size_t>(k)] += 1.0;
  }
  plot.series.front().values = counts;
  plot.classes.clear();
  for (int k = 0; k < classes; ++k) plot.classes.push_back(lo + (k + 0.5) * width);
  plot.curve.assign(plot_file::kCurvePoints, 0.0);
  if (sd <= 0.0) return;
  const double area = static_cast<double>(present.size()) * width;
  for (int j = 0; j < plot_file::kCurvePoints; ++j) {
    const double x = lo + (hi - lo) * j / (plot_file::kCurvePoints - 1);
    const double z = (x - mean) / sd;
    const double f = t_curve && df > 0.0 ? standardised_t_density(z, df)
                                         : std::exp(-0.5 * z * z) / std::sqrt(2.0 * std::numbers::pi);
    plot.curve[static_cast<std::size_t>(j)] = area * f / sd;
  }
}

}  // namespace

void PLOTSERIES(std::span<const double> data, int n, int ld, int first, int obs, std::span<const int> columns,
                int nser, std::span<const std::string> names, double value, int last, int& type,
                std::string& title, int& status) {
  if (!names.empty() && fixed_text::trim(names.front()) == "@") {
    SHOWOK(kInformation, kNoHelp, kSavedPlotsNotice);
    status = kPlotSavedNotice;
    return;
  }
  const plot_file::TypeInfo info = plot_file::type_info(type);
  if (type == static_cast<int>(PlotType::kHorizon)) type = static_cast<int>(PlotType::kTime);
  const bool histogram_type = type == static_cast<int>(PlotType::kHistogramNormal) ||
                              type == static_cast<int>(PlotType::kHistogramT);
  const bool grid = type == static_cast<int>(PlotType::kArParameter) ||
                    type == static_cast<int>(PlotType::kMaParameter);
  if (type == static_cast<int>(PlotType::kHistogramNormal)) nser = 1;
  const int count = histogram_type ? 1 : nser + (info.x_series ? 1 : 0);
  const int from_data = grid ? count - 1 : count;  // series read from the data
  const int start_row = type == static_cast<int>(PlotType::kSpectrum) ? 0 : first;

  // Every series read from the data must lie inside it.
  bool fits = n >= 1 && ld >= 1 && nser >= 1 && start_row >= 0 && start_row + n <= ld &&
              static_cast<int>(columns.size()) >= from_data &&
              (info.blank_names || static_cast<int>(names.size()) >= count) && !names.empty() &&
              (!histogram_type || last >= 1) && (type != static_cast<int>(PlotType::kScatter) || count >= 2);
  for (int k = 0; fits && k < from_data; ++k) {
    const long c = columns[static_cast<std::size_t>(k)];
    fits = c >= 1 && (c - 1) * ld + start_row + n <= static_cast<long>(data.size());
  }
  if (!fits) {
    status = kPlotBadArguments;
    return;
  }

  plot_file::Plot plot;
  try {
    plot.series.resize(static_cast<std::size_t>(count));
    for (int k = 0; k < from_data; ++k) {
      plot_file::Series& s = plot.series[static_cast<std::size_t>(k)];
      s.name = info.blank_names ? std::string() : std::string(fixed_text::trim_right(names[static_cast<std::size_t>(k)]));
      const std::size_t base = static_cast<std::size_t>(columns[static_cast<std::size_t>(k)] - 1) * static_cast<std::size_t>(ld) +
                               static_cast<std::size_t>(start_row);
      s.values.assign(data.begin() + static_cast<std::ptrdiff_t>(base),
                      data.begin() + static_cast<std::ptrdiff_t>(base + static_cast<std::size_t>(n)));
    }
  } catch (const std::bad_alloc&) {
    DISKSPACEMESSAGE();
    status = kPlotNotCreated;
    return;
  }

  plot.title = fixed_text::trim_right(title);
  plot.second_title = plot_file::second_title(type, last);
  plot.kind_code = info.kind_code;
  plot.blank_names = info.blank_names;
  plot.points = n;
  plot.marker = info.span ? last - first : 0;
  date_record(plot, obs);
  if (grid) {
    plot_file::Series& x = plot.series.back();
    x.single_precision = true;
    for (int i = 0; i < n; ++i) x.values.push_back(n > 1 ? -1.0 + 2.0 * i / (n - 1) : -1.0);
  }
  if (type == static_cast<int>(PlotType::kScatter)) {
    const std::vector<double> a = plot.series[0].values, b = plot.series[1].values;
    for (plot_file::Series& s : plot.series) {
      std::vector<double> kept;
      for (int i = 0; i < n; ++i)
        if (!is_missing(a[static_cast<std::size_t>(i)]) && !is_missing(b[static_cast<std::size_t>(i)]))
          kept.push_back(s.values[static_cast<std::size_t>(i)]);
      s.values = std::move(kept);
    }
    plot.points = static_cast<int>(plot.series.front().values.size());
  }
  if (histogram_type) {
    plot.points = last;
    histogram(plot, plot.series.front().values, last, type == static_cast<int>(PlotType::kHistogramT), value);
  }

  const uint16_t number = bump_counters(+1);
  const std::filesystem::path path =
      std::filesystem::path(std::string(fixed_text::trim(char_setting(charset::kTempFolder)))) /
      temp_files::plot_file_name(number);
  bool written = open_channel(channel::kPlot, path, OpenMode::kReplace);
  if (written) {
    const std::string text = plot_file::format(plot);
    for (std::size_t pos = 0; written && pos < text.size();) {
      const std::size_t end = text.find('\n', pos);
      written = write_record(channel::kPlot, std::string_view(text).substr(pos, end - pos));
      pos = end + 1;
    }
    close_channel(channel::kPlot, written ? CloseMode::kKeep : CloseMode::kDelete);
  }
  title = plot.second_title;
  if (!written) {
    bump_counters(-1);
    SHOWOK(kError, kNoHelp, kNoPlotFileMessage);
    status = kPlotNotCreated;
    return;
  }
  status = kPlotWritten;
  if (slot(slots::kShowPlotsNow) != 0 && !SHOWPLOTFILE(path.string())) bump_counters(-1);
}

}  // namespace qorv::core
