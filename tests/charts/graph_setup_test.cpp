#include "charts/graph_setup.h"

#include <gtest/gtest.h>

namespace {

using charts::Variant;

plot_file::Plot parse(std::string_view text) {
  std::string error;
  auto plot = plot_file::parse(text, &error);
  EXPECT_TRUE(plot) << error;
  return plot ? *plot : plot_file::Plot{};
}

TEST(PointLabels, FromTheDateRecord) {
  const struct {
    int frequency, year, period, a;
    const char* label;
  } cases[] = {
      {4, 1990, 3, 1, "1990Q3"}, {4, 1990, 3, 3, "1991Q1"}, {5, 1975, 10, 4, "1976M1"},
      {2, 1960, 1, 5, "1964"},   {1, 0, 1, 5, "5"},         {1, 10, 1, 1, "11"},
      {3, 2000, 2, 1, "2000H2"}, {3, 2000, 2, 2, "2001H1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(charts::point_label(c.frequency, c.year, c.period, c.a), QString(c.label)) << c.label;
  // The modal window cuts the year and letter to 7 characters.
  EXPECT_EQ(charts::point_label(5, 123456, 1, 1, true), "123456M1");
  EXPECT_EQ(charts::point_label(5, 1234567, 1, 1, true), "12345671");
  // A graph file's year and period at the ends of their range once overflowed the sums.
  EXPECT_EQ(charts::point_label(1, 2147483647, 1, 2), "2147483649");
  EXPECT_EQ(charts::point_label(4, 2147483647, 2147483647, 1), "2684354558Q3");
  EXPECT_EQ(charts::point_label(2, -2147483647 - 1, -2147483647 - 1, 1), "-4294967297");
}

TEST(LabelSpacing, FollowsWidthPointsAndWindow) {
  const struct {
    double width;
    int points;
    double factor, client;
    bool histogram, marker;
    int label_every, tick_every, ticks, minor;
  } cases[] = {
      {6, 100, 0.12, 800, false, false, 10, 10, 0, 0},  // f = 9
      {4, 20, 0.12, 800, false, false, 2, 1, 0, 0},     // f = 1.2 -> 1
      {7, 60, 0.12, 640, false, false, 10, 10, 0, -4},  // f = 7.875 -> 7
      {7, 60, 0.12, 640, false, true, 10, 10, 3, -4},
      {6, 300, 0.12, 800, false, false, 30, 30, 0, 0},  // f = 27
      {5, 12, 0.1, 600, true, false, 2, 1, 0, 0},       // f = 1
      {5, 120, 0.1, 600, true, false, 11, 1, 0, 0},     // f = 10, histograms keep f + 1
  };
  for (const auto& c : cases) {
    const auto s = charts::label_spacing(c.width, c.points, 100, c.factor, c.client, c.histogram, c.marker);
    EXPECT_EQ(s.label_every, c.label_every) << c.width << " " << c.points;
    EXPECT_EQ(s.tick_every, c.tick_every) << c.width << " " << c.points;
    EXPECT_EQ(s.ticks, c.ticks) << c.width << " " << c.points;
    EXPECT_EQ(s.minor_ticks, c.minor) << c.width << " " << c.points;
  }
}

TEST(GraphSetup, BottomTitlesByKind) {
  const struct {
    const char* text;
    const char* bottom;
    const char* prefix;
  } cases[] = {
      {" t\n *\n 0 1 1 0\n 4 1990 1\n A\n 1\n", "Quarters", "Plot-"},
      {" t\n *\n 0 1 1 0\n 1 0 1\n A\n 1\n", "Observations", "Plot-"},
      {" t\n *\n 0 1 1 0\n 5 1990 1\n A\n 1\n", "Months", "Plot-"},
      {" t\n *\n 6 1 1 0\n 4 1990 1\n A\n 1\n", "Horizon", "Plot-"},
      {" t\n Order of lags\n 0 1 1 0\n 1 1 1\n    \n 1\n", "Order of lags", "Plot-"},
      {" t\n *\n 2 2 1 0\n 1 1 1\n A\n 1\n F\n 0.5\n", "Frequency", "Spectrum-"},
      {" t\n *\n 1 2 1 0\n 1 1 1\n A\n 1\n INCOME\n 2\n", "INCOME", "XPlot-"},
      {" t\n *\n 3 2 1 0\n 1 1 1\n A\n 1\n X\n 2\n", "X", "Scatter-"},
  };
  for (const auto& c : cases) {
    const plot_file::Plot plot = parse(c.text);
    const auto g = charts::setup_graph(plot, {}, Variant::kMainWindow);
    EXPECT_EQ(g.model.bottom_title, QString(c.bottom)) << c.text;
    EXPECT_EQ(charts::caption_prefix(plot.kind()), QString(c.prefix)) << c.text;
  }
}

TEST(GraphSetup, PatternsLegendsAndValues) {
  const char* three = " Fit\n *\n 0 3 2 0\n 2 1960 1\n A\n 1e-9\n 8934567\n B\n 2\n 3\n C\n 4\n 5\n";
  auto g = charts::setup_graph(parse(three), {}, Variant::kMainWindow);
  ASSERT_EQ(g.model.num_sets(), 3);
  EXPECT_TRUE(g.model.thick_lines);
  EXPECT_EQ(g.model.sets[0].pattern, 2);  // titled: the first set stands out
  EXPECT_EQ(g.model.sets[2].pattern, 1);
  EXPECT_EQ(g.model.sets[0].values[0], 0.0);  // below 1e-8
  EXPECT_TRUE(g.model.sets[0].missing[1]);
  EXPECT_EQ(g.model.sets[1].legend, "B");
  EXPECT_EQ(g.model.labels, (std::vector<QString>{"1960", "1961"}));
  EXPECT_EQ(g.model.overlays.last_label, "1961");

  std::string untitled = three;
  untitled.replace(0, 4, " ");
  g = charts::setup_graph(parse(untitled), {false, false}, Variant::kMainWindow);
  EXPECT_EQ(g.model.sets[0].pattern, 3);  // max(3 - k, 1)
  EXPECT_EQ(g.model.sets[1].pattern, 2);
  EXPECT_EQ(g.model.sets[2].pattern, 1);
  EXPECT_TRUE(g.model.overlays.last_label.isEmpty());

  g = charts::setup_graph(parse(three), {true, true}, Variant::kMainWindow);
  EXPECT_TRUE(g.model.patterned_lines);
  EXPECT_EQ(g.model.sets[2].pattern, 2);  // k mod 5

  // Blank names give no legend.
  g = charts::setup_graph(parse(" t\n *\n 0 1 1 0\n 1 1 1\n    \n 1\n"), {}, Variant::kMainWindow);
  EXPECT_TRUE(g.model.sets[0].legend.isEmpty());
}

std::string plot_of(int kind, int series, int points) {
  std::string t = " t\n *\n " + std::to_string(kind) + " " + std::to_string(series) + " " +
                  std::to_string(points) + " 0\n 1 1 1\n";
  for (int s = 0; s < series; ++s) {
    t += " S\n";
    for (int p = 0; p < points; ++p) t += " 1\n";
  }
  if (kind == 4) {
    for (int p = 0; p < points; ++p) t += " 1\n";
    for (int p = 0; p < 101; ++p) t += " 1\n";
  }
  return t;
}

TEST(GraphSetup, ValueLimits) {
  const auto main_ok = [](int kind, int series, int points) {
    return !charts::refusal(parse(plot_of(kind, series, points)), Variant::kMainWindow);
  };
  const auto modal_ok = [](int kind, int series, int points) {
    return !charts::refusal(parse(plot_of(kind, series, points)), Variant::kModal);
  };
  EXPECT_TRUE(main_ok(0, 3, 42666));    // 127998 values
  EXPECT_FALSE(main_ok(0, 4, 32000));   // 128000: refused by the main window
  EXPECT_TRUE(modal_ok(0, 4, 32000));   // and shown by the modal one
  EXPECT_TRUE(main_ok(3, 2, 127999));   // the x series does not count
  EXPECT_TRUE(modal_ok(4, 1, 64000));   // a histogram at its limit
  EXPECT_FALSE(main_ok(4, 1, 64000));
  EXPECT_EQ(*charts::refusal(parse(plot_of(4, 1, 64000)), Variant::kMainWindow),
            "More than 64000 data values - unable to plot");
  EXPECT_EQ(*charts::refusal(parse(plot_of(0, 1, 128001)), Variant::kModal),
            "More than 128000 data values - unable to display graph");
  EXPECT_TRUE(modal_ok(0, 15, 2));
  EXPECT_EQ(*charts::refusal(parse(plot_of(0, 16, 2)), Variant::kModal),
            "More than 15 data sets - unable to display graph");
  EXPECT_TRUE(main_ok(0, 16, 2));
}

}  // namespace
