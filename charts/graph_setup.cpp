#include "charts/graph_setup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace charts {

namespace {

using plot_file::Kind;

struct KindTable {
  const char* prefix;  ///< caption prefix
  int graph_type;      ///< `GraphType`
  long limit;          ///< value limit: sets × points must stay below it
  double factor;       ///< label-width factor
};

const KindTable& table(Kind kind) {
  static const KindTable tables[] = {
      {"Plot-", kLineGraph, 128000, 0.12},   {"XPlot-", kLineGraph, 128000, 0.0},
      {"Spectrum-", kLineGraph, 128000, 0.12}, {"Scatter-", kScatterGraph, 128000, 0.0},
      {"Hist-", kBarGraph, 64000, 0.1},
  };
  return tables[std::clamp(static_cast<int>(kind), 0, 4)];
}

struct FrequencyTable {
  int periods;         ///< periods per year
  const char* letter;  ///< period letter
  int label_width;     ///< label width in characters
  const char* title;   ///< bottom title of a time plot
};

const FrequencyTable& frequency_table(int frequency) {
  static const FrequencyTable tables[] = {
      {1, "", 4, "Observations"}, {1, "", 4, "Years"}, {2, "H", 6, "Half-years"},
      {4, "Q", 6, "Quarters"},    {12, "M", 7, "Months"},
  };
  return tables[std::clamp(frequency, 1, 5) - 1];
}

/// Floor division, for any signs.
long long floor_div(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0); }

QString class_text(double value) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4g", value);
  return QString::fromLatin1(buf);
}

}  // namespace

QString caption_prefix(Kind kind) { return QString::fromLatin1(table(kind).prefix); }

QString window_caption(const GraphSetup& setup, const QString& file, const QString& name) {
  const QString title = setup.model.graph_title.trimmed();
  if (file.endsWith(QLatin1String(".$$$")) && !title.isEmpty()) return title;
  return caption_prefix(setup.kind) + name;
}

std::optional<QString> refusal(const plot_file::Plot& plot, Variant variant) {
  if (variant == Variant::kModal && plot.series.size() > 15)
    return QStringLiteral("More than 15 data sets - unable to display graph");
  const long limit = table(plot.kind()).limit;
  const long values = static_cast<long>(std::max(0, plot.plotted_sets())) * plot.points;
  if (variant == Variant::kModal && values > limit)
    return QStringLiteral("More than %1 data values - unable to display graph").arg(limit);
  if (variant == Variant::kMainWindow && values >= limit)
    return QStringLiteral("More than %1 data values - unable to plot").arg(limit);
  return std::nullopt;
}

QString point_label(int frequency, int first_year, int first_period, int a, bool cut_year) {
  // In 64 bits: a graph file may hold any year and period, and the sums must not overflow.
  if (frequency <= 1) return QString::number(static_cast<long long>(a) + first_year);
  const FrequencyTable& f = frequency_table(frequency);
  const long long k = static_cast<long long>(a) + first_period - 2;
  const long long year = floor_div(k, f.periods) + first_year;
  const long long period = k - floor_div(k, f.periods) * f.periods + 1;
  QString label = QString::number(year) + QString::fromLatin1(f.letter);
  if (cut_year) label.truncate(7);
  if (frequency >= 3) label += QString::number(period);
  return label;
}

