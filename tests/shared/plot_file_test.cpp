#include "shared/plot_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "shared/exchange_slots.h"

namespace {

using plot_file::Kind;
using plot_file::Plot;

// Two quarterly series from 1990Q3, one gap, a D exponent, CRLF line ends.
constexpr std::string_view kQuarterly =
    " Consumption and income\r\n"
    " *\r\n"
    " 0 2 4 0\r\n"
    " 4 1990 3\r\n"
    " C             \r\n"
    " 101.5\r\n"
    " 8934567\r\n"
    " 1.03D+02\r\n"
    " 104\r\n"
    " Y             \r\n"
    " 120\r\n"
    " 121.25\r\n"
    " -1.5d-1\r\n"
    " .5\r\n";

TEST(PlotFileParse, QuarterlyTimePlot) {
  std::string error;
  const auto plot = plot_file::parse(kQuarterly, &error);
  ASSERT_TRUE(plot) << error;
  EXPECT_EQ(plot->title, "Consumption and income");
  EXPECT_EQ(plot->second_title, "*");
  EXPECT_EQ(plot->kind(), Kind::kTime);
  EXPECT_FALSE(plot->horizon());
  EXPECT_EQ(plot->points, 4);
  EXPECT_EQ(plot->plotted_sets(), 2);
  EXPECT_EQ(plot->frequency, 4);
  EXPECT_EQ(plot->first_year, 1990);
  EXPECT_EQ(plot->first_period, 3);
  ASSERT_EQ(plot->series.size(), 2u);
  EXPECT_EQ(plot->series[0].name, "C");
  EXPECT_EQ(plot->series[0].values, (std::vector<double>{101.5, limits::kMissing, 103.0, 104.0}));
  EXPECT_TRUE(plot_file::is_missing(plot->series[0].values[1]));
  EXPECT_EQ(plot->series[1].values, (std::vector<double>{120.0, 121.25, -0.15, 0.5}));
}

std::string histogram_text(int curve_values) {
  std::string text = " Histogram and Normal curve for variable X\n *\n 4 1 3 0\n 1 1 1\n X             \n";
  for (const char* count : {" 2\n", " 5\n", " 3\n"}) text += count;
  for (const char* mid : {" -1\n", " 0\n", " 1\n"}) text += mid;
  for (int i = 0; i < curve_values; ++i) text += " " + std::to_string(i) + "\n";
  return text;
}

TEST(PlotFileParse, HistogramCarriesClassesAndCurve) {
  const auto plot = plot_file::parse(histogram_text(101));
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->kind(), Kind::kHistogram);
  EXPECT_EQ(plot->series[0].values, (std::vector<double>{2, 5, 3}));
  EXPECT_EQ(plot->classes, (std::vector<double>{-1, 0, 1}));
  ASSERT_EQ(plot->curve.size(), 101u);
  EXPECT_EQ(plot->curve[100], 100.0);

  std::string error;
  EXPECT_FALSE(plot_file::parse(histogram_text(100), &error));
  EXPECT_NE(error.find("density curve"), std::string::npos);
}

TEST(PlotFileParse, XSeriesAndHorizonKinds) {
  const auto xy = plot_file::parse(" t\n *\n 3 2 2 2\n 1 1 1\n Y\n 1\n 2\n X\n 3\n 4\n");
  ASSERT_TRUE(xy);
  EXPECT_EQ(xy->kind(), Kind::kScatter);
  EXPECT_TRUE(xy->has_x_series());
  EXPECT_EQ(xy->plotted_sets(), 1);
  EXPECT_EQ(xy->series[1].name, "X");

  const auto horizon = plot_file::parse(" \n *\n 6 1 1 0\n 1 1 1\n    \n 0.25\n");
  ASSERT_TRUE(horizon);
  EXPECT_TRUE(horizon->horizon());
  EXPECT_EQ(horizon->kind(), Kind::kTime);
  EXPECT_EQ(horizon->title, "");
  EXPECT_EQ(horizon->series[0].name, "");
}

TEST(PlotFileParse, RefusesBrokenFiles) {
  const struct {
    const char* text;
    const char* why;
  } cases[] = {
      {" t\n *\n 0 1 3 0\n 1 1 1\n A\n 1\n 2\n", "short series"},
      {" t\n *\n 0 1 2 0\n", "no date record"},
      {" t\n", "no second title"},
      {" t\n *\n 0 1 2 0\n 1 1 1\n A\n 1\n x2\n", "unreadable value"},
      {" t\n *\n 0 1 2.5 0\n 1 1 1\n A\n 1\n 2\n", "real where an integer belongs"},
      {" t\n *\n 5 1 1 0\n 1 1 1\n A\n 1\n", "kind outside the table"},
      {" t\n *\n -1 1 1 0\n 1 1 1\n A\n 1\n", "negative kind"},
      {" t\n *\n 0 1 1 0\n 6 1 1\n A\n 1\n", "frequency outside the table"},
      {" t\n *\n 0 1 0 0\n 1 1 1\n", "no points"},
      {" t\n *\n 0 0 3 0\n 1 1 1\n", "no series"},
      {" t\n *\n 1 1 1 0\n 1 1 1\n A\n 1\n", "x-y plot without a y series"},
  };
  for (const auto& c : cases) {
    std::string error;
    EXPECT_FALSE(plot_file::parse(c.text, &error)) << c.why;
    EXPECT_FALSE(error.empty()) << c.why;
  }
}

