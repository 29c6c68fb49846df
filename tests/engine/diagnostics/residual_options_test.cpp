// Listing, plotting and saving residuals, fitted values and leverage measures.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/leverage.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/diagnostics/residual_series.h"
#include "engine/diagnostics/result_series.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
namespace small = qorv::testing::small;

namespace {

class ResidualOptions : public qorv::testing::PostRegressionTest {};

/// The `index`-th blank-separated field of a listing row (0 the date label), as a number.
double number_in(const std::string& line, int index) {
  std::istringstream in(line);
  std::string field;
  for (int k = 0; k <= index; ++k) in >> field;
  if (field.starts_with(".")) field.insert(0, "0");
  if (field.starts_with("-.")) field.insert(1, "0");
  double v = 0.0;
  std::from_chars(field.data(), field.data() + field.size(), v);
  return v;
}

TEST_F(ResidualOptions, SavedResidualsAndFittedValuesAreTheListedOnes) {
  // Estimated over 1990Q3-1992Q2 (observations 3..10 of 12): listed, then saved as RES1
  // and FIT1 with descriptions.
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 3\nmenu 1037 -> 1\nresults -> close\n"
      "menu 1037 -> 6\nstring -> \"res1 OLS residuals\"\nmenu 1037 -> 7\nstring -> \"fit1\"\nmenu 1037 -> 0\n"
      "menu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 3, 10);
  diagnostics::POSTREGRESSION();

  const auto shown = pages();
  ASSERT_EQ(shown.size(), 2u);
  const auto& listing = shown[1];
  EXPECT_NE(listing[0].find("Residuals and Fitted Values of Regression"), std::string::npos);
  EXPECT_EQ(listing[2], " Based on  OLS regression of Y on:");
  std::vector<std::string> rows;
  for (const auto& line : listing)
    if (line.starts_with("  199")) rows.push_back(line);
  ASSERT_EQ(rows.size(), 8u);
  EXPECT_TRUE(rows.front().starts_with("  1990Q3"));
  EXPECT_TRUE(rows.back().starts_with("  1992Q2"));

  auto& g = core::globals();
  ASSERT_EQ(g.nvars, 6);
  EXPECT_EQ(core::variable_name(5), "RES1");
  EXPECT_EQ(core::variable_desc(5), "OLS residuals");
  EXPECT_EQ(core::variable_name(6), "FIT1");
  const auto& s = single::estimation();
  for (int t = 1; t <= g.nobs; ++t) {
    SCOPED_TRACE(t);
    if (t < 3 || t > 10) {
      EXPECT_EQ(core::data_at(t, 5), limits::kMissing);
      EXPECT_EQ(core::data_at(t, 6), limits::kMissing);
      continue;
    }
    const std::string& row = rows[static_cast<std::size_t>(t - 3)];
    EXPECT_EQ(core::data_at(t, 5), s.result[static_cast<std::size_t>(single::block::kResiduals + t - 3)]);
    EXPECT_EQ(core::data_at(t, 6), s.result[static_cast<std::size_t>(single::block::kFitted + t - 3)]);
    // The printed fields carry five significant digits.
    EXPECT_NEAR(core::data_at(t, 6), number_in(row, 2), 5e-5);
    EXPECT_NEAR(core::data_at(t, 5), number_in(row, 3), 5e-6);
  }
}

TEST_F(ResidualOptions, AFullWorkspaceRefusesANewNameAndWritesNothing) {
  auto& g = core::globals();
  g.max_vars = g.nvars;  // no room for one more
  const double before = core::data_at(1, small::kZ);
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 3\nmenu 1037 -> 6\nstring -> \"RES1\"\nmenu 1037 -> 6\n"
      "string -> \"Z replaced\"\nmenu 1037 -> 0\nmenu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  EXPECT_NE(dialog_script::transcript_text().find(
                "message information 0 Not enough store on your work space, you must delete at least 1 variable!"),
            std::string::npos);
  EXPECT_EQ(g.nvars, 4);
  EXPECT_EQ(core::find_variable("RES1"), 0);
  // An existing variable outside the model can still be overwritten.
  EXPECT_NE(core::data_at(1, small::kZ), before);
  EXPECT_EQ(core::data_at(1, small::kZ), single::residual(1));
  EXPECT_EQ(core::variable_desc(small::kZ), "replaced");
}

