// The statistics commands' edge cases: orders and windows at their limits, a variable that
// does not vary, one observation, gaps, too short a sample, listings in blocks, the plots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/number_format.h"
#include "engine/core/unit_root_regressions.h"
#include "engine/core/workspace.h"
#include "engine/data/spectrum_command.h"
#include "engine/data/statistics_command.h"
#include "engine/data/unit_root_command.h"
#include "engine/data/value_listing.h"
#include "shared/exchange_slots.h"
#include "tests/engine/data/data_commands_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/scratch_folder.h"

namespace {

using namespace qorv;
using qorv::testing::field;
using qorv::testing::line_starting;
constexpr double M = limits::kMissing;

/// n values of a series that wanders: x(t) = sin(t) + t/10 + (t mod 3)/4.
std::vector<double> wandering(int n) {
  std::vector<double> x;
  for (int t = 1; t <= n; ++t) x.push_back(std::sin(t) + t / 10.0 + (t % 3) / 4.0);
  return x;
}

class DataCommands : public qorv::testing::DataCommandsTest {
 protected:
  void SetUp() override {
    DataCommandsTest::SetUp();
    qorv::testing::install_numbered_message_file(folder_, 20);
    dialog_script::load("results -> close\n");
  }
  zv_test::ScratchFolder folder_{"zv-datacmds"};
  const std::vector<int> x_{1};
};

TEST_F(DataCommands, AutocorrelationOrderFollowsTheSampleAndTheTypedOrder) {
  install({wandering(30)}, {"X"});
  struct Case {
    int typed, order;
  };
  data::SummaryResult r;
  for (const Case c : {Case{-1, 10}, Case{50, 29}, Case{0, 10}, Case{7, 7}}) {
    r = data::AUTOCORRELATIONS(x_, 1, 30, data::kStatisticsMode, c.typed);
    ASSERT_EQ(r.status, data::kCommandDone);
    EXPECT_EQ(r.figures.autocorrelation.order, c.order) << "typed " << c.typed;
    EXPECT_EQ(r.figures.autocorrelation.r.size(), static_cast<std::size_t>(c.order));
  }
  // The last page's table ends with the row of order 7 and its plot has 7 points.
  const auto page = pages().back();
  EXPECT_EQ(field(line_starting(page, "      7"), 2, 6), "     7");
  EXPECT_TRUE(line_starting(page, "      8").empty());
  const auto shown = plots();
  ASSERT_EQ(shown.size(), 4u);
  const plot_file::Plot& acf = shown.back();
  EXPECT_EQ(acf.kind(), plot_file::Kind::kXY);
  EXPECT_EQ(acf.title, "Autocorrelation function of X, sample from 1 to 30");
  ASSERT_EQ(acf.series.size(), 2u);
  EXPECT_EQ(acf.series[1].name, "Order of lags");
  EXPECT_EQ(acf.series[1].values, (std::vector<double>{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(acf.series[0].values, r.figures.autocorrelation.r);
}

TEST_F(DataCommands, AConstantVariableHasNoMomentsCorrelationsOrPlot) {
  install({std::vector<double>(12, 2.5), wandering(12)}, {"C", "X"});
  const auto one = data::AUTOCORRELATIONS(x_, 1, 12, data::kStatisticsMode, -1);
  ASSERT_EQ(one.status, data::kCommandDone);
  const data::VariableStatistics& s = one.figures.statistics.front();
  EXPECT_EQ(s.std_dev, 0.0);
  EXPECT_EQ(s.skewness, M);
  EXPECT_EQ(s.kurtosis3, M);
  EXPECT_DOUBLE_EQ(s.variation, 0.0);
  const auto& a = one.figures.autocorrelation;
  ASSERT_EQ(a.order, 4);
  EXPECT_TRUE(std::all_of(a.r.begin(), a.r.end(), [](double v) { return v == M; }));
  const auto page = pages().front();
  EXPECT_EQ(field(line_starting(page, " Skewness"), 21), "   *NONE*");
  EXPECT_EQ(field(line_starting(page, " Kurtosis - 3"), 21), "   *NONE*");
  // Each row of the table: "*NONE*" without a probability.
  const std::string row = line_starting(page, "      1");
  EXPECT_EQ(field(row, 11), "   *NONE*");
  EXPECT_EQ(row.find('['), std::string::npos);
  EXPECT_TRUE(plots().empty());

  const std::vector<int> both = {1, 2};
  const auto two = data::AUTOCORRELATIONS(both, 1, 12, data::kStatisticsMode, -1);
  EXPECT_EQ(two.figures.correlations, (std::vector<double>{M, M, 1.0}));
  const auto matrix = pages().back();
  EXPECT_NE(line_starting(matrix, " C").find("*NONE*"), std::string::npos);
}

TEST_F(DataCommands, OneObservationGivesNoDeviationAndNoAutocorrelations) {
  install({wandering(5)}, {"X"});
  const auto r = data::AUTOCORRELATIONS(x_, 3, 3, data::kStatisticsMode, 4);
  ASSERT_EQ(r.status, data::kCommandDone);
  EXPECT_EQ(r.figures.statistics.front().std_dev, M);
  EXPECT_EQ(r.figures.statistics.front().skewness, M);
  EXPECT_EQ(r.figures.autocorrelation.order, 0);
  const auto page = pages().front();
  EXPECT_EQ(field(line_starting(page, " Std. Deviation"), 21), "   *NONE*");
  EXPECT_TRUE(line_starting(page, " Variable X").empty());
  EXPECT_TRUE(plots().empty());
}

TEST_F(DataCommands, MissingValuesNarrowTheSampleAtItsEndsAndAGapIsRefused) {
  std::vector<double> x = wandering(12);
  x[0] = x[11] = M;
  install({x}, {"X"}, 4, 90, 1);
  const auto narrowed = data::AUTOCORRELATIONS(x_, 1, 12, data::kStatisticsMode, -1);
  ASSERT_EQ(narrowed.status, data::kCommandDone);
  EXPECT_EQ(narrowed.figures.first, 2);
  EXPECT_EQ(narrowed.figures.last, 11);
  EXPECT_EQ(line_starting(pages().front(), " Sample period"), " Sample period    : 1990Q2 to 1992Q3");

  core::data_at(5, 1) = M;
  dialog_script::reset();
  EXPECT_EQ(data::AUTOCORRELATIONS(x_, 1, 12, data::kStatisticsMode, -1).status, data::kCommandRefused);
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            "message information 0 Missing observation in period 1991Q1. Can't calculate autocorrelations!"}));
  EXPECT_EQ(data::SPECTRUM(1, 1, 12, -1).status, data::kCommandRefused);
  EXPECT_EQ(data::ADFTEST(1, 1, 12, -1).status, data::kCommandRefused);
  EXPECT_EQ(messages().back(), "message information 0 Line 2");
  EXPECT_TRUE(pages().empty());
}

TEST_F(DataCommands, ArgumentsOutsideTheDataSetDoNothing) {
  install({wandering(10)}, {"X"});
  const std::vector<int> unknown = {2}, none = {};
  EXPECT_EQ(data::AUTOCORRELATIONS(unknown, 1, 10, data::kStatisticsMode, -1).status, data::kCommandBadArguments);
  EXPECT_EQ(data::AUTOCORRELATIONS(none, 1, 10, data::kStatisticsMode, -1).status, data::kCommandBadArguments);
  EXPECT_EQ(data::AUTOCORRELATIONS(x_, 1, 10, 3, -1).status, data::kCommandBadArguments);
  EXPECT_EQ(data::LISTVALUES(x_, 0, 10), data::kCommandBadArguments);
  EXPECT_EQ(data::SPECTRUM(1, 5, 4, -1).status, data::kCommandBadArguments);
  EXPECT_EQ(data::ADFTEST(1, 1, 11, -1).status, data::kCommandBadArguments);
  EXPECT_TRUE(dialog_script::transcript().empty());
}

TEST_F(DataCommands, ListingOfEightVariablesWritesTwoBlocks) {
  std::vector<std::vector<double>> columns;
  std::vector<std::string> names;
  for (int v = 1; v <= 8; ++v) {
    columns.push_back({v + 0.5, v * 100.0, v == 8 ? M : -v * 1.0});
    names.push_back("V" + std::to_string(v));
  }
  install(columns, names, 2, 1990);
  const std::vector<int> all = {1, 2, 3, 4, 5, 6, 7, 8};
  EXPECT_EQ(data::AUTOCORRELATIONS(all, 1, 3, data::kListValuesMode, -1).status, data::kCommandDone);
  const auto page = pages().front();
  const std::vector<std::string> expected = {
      " OBS.         V1        V2        V3        V4        V5        V6",
      " 1990        1.5000    2.5000    3.5000    4.5000    5.5000    6.5000",
      " 1991      100.0000  200.0000  300.0000  400.0000  500.0000  600.0000",
      " 1992       -1.0000   -2.0000   -3.0000   -4.0000   -5.0000   -6.0000",
      "",
      " OBS.         V7        V8",
      " 1990        7.5000    8.5000",
      " 1991      700.0000  800.0000",
      " 1992       -7.0000    *NONE*",
      "\f",  // the record that ends a page
  };
  EXPECT_EQ(page, expected);
}

TEST_F(DataCommands, SpectrumWindowSizes) {
  EXPECT_EQ(data::spectral_window_size(-1, 100), 20);
  EXPECT_EQ(data::spectral_window_size(500, 100), 99);
  EXPECT_EQ(data::spectral_window_size(100, 100), 99);
  EXPECT_EQ(data::spectral_window_size(-1, 4), 3);  // 2·nint(2) = 4 is capped at n − 1
  EXPECT_EQ(data::spectral_window_size(0, 30), 10);

  install({wandering(100)}, {"X"});
  const auto r = data::SPECTRUM(1, 1, 100, 500);
  ASSERT_EQ(r.status, data::kCommandDone);
  EXPECT_EQ(r.figures.window, 99);
  EXPECT_EQ(r.figures.frequency.size(), 100u);
}

TEST_F(DataCommands, TheStandardizedSpectrumDoesNotDependOnTheUnits) {
  // Divided by 1 in place of a c0 below 1e-11, a series in small units would lose its
  // standardization; in very large units c0 would overflow.
  const std::vector<double> x = wandering(50);
  const data::SpectrumFigures unit = data::spectral_density(x, 10);
  for (double scale : {1e-9, 1e300}) {
    std::vector<double> scaled;
    for (double v : x) scaled.push_back(v * scale);
    const data::SpectrumFigures f = data::spectral_density(scaled, 10);
    for (int w = 0; w < 3; ++w)
      for (std::size_t j = 0; j <= 10; ++j)
        EXPECT_NEAR(f.windows[static_cast<std::size_t>(w)].density[j], unit.windows[static_cast<std::size_t>(w)].density[j],
                    1e-12 * std::fabs(unit.windows[static_cast<std::size_t>(w)].density[j]))
            << scale;
  }
}

TEST_F(DataCommands, SpectrumNeedsFourObservations) {
  install({wandering(4)}, {"X"});
  EXPECT_EQ(data::SPECTRUM(1, 1, 3, -1).status, data::kCommandRefused);
  EXPECT_EQ(messages(), (std::vector<std::string>{
                            "message information 0 The spectral density needs at least 4 observations without a gap in "
                            "the sample."}));
  const auto r = data::SPECTRUM(1, 1, 4, -1);
  ASSERT_EQ(r.status, data::kCommandDone);
  EXPECT_EQ(r.figures.window, 3);
}

TEST_F(DataCommands, SpectrumPlotsEachWindowWithItsBandsThenAllThree) {
  install({wandering(40)}, {"X"});
  const auto r = data::SPECTRUM(1, 1, 40, 8);
  ASSERT_EQ(r.status, data::kCommandDone);
  const auto shown = plots();
  ASSERT_EQ(shown.size(), 4u);
  for (int w = 0; w < 3; ++w) {
    const plot_file::Plot& p = shown[static_cast<std::size_t>(w)];
    const std::string window(data::kWindowNames[static_cast<std::size_t>(w)]);
    EXPECT_EQ(p.kind(), plot_file::Kind::kSpectrum);
    EXPECT_EQ(p.title, "Standardized Spectral Density Function of X, " + window + " window");
    ASSERT_EQ(p.series.size(), 4u);
    EXPECT_EQ(p.series[1].name, "+2 S.E.");
    EXPECT_EQ(p.series[2].name, "-2 S.E.");
    EXPECT_EQ(p.series[3].values, r.figures.frequency);
    const auto& e = r.figures.windows[static_cast<std::size_t>(w)];
    // The bands are f(1 ± 2c): f ± 2 s.e., the standard error being c·f (√2·c at 0 and π).
    for (std::size_t j = 0; j < e.density.size(); ++j) {
      EXPECT_NEAR(p.series[1].values[j], e.density[j] + 2 * e.std_error[j], 1e-12);
      EXPECT_NEAR(p.series[2].values[j], e.density[j] - 2 * e.std_error[j], 1e-12);
    }
  }
  EXPECT_EQ(shown[3].title, "Various estimates of standardized spectral density of X");
  EXPECT_EQ(shown[3].series.size(), 4u);
}

TEST_F(DataCommands, SpectrumOfAConstantPrintsNoneAndPlotsNothing) {
  install({std::vector<double>(10, 3.0)}, {"X"});
  const auto r = data::SPECTRUM(1, 1, 10, -1);
  ASSERT_EQ(r.status, data::kCommandDone);
  EXPECT_EQ(r.figures.windows[0].density.front(), M);
  const std::string row = line_starting(pages().front(), "     0.00");
  EXPECT_EQ(field(row, 20, 20), "   *NONE*(   *NONE*)");
  EXPECT_TRUE(plots().empty());
}

TEST_F(DataCommands, AdfOrderFromFrequencyAndTypedOrder) {
  EXPECT_EQ(data::adf_order(-1, 4), 4);
  EXPECT_EQ(data::adf_order(-1, 1), 1);
  EXPECT_EQ(data::adf_order(-1, 12), 12);
  EXPECT_EQ(data::adf_order(20, 4), 12);
  EXPECT_EQ(data::adf_order(0, 4), 0);

  install({wandering(60)}, {"X"}, 4, 60, 1);
  const auto quarterly = data::ADFTEST(1, 1, 60, -1);
  ASSERT_EQ(quarterly.status, data::kCommandDone);
  EXPECT_EQ(quarterly.figures.intercept.regressions.orders.size(), 5u);
  const auto twenty = data::ADFTEST(1, 1, 60, 20);
  ASSERT_EQ(twenty.status, data::kCommandDone);
  EXPECT_EQ(twenty.figures.trend.regressions.orders.size(), 13u);
  EXPECT_EQ(twenty.figures.trend.regressions.observations, 60 - 13);
  EXPECT_FALSE(line_starting(pages().back(), " ADF(12)").empty());
}

TEST_F(DataCommands, AdfOnTooShortASampleNamesTheLargestOrder) {
  install({wandering(10)}, {"X"}, 4, 60, 1);
  EXPECT_EQ(data::ADFTEST(1, 1, 10, -1).status, data::kCommandRefused);
  EXPECT_EQ(data::ADFTEST(1, 1, 4, 0).status, data::kCommandRefused);
  EXPECT_EQ(messages(),
            (std::vector<std::string>{
                "message information 0 Too few observations for unit root tests of order 4: the largest order "
                "possible is 2.",
                "message information 0 Too few observations for unit root tests: at least 5 are needed."}));
  EXPECT_EQ(data::ADFTEST(1, 1, 10, 2).status, data::kCommandDone);
}

TEST_F(DataCommands, AnExactFitPrintsNoneInItsRow) {
  std::vector<double> line;  // y = 2t: Δy = 2 throughout, fitted exactly by the intercept
  for (int t = 1; t <= 20; ++t) line.push_back(2.0 * t);
  install({line}, {"X"}, 2, 1950);
  const auto r = data::ADFTEST(1, 1, 20, 0);
  ASSERT_EQ(r.status, data::kCommandDone);
  EXPECT_EQ(r.figures.intercept.regressions.orders[0].statistic, M);
  EXPECT_EQ(r.figures.trend.regressions.orders[0].statistic, M);
  for (const std::string& row : {line_starting(pages().front(), " DF")}) {
    EXPECT_EQ(field(row, 11), "   *NONE*");
    EXPECT_EQ(field(row, 25), "   *NONE*");
  }
}

TEST_F(DataCommands, AHundredObservationsUsedPrintTheCriticalValueOfTheExample) {
  install({wandering(102)}, {"X"}, 2, 1900);
  const auto r = data::ADFTEST(1, 1, 102, -1);
  ASSERT_EQ(r.status, data::kCommandDone);
  EXPECT_EQ(r.figures.intercept.regressions.observations, 100);
  const std::string line = line_starting(pages().front(), " 95% critical value");
  EXPECT_EQ(line.substr(line.find('=')), "=  -2.8903");
  EXPECT_EQ(line_starting(pages().front(), " Sample period"), " Sample period from 1902 to 2001");
}

}  // namespace
