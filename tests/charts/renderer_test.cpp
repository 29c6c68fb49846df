#include "charts/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "charts/graph_setup.h"
#include "charts/recording_canvas.h"
#include "shared/plot_file.h"

namespace {

using charts::Recorded;
using charts::TextRole;

constexpr double kMissing = 8934567.0;

charts::GraphSetup setup_from(std::string_view text, charts::GraphSettings settings = {}) {
  std::string error;
  const auto plot = plot_file::parse(text, &error);
  EXPECT_TRUE(plot) << error;
  return charts::setup_graph(plot.value_or(plot_file::Plot{}), settings, charts::Variant::kMainWindow);
}

/// The polylines drawn with set `set`'s pen.
std::vector<Recorded> set_lines(const charts::RecordingCanvas& c, const charts::GraphModel& m, int set) {
  const charts::Pen pen = charts::set_pen(m, set, charts::line_unit(c.bounds()));
  std::vector<Recorded> out;
  for (const Recorded& r : c.of(Recorded::Op::kPolyline))
    if (r.pen.color == pen.color && r.pen.width == pen.width && r.pen.dash == pen.dash) out.push_back(r);
  return out;
}

TEST(Renderer, LinesBreakAtMissingValues) {
  charts::GraphModel m;
  m.num_points = 7;
  m.sets.resize(1);
  m.sets[0].values = {1, 2, kMissing, 4, kMissing, 6, 7};
  m.sets[0].missing = {false, false, true, false, true, false, false};
  charts::RecordingCanvas c(QRectF(0, 0, 800, 500));
  const charts::PlotLayout l = charts::render(m, c);

  const auto lines = set_lines(c, m, 0);
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].points.size(), 2u);
  ASSERT_EQ(lines[1].points.size(), 2u);
  EXPECT_DOUBLE_EQ(lines[0].points[1].x(), l.map_x(2));
  EXPECT_DOUBLE_EQ(lines[0].points[1].y(), l.map_y(2));
  EXPECT_DOUBLE_EQ(lines[1].points[0].x(), l.map_x(6));
  // The lone value between the two gaps is a dot at its point.
  const auto dots = c.of(Recorded::Op::kEllipse);
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_NEAR(dots[0].rect.center().x(), l.map_x(4), 1e-9);
  EXPECT_NEAR(dots[0].rect.center().y(), l.map_y(4), 1e-9);
  // The x axis runs from the first to the last point; the y axis over nice numbers.
  EXPECT_EQ(l.x.min, 1.0);
  EXPECT_EQ(l.x.max, 7.0);
  EXPECT_EQ(l.y.min, 0.0);
  EXPECT_EQ(l.y.max, 8.0);
  EXPECT_DOUBLE_EQ(l.map_x(1), l.plot.left());
  EXPECT_DOUBLE_EQ(l.map_y(8), l.plot.top());
}

constexpr std::string_view kQuarterly =
    " Consumption and income\n *\n 0 2 6 3\n 4 1990 3\n C\n 101.5\n 8934567\n 103\n 104\n 105\n 106\n"
    " Y\n 120\n 121.25\n 119\n 118\n 117\n 116\n";

TEST(Renderer, QuarterlyPlotLabelsTitlesAndAxes) {
  charts::GraphSetup g = setup_from(kQuarterly);
  g.model.label_every = 2;
  charts::RecordingCanvas c(QRectF(0, 0, 800, 500));
  const charts::PlotLayout l = charts::render(g.model, c);

  EXPECT_EQ(l.y.min, 100.0);
  EXPECT_EQ(l.y.max, 125.0);
  EXPECT_EQ(l.y.ticks, (std::vector<double>{100, 105, 110, 115, 120, 125}));
  std::vector<QString> ticks;
  for (const Recorded& r : c.texts(TextRole::kTickLabel))
    if (r.angle == 0.0) ticks.push_back(r.text);
  // y values, then a label every second point, centred under it; the last point's label is
  // drawn turned at the end of the axis instead.
  const std::vector<QString> expected = {"100", "105", "110", "115", "120", "125", "1990Q3", "1991Q1", "1991Q3"};
  EXPECT_EQ(ticks, expected);
  for (const Recorded& r : c.texts(TextRole::kTickLabel)) {
    if (r.text == "1991Q1") {
      EXPECT_DOUBLE_EQ(r.at.x(), l.map_x(3));
      EXPECT_GT(r.at.y(), l.plot.bottom());
      EXPECT_EQ(r.h, charts::HAlign::kCenter);
    }
    if (r.angle == 90.0) {
      EXPECT_EQ(r.text, "1991Q4");
      EXPECT_DOUBLE_EQ(r.at.x(), l.map_x(6));
    }
  }
  const auto titles = c.texts(TextRole::kTitle);
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0].text, "Consumption and income");
  const auto axis_titles = c.texts(TextRole::kAxisTitle);
  ASSERT_EQ(axis_titles.size(), 1u);
  EXPECT_EQ(axis_titles[0].text, "Quarters");
  std::vector<QString> legend;
  for (const Recorded& r : c.texts(TextRole::kLegend)) legend.push_back(r.text);
  EXPECT_EQ(legend, (std::vector<QString>{"C", "Y"}));
}