TEST_F(ResidualOptions, NamesOfTheModelAndInvalidNamesAreAskedAgainAndCancelSavesNothing) {
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 3\nmenu 1037 -> 6\nstring -> \"X\"\nstring -> \"RESIDUALS1\"\n"
      "string -> cancel\nmenu 1037 -> 7\nstring -> \"q\"\nmenu 1037 -> 0\nmenu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const std::string text = dialog_script::transcript_text();
  EXPECT_NE(text.find("string 0 Name and optional description for saved residuals:"), std::string::npos);
  EXPECT_NE(text.find("string 0 Name and optional description for saved fitted values:"), std::string::npos);
  EXPECT_NE(text.find(" is used in your current model!"), std::string::npos);
  EXPECT_NE(text.find("RESIDUALS1 is not a valid name, try again!"), std::string::npos);
  EXPECT_EQ(core::globals().nvars, 4);
}

TEST_F(ResidualOptions, AnEmptyNameShowsTheVariablesInOneBoxAndAsksAgain) {
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 3\nmenu 1037 -> 7\nstring -> \"\"\nstring -> \"q\"\nmenu 1037 -> 0\n"
      "menu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const auto& t = dialog_script::transcript();
  std::vector<std::size_t> prompts;
  for (std::size_t i = 0; i < t.size(); ++i)
    if (t[i].starts_with("string 0 Name and optional description for saved fitted values:")) prompts.push_back(i);
  ASSERT_EQ(prompts.size(), 2u) << dialog_script::transcript_text();
  std::vector<std::string> between;
  for (std::size_t i = prompts[0] + 1; i < prompts[1]; ++i)
    if (t[i].starts_with("message")) between.push_back(t[i]);
  EXPECT_EQ(between, std::vector<std::string>{"message long"});
  EXPECT_EQ(dialog_script::transcript_text().find("OUTALT"), std::string::npos);
  EXPECT_EQ(core::globals().nvars, 4);
}

TEST_F(ResidualOptions, PlotsOfFitResidualsAndHistogram) {
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 3\nmenu 1037 -> 2\nmenu 1037 -> 3\nmenu 1037 -> 5\nmenu 1037 -> 0\n"
      "menu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const auto drawn = plots();
  ASSERT_EQ(drawn.size(), 3u);
  const auto& s = single::estimation();

  EXPECT_EQ(drawn[0].title, "Plot of Actual and Fitted Values");
  ASSERT_EQ(drawn[0].series.size(), 2u);
  EXPECT_EQ(drawn[0].series[0].name, "Y");
  EXPECT_EQ(drawn[0].series[1].name, "Fitted");
  EXPECT_EQ(drawn[0].first_year, 1990);
  EXPECT_EQ(drawn[0].first_period, 1);
  for (int t = 1; t <= small::kObs; ++t) {
    EXPECT_EQ(drawn[0].series[0].values[static_cast<std::size_t>(t - 1)], single::actual(t));
    EXPECT_EQ(drawn[0].series[1].values[static_cast<std::size_t>(t - 1)], single::fitted(t));
  }

  EXPECT_EQ(drawn[1].title, "Plot of Residuals and Two Standard Error Bands");
  ASSERT_EQ(drawn[1].series.size(), 3u);
  for (int t = 1; t <= small::kObs; ++t) {
    EXPECT_EQ(drawn[1].series[0].values[static_cast<std::size_t>(t - 1)], single::residual(t));
    EXPECT_EQ(drawn[1].series[1].values[static_cast<std::size_t>(t - 1)], 2.0 * s.sigma);
    EXPECT_EQ(drawn[1].series[2].values[static_cast<std::size_t>(t - 1)], -2.0 * s.sigma);
  }

  EXPECT_EQ(drawn[2].title, "Histogram of Residuals and the Normal Density");
  EXPECT_EQ(drawn[2].kind(), plot_file::Kind::kHistogram);
  EXPECT_EQ(drawn[2].points, 6);  // 12 observations: at least 6 classes
  double counted = 0.0;
  for (double c : drawn[2].series[0].values) counted += c;
  EXPECT_EQ(counted, 12.0);
}

