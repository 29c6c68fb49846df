// The plot writer: the file it writes (read back by the shared parser), the numbering of
// plot files in slot 29, plots that are not kept, scatter plots and histograms.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <string>
#include <vector>

#include "engine/core/distributions.h"
#include "engine/core/plot_writer.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"
#include "tests/engine/core/long_temp_folder.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

namespace fs = std::filesystem;
using namespace qorv::core;
using Lines = std::vector<std::string>;

constexpr double kMissing = limits::kMissing;

class PlotWriterTest : public qorv::testing::LongTempFolderTest {
 protected:
  void SetUp() override {
    LongTempFolderTest::SetUp();
    Globals& g = globals();  // quarterly data from 1990Q3
    g.frequency = 4;
    g.periods_per_year = 4;
    g.start_year = 90;
    g.start_period = 3;
    g.century_base = 1900;
  }
  fs::path plot_path(unsigned number) const { return folder_ / ("plot" + std::to_string(number) + ".$$$"); }

  /// A time plot of the first column of a 3 x 1 data array; returns the status.
  static int small_plot(const std::string& title = "A plot") {
    const std::vector<double> data = {1, 2, 3};
    const std::vector<int> columns = {1};
    const std::vector<std::string> names = {"X"};
    int type = 1, status = -1;
    std::string t = title;
    PLOTSERIES(data, 3, 3, 0, 0, columns, 1, names, 0.0, 3, type, t, status);
    return status;
  }
  static int kept() { return slots::plots_kept(slot(slots::kPlotCounters)); }
  static int running() { return slots::running_plot_number(slot(slots::kPlotCounters)); }
};

TEST_F(PlotWriterTest, AQuarterlyTimePlotFile) {
  // Two series of 4 points from the second row (observation 1990Q4), one value missing.
  const std::vector<double> data = {9, 1.5, 2, kMissing, 4, 0, 10, 20, 30, 40};
  const std::vector<int> columns = {1, 2};
  const std::vector<std::string> names = {"CONS          ", "INC"};
  int type = 1, status = -1;
  std::string title = "Plot of CONS and INC    ";
  PLOTSERIES(data, 4, 5, 1, 1, columns, 2, names, 0.0, 5, type, title, status);
  EXPECT_EQ(status, kPlotWritten);
  EXPECT_EQ(title, "*");
  EXPECT_EQ(kept(), 1);
  EXPECT_EQ(running(), 1);
  EXPECT_EQ(contents(plot_path(1)),
            " Plot of CONS and INC\n"
            " *\n"
            " 0 2 4 0\n"
            " 4 1990 4\n"
            " CONS          \n 1.5\n 2\n 8934567\n 4\n"
            " INC           \n 10\n 20\n 30\n 40\n");

  const auto plot = plot_file::read(plot_path(1));
  ASSERT_TRUE(plot.has_value());
  EXPECT_EQ(plot->title, "Plot of CONS and INC");
  EXPECT_EQ(plot->kind(), plot_file::Kind::kTime);
  EXPECT_EQ(plot->first_year, 1990);
  EXPECT_EQ(plot->first_period, 4);
  ASSERT_EQ(plot->series.size(), 2u);
  EXPECT_EQ(plot->series[0].name, "CONS");
  EXPECT_EQ(plot->series[0].values, (std::vector<double>{1.5, 2, kMissing, 4}));
  EXPECT_EQ(plot->series[1].values, (std::vector<double>{10, 20, 30, 40}));
  EXPECT_TRUE(dialog_script::transcript().empty());  // slot 30 off: written, not shown
}