TEST(Renderer, MarkerLineStandsAtItsPoint) {
  const charts::GraphSetup g = setup_from(kQuarterly);
  ASSERT_EQ(g.model.overlays.marker, 3);
  charts::RecordingCanvas c(QRectF(0, 0, 640, 480));
  const charts::PlotLayout l = charts::render(g.model, c);
  int found = 0;
  for (const Recorded& r : c.of(Recorded::Op::kPolyline)) {
    if (r.pen.dash != charts::Dash::kDash || r.points.size() != 2) continue;
    ++found;
    EXPECT_DOUBLE_EQ(r.points[0].x(), l.map_x(3));
    EXPECT_DOUBLE_EQ(r.points[1].x(), l.map_x(3));
    EXPECT_DOUBLE_EQ(r.points[0].y(), l.plot.bottom());
    EXPECT_DOUBLE_EQ(r.points[1].y(), l.plot.top());
  }
  EXPECT_EQ(found, 1);
  // The marker fixes the x axis to the points.
  EXPECT_EQ(l.x.min, 1.0);
  EXPECT_EQ(l.x.max, 6.0);
}

std::string histogram_text() {
  std::string t = " Histogram and Normal curve for variable X\n *\n 4 1 4 0\n 1 1 1\n X\n 2\n 5\n 4\n 1\n";
  for (const char* v : {" -1.5\n", " -0.5\n", " 0.5\n", " 1.5\n"}) t += v;
  for (int i = 0; i <= 100; ++i) t += " " + std::to_string(6.0 * std::exp(-0.5 * std::pow((i - 50) / 25.0, 2))) + "\n";
  return t;
}

TEST(Renderer, HistogramBarsAndDensityCurve) {
  charts::GraphSetup g = setup_from(histogram_text());
  charts::lay_out_labels(g, 800);
  charts::RecordingCanvas c(QRectF(0, 0, 800, 500));
  const charts::PlotLayout l = charts::render(g.model, c);

  std::vector<Recorded> bars;
  for (const Recorded& r : c.of(Recorded::Op::kRect))
    if (r.fill.color.isValid() && r.fill.color != QColor(Qt::white)) bars.push_back(r);
  ASSERT_EQ(bars.size(), 4u);
  EXPECT_DOUBLE_EQ(bars[1].rect.left(), l.map_x(1.5));   // bars touch
  EXPECT_DOUBLE_EQ(bars[1].rect.right(), l.map_x(2.5));
  EXPECT_DOUBLE_EQ(bars[1].rect.top(), l.map_y(5));
  EXPECT_DOUBLE_EQ(bars[1].rect.bottom(), l.map_y(0));
  // The axis leaves room for the curve's peak (6) above the highest bar (5).
  EXPECT_EQ(l.y.min, 0.0);
  EXPECT_GE(l.y.max, 6.0);

  std::optional<Recorded> curve;
  for (const Recorded& r : c.of(Recorded::Op::kPolyline))
    if (r.points.size() == 101) curve = r;
  ASSERT_TRUE(curve);
  EXPECT_DOUBLE_EQ(curve->points.front().x(), l.map_x(0.5));
  EXPECT_DOUBLE_EQ(curve->points.back().x(), l.map_x(4.5));
  EXPECT_NEAR(curve->points[50].y(), l.map_y(6.0), 1e-9);

  std::vector<QString> labels;
  for (const Recorded& r : c.texts(TextRole::kTickLabel))
    if (r.at.y() > l.plot.bottom()) labels.push_back(r.text);
  EXPECT_EQ(labels, (std::vector<QString>{"-1.5", "-0.5", "0.5", "1.5"}));
  EXPECT_EQ(c.texts(TextRole::kAxisTitle).at(0).text, "Frequency");
}

TEST(Renderer, ScatterDrawsCompletePointsAgainstX) {
  const charts::GraphSetup g =
      setup_from(" Scatter plot of Y on X\n *\n 3 2 3 3\n 1 1 1\n Y\n 1\n 8934567\n 3\n X\n 10\n 20\n 40\n");
  charts::RecordingCanvas c(QRectF(0, 0, 600, 400));
  const charts::PlotLayout l = charts::render(g.model, c);
  EXPECT_FALSE(l.point_axis);
  EXPECT_LE(l.x.min, 10.0);
  EXPECT_GE(l.x.max, 40.0);
  std::vector<Recorded> symbols;
  for (const Recorded& r : c.of(Recorded::Op::kEllipse))
    if (r.rect.center().y() <= l.plot.bottom() + 1e-9) symbols.push_back(r);
  ASSERT_EQ(symbols.size(), 2u);
  EXPECT_NEAR(symbols[1].rect.center().x(), l.map_x(40), 1e-9);
  EXPECT_NEAR(symbols[1].rect.center().y(), l.map_y(3), 1e-9);
  EXPECT_EQ(c.texts(TextRole::kAxisTitle).at(0).text, "X");
}

TEST(AxisScale, ReadableTicks) {
  const struct {
    double lo, hi, min, max, step;
    const char* first;
  } cases[] = {
      {0, 1, 0, 1, 0.2, "0"},
      {101.5, 121.25, 100, 125, 5, "100"},
      {-0.37, 0.82, -0.5, 1.0, 0.25, "-0.50"},
      {5, 5, 4.4, 5.6, 0.2, "4.4"},
      {0, 3e8, 0, 3e8, 1e8, "0"},
  };
  for (const auto& t : cases) {
    const charts::AxisScale s = charts::nice_scale(t.lo, t.hi);
    EXPECT_NEAR(s.min, t.min, 1e-12 * std::max(1.0, t.max)) << t.lo << " " << t.hi;
    EXPECT_NEAR(s.max, t.max, 1e-12 * std::max(1.0, t.max)) << t.lo << " " << t.hi;
    EXPECT_NEAR(s.step, t.step, 1e-12 * t.step) << t.lo << " " << t.hi;
    EXPECT_EQ(charts::tick_text(s.ticks.front(), s), QString(t.first)) << t.lo << " " << t.hi;
  }
  EXPECT_EQ(charts::tick_text(2e8, charts::nice_scale(0, 3e8)), "2e+08");
}

}  // namespace