TEST_F(ResidualOptions, SavedSeriesRunOnOverTheForecasts) {
  // Estimated over observations 1..8 with forecasts for 9..12 (the last one without an
  // actual value): the saved series cover 12 observations.
  core::data_at(12, small::kY) = limits::kMissing;
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 3\nmenu 1037 -> 7\nstring -> \"FF\"\nmenu 1037 -> 6\n"
      "string -> \"EF\"\nmenu 1037 -> 0\nmenu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, 8);
  auto& s = single::estimation();
  s.forecast_count = 4;
  const double predicted[] = {19.5, 21.5, 23.5, 25.5};
  for (int i = 0; i < 4; ++i) s.result[static_cast<std::size_t>(single::block::kForecasts + i)] = predicted[i];
  diagnostics::POSTREGRESSION();
  EXPECT_NE(dialog_script::transcript_text().find("saved fitted values and/or forecasts:"), std::string::npos);
  const int ff = core::find_variable("FF"), ef = core::find_variable("EF");
  ASSERT_NE(ff, 0);
  ASSERT_NE(ef, 0);
  for (int t = 1; t <= 8; ++t) {
    EXPECT_EQ(core::data_at(t, ff), single::fitted(t));
    EXPECT_EQ(core::data_at(t, ef), single::residual(t));
  }
  for (int t = 9; t <= 12; ++t) EXPECT_EQ(core::data_at(t, ff), predicted[t - 9]);
  for (int t = 9; t <= 11; ++t) EXPECT_DOUBLE_EQ(core::data_at(t, ef), core::data_at(t, small::kY) - predicted[t - 9]);
  EXPECT_EQ(core::data_at(12, ef), limits::kMissing);
}

TEST(HistogramClasses, NearestTenthHeldBetweenSixAndFifteen) {
  EXPECT_EQ(diagnostics::histogram_classes(12), 6);
  EXPECT_EQ(diagnostics::histogram_classes(40), 6);
  EXPECT_EQ(diagnostics::histogram_classes(84), 8);
  EXPECT_EQ(diagnostics::histogram_classes(85), 9);  // 8.5 rounds away from zero
  EXPECT_EQ(diagnostics::histogram_classes(100), 10);
  EXPECT_EQ(diagnostics::histogram_classes(300), 15);
}

TEST_F(ResidualOptions, LeverageIsPlottedWithItsAverageAndSaved) {
  // With an intercept and one regressor, h(t) = 1/n + (x(t) - mean)^2 / sum of (x - mean)^2.
  // X = 1..12: mean 6.5, sum of squares 143.
  dialog_script::load(
      "strict\nresults -> close\nmenu 1002 -> 6\nmenu 1002 -> 7\nstring -> \"LEV\"\nmenu 1002 -> 0\n");
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  diagnostics::POSTREGRESSION();
  const auto drawn = plots();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].title, "Plot of the Leverage Measures of the Regression");
  ASSERT_EQ(drawn[0].series.size(), 2u);
  EXPECT_EQ(drawn[0].series[0].name, "Leverage");
  EXPECT_EQ(drawn[0].series[1].name, "Average");
  const int lev = core::find_variable("LEV");
  ASSERT_NE(lev, 0);
  for (int t = 1; t <= small::kObs; ++t) {
    const double expected = 1.0 / 12.0 + (t - 6.5) * (t - 6.5) / 143.0;
    EXPECT_NEAR(drawn[0].series[0].values[static_cast<std::size_t>(t - 1)], expected, 1e-14);
    EXPECT_DOUBLE_EQ(drawn[0].series[1].values[static_cast<std::size_t>(t - 1)], 2.0 / 12.0);
    EXPECT_NEAR(core::data_at(t, lev), expected, 1e-14);
  }
  EXPECT_NE(dialog_script::transcript_text().find("saved leverage measures:"), std::string::npos);
}

TEST(SeriesKinds, PromptTexts) {
  EXPECT_EQ(diagnostics::series_prompt(1), "Name and optional description for saved residuals:");
  EXPECT_EQ(diagnostics::series_kind_text(0), "fitted values and/or forecasts:");
  EXPECT_EQ(diagnostics::series_kind_text(108), "S.E.'s of recursive predictions:");
  EXPECT_EQ(diagnostics::series_kind_text(14), "conditional standard errors of GARCH:");
  EXPECT_EQ(diagnostics::series_kind_text(16), "cointegraing relation  2");
  EXPECT_EQ(diagnostics::series_kind_text(126), "cointegraing relation112");
}

}  // namespace