GraphSetup setup_graph(const plot_file::Plot& plot, const GraphSettings& settings, Variant variant) {
  GraphSetup g;
  GraphModel& m = g.model;
  g.kind = plot.kind();
  g.horizon = plot.horizon();
  g.frequency = plot.frequency;
  const int sets = std::max(0, plot.plotted_sets());
  const int points = std::max(0, plot.points);

  m.graph_title = QString::fromLatin1(plot.title.c_str());
  m.num_points = points;
  m.graph_type = table(g.kind).graph_type;
  for (int s = 0; s < sets; ++s) {
    DataSet ds;
    const std::vector<double>& values = plot.series[s].values;
    for (int p = 0; p < points; ++p) {
      const double v = p < static_cast<int>(values.size()) ? values[p] : 0.0;
      const bool missing = plot_file::is_missing(v);
      ds.values.push_back(std::fabs(v) < 1e-8 ? 0.0 : v);
      ds.missing.push_back(missing);
    }
    m.sets.push_back(std::move(ds));
  }
  if (plot.has_x_series() && !plot.series.empty()) {
    for (double v : plot.series.back().values)
      m.x_positions.push_back(plot_file::is_missing(v) ? NAN : (std::fabs(v) < 1e-8 ? 0.0 : v));
    m.x_axis_minor_ticks = -4;
  }
  m.y_axis_minor_ticks = 1;

  // Line patterns: dash styles, or widths by the title rule.
  if (settings.patterns) {
    m.patterned_lines = true;
    for (int s = 0; s < sets; ++s) m.sets[s].pattern = s % 5;
  } else {
    m.thick_lines = true;
    const bool titled = !plot.title.empty();
    for (int s = 0; s < sets; ++s) {
      if (titled) {
        m.sets[s].pattern = s == 0 ? 2 : 1;
      } else {
        m.sets[s].pattern = g.kind == Kind::kXY ? 1 : std::max(3 - s, 1);
      }
    }
  }
  if (g.kind == Kind::kScatter) {
    m.symbol_size = 75;
    m.symbol = 13;
  }

  // Bottom title.
  if (!plot.second_title.empty() && plot.second_title.front() == '*') {
    switch (g.kind) {
      case Kind::kTime:
        m.bottom_title = g.horizon ? QStringLiteral("Horizon")
                                   : QString::fromLatin1(frequency_table(plot.frequency).title);
        break;
      case Kind::kSpectrum: m.bottom_title = QStringLiteral("Frequency"); break;
      case Kind::kXY:
      case Kind::kScatter: m.bottom_title = QString::fromLatin1(plot.series.back().name.c_str()); break;
      case Kind::kHistogram: break;
    }
  } else {
    std::string title = plot.second_title;
    if (variant == Variant::kModal && title.size() > 80) title.resize(80);
    m.bottom_title = QString::fromLatin1(title.c_str());
  }

  if (g.kind == Kind::kTime) {
    for (int a = 1; a <= points; ++a)
      m.labels.push_back(point_label(plot.frequency, plot.first_year, plot.first_period, a,
                                     variant == Variant::kModal));
    if (!m.labels.empty()) g.last_label = m.labels.back();
  }

  if (g.kind == Kind::kHistogram) {
    for (double v : plot.classes) m.labels.push_back(class_text(v));
    if (!plot.classes.empty()) {
      g.histogram_first = plot.classes.front();
      g.histogram_last = plot.classes.back();
    }
    m.left_title = QStringLiteral("Frequency");
    m.bar_pattern = 4;
    m.bar_color = 1;
    m.legend_pos = 0;
    m.overlays.curve = plot.curve;
  } else {
    m.legend_pos = 5;
    const std::string& first = plot.series.empty() ? std::string() : plot.series.front().name;
    if (!first.empty() && first.front() != ' ')
      for (int s = 0; s < sets; ++s) m.sets[s].legend = QString::fromLatin1(plot.series[s].name.c_str());
  }

  if (g.kind == Kind::kTime && plot.marker >= 1) {
    m.x_axis_style = 2;
    m.x_axis_min = 1;
    m.x_axis_max = points;
    if (plot.marker <= points) m.overlays.marker = plot.marker;
  }
  if (g.kind == Kind::kTime && settings.last_label) m.overlays.last_label = g.last_label;
  return g;
}

LabelSpacing label_spacing(double width, int points, double font_size, double factor,
                           double client_width, bool histogram, bool marker) {
  LabelSpacing s;
  const double raw = width * points * font_size * factor / std::max(1.0, client_width);
  const int f = static_cast<int>(std::clamp(raw, 0.0, 1e6));
  s.label_every = (f + 1 <= 2 || histogram) ? f + 1 : f / 5 * 5 + 5;
  if (s.label_every < 3 || histogram) {
    s.tick_every = 1;
    s.minor_ticks = 0;
  } else {
    s.tick_every = s.label_every;
    s.ticks = marker ? 3 : 0;
    s.minor_ticks = points < 100 ? -4 : 0;
  }
  return s;
}

void lay_out_labels(GraphSetup& g, double client_width) {
  double width = 0.0;
  if (g.kind == Kind::kTime) {
    width = frequency_table(g.frequency).label_width;
  } else if (g.kind == Kind::kHistogram) {
    width = std::max(class_text(g.histogram_first).size(), class_text(g.histogram_last).size());
  } else {
    return;
  }
  GraphModel& m = g.model;
  const LabelSpacing s = label_spacing(width, m.num_points, m.font_size, table(g.kind).factor,
                                       client_width, g.kind == Kind::kHistogram, m.overlays.marker >= 1);
  m.label_every = s.label_every;
  m.tick_every = s.tick_every;
  m.ticks = s.ticks;
  m.x_axis_minor_ticks = s.minor_ticks;
}

}  // namespace charts