// Titles and names once kept a carriage return before a blank or a doubled line end, which
// the written file then lost: a graph saved and opened again changed its titles.
TEST(PlotFileParse, TextsEndBeforeCarriageReturns) {
  const auto plot = plot_file::parse(" Title\r \r\n *\r\r\n 0 1 1 0\n 1 1 1\n AB\r\r\n 2\n");
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->title, "Title");
  EXPECT_EQ(plot->second_title, "*");
  EXPECT_EQ(plot->series[0].name, "AB");
  const auto again = plot_file::parse(plot_file::format(*plot));
  ASSERT_TRUE(again);
  EXPECT_EQ(again->title, "Title");
}

TEST(PlotFileParse, HeaderItemsMayRunOverRecords) {
  // Free-format input takes items from as many records as it needs.
  const auto plot = plot_file::parse(" t\n *\n 0, 1\n 2 0\n 1 5 1\n A\n 1 extra\n 2\n");
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->points, 2);
  EXPECT_EQ(plot->first_year, 5);
  EXPECT_EQ(plot->series[0].values, (std::vector<double>{1, 2}));
}

TEST(PlotFileWrite, ExactText) {
  Plot plot;
  plot.title = "   ";
  plot.second_title = plot_file::second_title(9, 12);
  plot.kind_code = 0;
  plot.points = 3;
  plot.frequency = 2;
  plot.first_year = 1960;
  plot.series = {{"GDP", {0.1, std::numeric_limits<double>::quiet_NaN(), -2.5e-300}, false}};
  EXPECT_EQ(plot_file::format(plot),
            " \n"
            " Window size 12\n"
            " 0 1 3 0\n"
            " 2 1960 1\n"
            " GDP           \n"
            " 0.1\n"
            " 8934567\n"
            " -2.5e-300\n");
}

TEST(PlotFileWrite, RoundTripsThroughTheParser) {
  Plot plot;
  plot.title = "Plot of the log-likelihood";
  plot.second_title = plot_file::second_title(50, 2);
  plot.kind_code = 1;
  plot.points = 3;
  plot.blank_names = true;
  plot.series = {{"", {1.0 / 3.0, -1e-12, std::numeric_limits<double>::infinity()}, false},
                 {"", {-1.0, 0.0, 1.0 / 3.0}, true}};
  const auto back = plot_file::parse(plot_file::format(plot));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->second_title, plot.second_title);
  EXPECT_EQ(back->series[0].values[0], 1.0 / 3.0);  // exact
  EXPECT_EQ(back->series[0].values[1], -1e-12);
  EXPECT_TRUE(plot_file::is_missing(back->series[0].values[2]));
  // The grid is written in single precision: the shortest text of the float nearest 1/3.
  EXPECT_NE(plot_file::format(plot).find("\n 0.33333334\n"), std::string::npos);
  EXPECT_EQ(static_cast<float>(back->series[1].values[2]), 1.0f / 3.0f);
}

TEST(PlotTypes, TableAndSecondTitles) {
  const struct {
    int type, kind;
    bool x, blank, span;
  } table[] = {
      {1, 0, false, false, false},  {4, 0, false, false, true},  {5, 1, true, true, false},
      {50, 1, true, true, false},   {7, 1, true, false, true},   {70, 2, true, false, true},
      {27, 3, true, false, true},   {17, 4, false, false, false}, {18, 4, false, false, false},
      {600, 6, false, false, false}, {6, 0, false, true, false},  {3, 0, false, true, false},
      {12345, 0, false, false, false},
  };
  for (const auto& t : table) {
    const auto info = plot_file::type_info(t.type);
    EXPECT_EQ(info.kind_code, t.kind) << t.type;
    EXPECT_EQ(info.x_series, t.x) << t.type;
    EXPECT_EQ(info.blank_names, t.blank) << t.type;
    EXPECT_EQ(info.span, t.span) << t.type;
  }
  const std::string ar = plot_file::second_title(5, 4);
  EXPECT_EQ(ar.size(), 57u);
  EXPECT_EQ(ar.substr(54), "  4");
  EXPECT_EQ(plot_file::second_title(9, 0), "*");
  EXPECT_EQ(plot_file::second_title(6, 0), "Order of lags");
  EXPECT_EQ(plot_file::second_title(27, 0), "*");
}

}  // namespace
