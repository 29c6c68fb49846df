// How a graph window turns a plot file into the graph control's settings: the kinds and
// their tables, titles, point labels, line patterns, legends, the histogram's classes and
// curve, the marker and the last label, and the spacing of the bottom labels.
#pragma once

#include <QString>

#include <optional>
#include <string>

#include "charts/graph_model.h"
#include "shared/plot_file.h"

namespace charts {

/// The two graph windows read plot files alike but for a few limits.
enum class Variant {
  kMainWindow,  ///< the main program's graph window
  kModal,       ///< the dialog library's modal graph window
};

/// The ini settings a graph window reads ("Graphics" section).
struct GraphSettings {
  bool patterns = false;   ///< "Patterns": dash patterns instead of line widths
  bool last_label = true;  ///< "Lastlabel": the last point's label at the axis end
};

/// What the window needs besides the control's properties.
struct GraphSetup {
  GraphModel model;               ///< the control, filled
  plot_file::Kind kind = plot_file::Kind::kTime;  ///< graph kind
  bool horizon = false;           ///< the kind code was the horizon code
  int frequency = 1;              ///< frequency of the date record
  QString last_label;             ///< label of the last point (time plots)
  double histogram_first = 0.0;   ///< first class value (histograms)
  double histogram_last = 0.0;    ///< last class value (histograms)
};

/// The refusal text when the window must not show `plot` (too many sets for the modal
/// window, too many values), else nothing.
std::optional<QString> refusal(const plot_file::Plot& plot, Variant variant);

/// The caption prefix of `kind`: "Plot-", "XPlot-", "Spectrum-", "Scatter-", "Hist-".
QString caption_prefix(plot_file::Kind kind);

/// The window's caption: a plot file the engine left (".$$$") shows the graph's title; a
/// saved graph, or a plot without title, shows the kind's prefix and `name`.
QString window_caption(const GraphSetup& setup, const QString& file, const QString& name);

/// The control's settings for `plot`. Cost O(values).
GraphSetup setup_graph(const plot_file::Plot& plot, const GraphSettings& settings, Variant variant);

/// The label of point `a` (from 1) from the date record; `cut_year` cuts the year and
/// letter to 7 characters before the period number is appended (the modal window).
QString point_label(int frequency, int first_year, int first_period, int a, bool cut_year = false);

/// The bottom label and tick spacing.
struct LabelSpacing {
  int label_every = 1;  ///< `LabelEvery`
  int tick_every = 1;   ///< `TickEvery`
  int ticks = 0;        ///< `Ticks` (3: at the labels only, with a marker line)
  int minor_ticks = 0;  ///< `XAxisMinorTicks`
};

/// Spacing for labels `width` characters wide under `points` points at font size
/// `font_size` with the kind's factor, in a window `client_width` pixels wide.
LabelSpacing label_spacing(double width, int points, double font_size, double factor,
                           double client_width, bool histogram, bool marker);

/// Sets `LabelEvery`, `TickEvery` and the minor ticks of time plots and histograms for a
/// window `client_width` pixels wide; other kinds are left alone.
void lay_out_labels(GraphSetup& setup, double client_width);

}  // namespace charts