TEST_F(PlotWriterTest, PlotNamesNineTenAndHundred) {
  set_slot(slots::kPlotCounters, slots::make_plot_counters(0, 8));
  EXPECT_EQ(small_plot(), kPlotWritten);
  EXPECT_EQ(small_plot(), kPlotWritten);
  EXPECT_TRUE(fs::exists(plot_path(9)));
  EXPECT_TRUE(fs::exists(plot_path(10)));
  set_slot(slots::kPlotCounters, slots::make_plot_counters(0, 99));
  EXPECT_EQ(small_plot(), kPlotWritten);
  EXPECT_TRUE(fs::exists(folder_ / "plot100.$$$"));
  EXPECT_EQ(kept(), 1);
  EXPECT_EQ(running(), 100);
}

TEST_F(PlotWriterTest, APlotNotKeptGivesItsNumberBack) {
  set_slot(slots::kShowPlotsNow, slots::kTrue);
  set_slot(slots::kPlotCounters, slots::make_plot_counters(0, 4));
  dialog_script::load("graph \"first\" -> close\ngraph -> keep\n");
  small_plot("first");
  EXPECT_EQ(kept(), 0);
  EXPECT_EQ(running(), 4);
  small_plot("second");
  small_plot("third");
  EXPECT_EQ(kept(), 2);
  EXPECT_EQ(running(), 6);
  EXPECT_EQ(dialog_script::transcript(),
            (Lines{"graph 0 plot5.$$$ first -> close", "graph 0 plot5.$$$ second -> keep",
                   "graph 0 plot6.$$$ third -> keep"}));
}

TEST_F(PlotWriterTest, AScatterPlotKeepsOnlyCompletePairs) {
  const std::vector<double> data = {1, kMissing, 3, 4, 5, 10, 20, kMissing, 40, 50};
  const std::vector<int> columns = {1, 2};
  const std::vector<std::string> names = {"Y", "X"};
  int type = 27, status = -1;
  std::string title = "Scatter";
  PLOTSERIES(data, 5, 5, 0, 0, columns, 1, names, 0.0, 5, type, title, status);
  const auto plot = plot_file::read(plot_path(1));
  ASSERT_TRUE(plot.has_value());
  EXPECT_EQ(plot->kind(), plot_file::Kind::kScatter);
  EXPECT_EQ(plot->points, 3);
  EXPECT_EQ(plot->marker, 5);
  EXPECT_EQ(plot->series[0].values, (std::vector<double>{1, 4, 5}));
  EXPECT_EQ(plot->series[1].values, (std::vector<double>{10, 40, 50}));
}

TEST_F(PlotWriterTest, AParameterPlotCarriesItsGrid) {
  const std::vector<double> data = {-3, -1, 0, -1, -3};
  const std::vector<int> columns = {1};
  const std::vector<std::string> names = {"LL"};
  int type = 5, status = -1;
  std::string title = "Concentrated log-likelihood";
  PLOTSERIES(data, 5, 5, 0, 0, columns, 1, names, 0.0, 2, type, title, status);
  const Lines lines = lines_of(plot_path(1));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[1], " Parameter of the autoregressive error process of order  2");
  EXPECT_EQ(lines[2], " 1 2 5 0");
  const auto plot = plot_file::read(plot_path(1));
  ASSERT_TRUE(plot.has_value());
  EXPECT_EQ(plot->series[1].values, (std::vector<double>{-1, -0.5, 0, 0.5, 1}));
  EXPECT_EQ(lines[4], "    ");  // names are not shown
}

