// The graph control's state: the published properties the graph windows set, and the
// per-set and per-point arrays behind its indexed properties. The renderer draws from it.
#pragma once

#include <QColor>
#include <QString>

#include <vector>

namespace charts {

/// `GraphType` codes.
enum GraphType : int { kBarGraph = 3, kLineGraph = 6, kScatterGraph = 9 };

/// One data set (`ThisSet` addresses it).
struct DataSet {
  std::vector<double> values;  ///< the value of each point
  std::vector<bool> missing;   ///< per point: leave a gap instead of the value
  QString legend;              ///< legend text; empty: the set has no legend entry
  int pattern = 0;             ///< line pattern code (dash or width class, see `PatternedLines`)
  int color = -1;              ///< colour index; -1: the set's own colour
};

/// The drawings added after the control has drawn (the charting library's overlays).
struct Overlays {
  std::vector<double> curve;  ///< x-y line over the points' axis range (histogram density)
  int curve_pattern = 0;      ///< line pattern of the curve
  int marker = 0;             ///< from 1: a vertical line at this point; 0: none
  QString last_label;         ///< rotated text at the right end of the x axis; empty: none
};

/// The graph control's properties.
struct GraphModel {
  QString graph_title;          ///< `GraphTitle`
  int graph_type = kLineGraph;  ///< `GraphType`
  int num_points = 0;           ///< `NumPoints`
  std::vector<DataSet> sets;    ///< `NumSets` sets
  std::vector<double> x_positions;  ///< x position of each point; empty: points 1..n
  std::vector<QString> labels;  ///< label text of each point; empty: numbered
  QString bottom_title;         ///< `BottomTitle`
  QString left_title;           ///< `LeftTitle`
  int label_every = 1;          ///< `LabelEvery`: a bottom label every so many points
  int tick_every = 1;           ///< `TickEvery`: a tick every so many points
  int ticks = 0;                ///< `Ticks`: tick style (3: ticks only where labels are)
  int x_axis_style = 0;         ///< `XAxisStyle`: 2 fixes the x range to `XAxisMin`..`XAxisMax`
  double x_axis_min = 0.0;      ///< `XAxisMin`
  double x_axis_max = 0.0;      ///< `XAxisMax`
  int x_axis_minor_ticks = 0;   ///< `XAxisMinorTicks`: minor ticks per major interval (magnitude)
  int y_axis_minor_ticks = 0;   ///< `YAxisMinorTicks`
  bool patterned_lines = false; ///< `PatternedLines`: a set's pattern is its dash style
  bool thick_lines = false;     ///< `ThickLines`: a set's pattern is its width class
  int symbol_size = 100;        ///< `SymbolSize`: scatter symbols in per cent of the base size
  int symbol = 13;              ///< symbol code of the points (13: filled circle)
  int draw_style = 0;           ///< `DrawStyle`: 0 colour, 1 black and white
  int graph_style = 0;          ///< `GraphStyle`: 0 grid lines at the y ticks, 1 none
  double font_size = 100.0;     ///< `FontSize`: text size in per cent of the base font (9 points)
  int legend_pos = 5;           ///< `LegendPos`: 5 below the graph, 0 no legend
  int bar_pattern = 4;          ///< pattern of the bars (4: solid)
  int bar_color = 1;            ///< colour index of the bars
  Overlays overlays;            ///< the custom painting

  /// `NumSets`.
  int num_sets() const { return static_cast<int>(sets.size()); }
};

/// Point size of the axis and label font at `FontSize` 100.
inline constexpr double kBaseFontPoints = 9.0;

/// Colour of index `i` in the graph palette (dark blue, red, green, ...).
QColor palette_color(int i);

}  // namespace charts