TEST_F(PlotWriterTest, AHistogramWithItsNormalCurve) {
  // 200 values at the normal quantiles (i - 0.5) / 200.
  std::vector<double> data;
  for (int i = 1; i <= 200; ++i) data.push_back(INVNORMAL((i - 0.5) / 200.0));
  data.push_back(kMissing);
  const std::vector<int> columns = {1};
  const std::vector<std::string> names = {"U"};
  const int classes = 10;
  int type = 17, status = -1;
  std::string title = "Histogram and Normal curve for variable U";
  PLOTSERIES(data, 201, 201, 0, 0, columns, 3, names, 0.0, classes, type, title, status);
  const auto plot = plot_file::read(plot_path(1));
  ASSERT_TRUE(plot.has_value());
  EXPECT_EQ(plot->kind(), plot_file::Kind::kHistogram);
  ASSERT_EQ(plot->series.size(), 1u);
  EXPECT_EQ(plot->points, classes);
  const std::vector<double>& counts = plot->series[0].values;
  EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0.0), 200.0);
  EXPECT_EQ(counts.front(), counts.back());  // symmetric data, symmetric classes
  ASSERT_EQ(plot->classes.size(), 10u);
  const double lo = data.front(), hi = data[199], width = (hi - lo) / classes;
  EXPECT_NEAR(plot->classes.front(), lo + width / 2, 1e-12);
  EXPECT_NEAR(plot->classes.back(), hi - width / 2, 1e-12);
  ASSERT_EQ(plot->curve.size(), 101u);
  // The curve is drawn over the bars: its area, in class widths, is about the count.
  const double step = (hi - lo) / 100;
  double area = 0;
  for (std::size_t j = 1; j < plot->curve.size(); ++j) area += (plot->curve[j - 1] + plot->curve[j]) / 2 * step;
  EXPECT_NEAR(area / width, 200.0, 200.0 * 0.02);
  // Normal in shape: the ends stand exp(-z²/2) below the centre, z in standard deviations.
  double sd = 0;
  for (int i = 0; i < 200; ++i) sd += data[static_cast<std::size_t>(i)] * data[static_cast<std::size_t>(i)];
  sd = std::sqrt(sd / 199);
  EXPECT_NEAR(plot->curve.front() / plot->curve[50], std::exp(-0.5 * (lo / sd) * (lo / sd)), 1e-9);

  // The t curve of type 18 is flatter at the centre than the normal one.
  type = 18;
  PLOTSERIES(data, 201, 201, 0, 0, columns, 1, names, 4.0, classes, type, title, status);
  const auto t = plot_file::read(plot_path(2));
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->curve.size(), 101u);
  EXPECT_GT(t->curve[50], plot->curve[50]);  // unit-variance t(4) peaks higher
}

TEST_F(PlotWriterTest, AFileThatCannotBeCreatedRestoresTheCounters) {
  set_char_setting(charset::kTempFolder, (root_ / "no such folder").string());
  set_slot(slots::kPlotCounters, slots::make_plot_counters(2, 7));
  EXPECT_EQ(small_plot(), kPlotNotCreated);
  EXPECT_EQ(kept(), 2);
  EXPECT_EQ(running(), 7);
  const Lines transcript = dialog_script::transcript();
  ASSERT_EQ(transcript.size(), 1u);
  EXPECT_TRUE(transcript[0].starts_with("message error 0 Unable to create temporary file - graph will not be shown!"));
}

TEST_F(PlotWriterTest, SavedPlotsNoticeAndBadArgumentsWriteNothing) {
  const std::vector<double> data = {1, 2, 3};
  const std::vector<int> columns = {1};
  std::vector<std::string> names = {"@"};
  int type = 1, status = -1;
  std::string title = "t";
  PLOTSERIES(data, 3, 3, 0, 0, columns, 1, names, 0.0, 3, type, title, status);
  EXPECT_EQ(status, kPlotSavedNotice);
  EXPECT_EQ(dialog_script::transcript(),
            (Lines{"message information 0 To display saved plots, you should choose the View option from the File menu"}));

  names = {"X"};
  const std::vector<int> beyond = {2};  // a column past the data
  PLOTSERIES(data, 3, 3, 0, 0, beyond, 1, names, 0.0, 3, type, title, status);
  EXPECT_EQ(status, kPlotBadArguments);
  PLOTSERIES(data, 3, 3, 1, 0, columns, 1, names, 0.0, 3, type, title, status);  // rows past the column
  EXPECT_EQ(status, kPlotBadArguments);
  EXPECT_EQ(slot(slots::kPlotCounters), 0);
  EXPECT_TRUE(fs::is_empty(folder_));
}

}  // namespace
