// The concentrated likelihood plot: its 21 values against the reference criteria of
// ar-ma/expected.csv, the estimate and the interactive switch left as they were, a point
// that cannot be evaluated drawn as a gap, and the equations that have no such plot.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/likelihood_plot.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/plot_file.h"
#include "shared/temp_files.h"
#include "tests/engine/single/error_models_fixture.h"
#include "tests/engine/single/macro_fixture.h"

using namespace qorv;
using namespace qorv::single;
namespace macro = qorv::testing::macro;
namespace armacase = qorv::testing::armacase;

namespace {

class LikelihoodPlot : public qorv::testing::MacroTest {};

/// How many plots the engine has numbered so far.
unsigned plots_written() { return static_cast<uint32_t>(core::slot(slots::kPlotCounters)) >> 16; }

/// The plot file written last.
std::optional<plot_file::Plot> last_plot() {
  const std::filesystem::path folder(std::string(fixed_text::trim(core::char_setting(charset::kTempFolder))));
  return plot_file::read(folder / temp_files::plot_file_name(plots_written()));
}

/// The quantity of expected.csv at grid value r ("PLOT:-0.99", "PLOT:0", "PLOT:1").
std::string plot_quantity(double r) {
  char text[32];
  std::snprintf(text, sizeof text, "PLOT:%g", r);
  return text;
}

TEST_F(LikelihoodPlot, TheTwentyOneValuesAgreeWithTheReferenceAndTheEstimateStays) {
  struct Row {
    const char* reference;  ///< case of expected.csv
    int code;               ///< method estimated and plotted
    double sign;            ///< the plotted value is sign × the reference criterion
    const char* title;
    const char* second_title;
  };
  constexpr const char* kLogLik = "Plot of the Concentrated Log-likelihood Function";
  constexpr const char* kAr1 = "Parameter of the autoregressive error process of order  1";
  constexpr const char* kMa1 = "Parameter of the moving-average error process of order  1";
  const Row rows[] = {
      {"I_AR1", method::kExactAr1, 1.0, kLogLik, kAr1},
      {"D_AR1", method::kExactAr1, 1.0, kLogLik, kAr1},  // a second rise towards 0.99
      {"H_AR1", method::kExactAr1, 1.0, kLogLik, kAr1},
      {"I_CO1", method::kCochraneOrcutt, 1.0, kLogLik, kAr1},
      {"I_MA1", method::kMa, 1.0, kLogLik, kMa1},  // finite at theta = -1 and 1
      // Instruments equal to the regressors: the adjusted IV minimand is minus the
      // log-likelihood of the MA regression.
      {"I_MA1", method::kIvMa, -1.0, "Plot of the Concentrated Adjusted IV Minimand", kMa1},
  };
  bool interactive = true;
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.reference) + " as method " + std::to_string(row.code));
    armacase::Case c = armacase::find(row.reference);
    c.code = row.code;
    auto& s = estimation();
    s.instrlist = {macro::kIntercept, macro::kR};
    s.instrnames = {"INPT", "R"};
    s.ninstr = is_iv_method(row.code) ? 2 : 0;
    int asked = 0;
    ASSERT_EQ(armacase::estimate(c, asked), ErrorModelOutcome::kEstimated);
    const EstimationState before = s;
    interactive = !interactive;
    core::driver_state().interactive = interactive;

    const unsigned written = plots_written();
    ASSERT_TRUE(plot_concentrated_likelihood());
    EXPECT_EQ(plots_written(), written + 1);
    const auto plot = last_plot();
    ASSERT_TRUE(plot);
    EXPECT_EQ(plot->title, row.title);
    EXPECT_EQ(plot->second_title, row.second_title);
    ASSERT_EQ(plot->points, 21);
    ASSERT_EQ(plot->series.size(), 2u);  // the values and the grid
    const auto expected = armacase::expected(row.reference);
    const auto grid = likelihood_plot_grid(has_ma_errors(row.code));
    for (std::size_t i = 0; i < grid.size(); ++i) {
      const auto it = expected.find(plot_quantity(grid[i]));
      ASSERT_NE(it, expected.end()) << plot_quantity(grid[i]);
      qorv::testing::Expected e = it->second;
      e.value *= row.sign;
      const double value = plot->series[0].values[i];
      EXPECT_TRUE(qorv::testing::agrees(value, e)) << it->first << ": " << value << " against " << e.value;
    }

    // The estimate and the switch are as they were.
    EXPECT_EQ(core::driver_state().interactive, interactive);
    EXPECT_EQ(s.result, before.result);
    EXPECT_EQ(s.variance, before.variance);
    EXPECT_EQ(s.sigma, before.sigma);
    EXPECT_EQ(s.loglik, before.loglik);
    EXPECT_EQ(s.rss, before.rss);
    EXPECT_EQ(s.iv_minimand, before.iv_minimand);
    EXPECT_EQ(s.arma_lags, before.arma_lags);
  }
}

TEST_F(LikelihoodPlot, APointThatCannotBeEvaluatedIsAGap) {
  // R(t) = 2^-t: filtered with r = 0.5 the regressor vanishes and that regression is
  // singular; every other point is an ordinary Cochrane-Orcutt criterion.
  for (int t = 1; t <= core::globals().nobs; ++t) core::data_at(t, macro::kR) = std::ldexp(1.0, -t);
  take_equation(std::vector<int>{macro::kInfl, macro::kIntercept, macro::kR});
  auto& s = estimation();
  s.arma_lags = {1};
  begin_estimate(method::kCochraneOrcutt);
  ASSERT_TRUE(load_sample());
  ASSERT_TRUE(plot_concentrated_likelihood());
  const auto plot = last_plot();
  ASSERT_TRUE(plot);
  const auto grid = likelihood_plot_grid(false);
  for (std::size_t i = 0; i < grid.size(); ++i) {
    SCOPED_TRACE(grid[i]);
    const double value = plot->series[0].values[i];
    if (grid[i] == 0.5) {
      EXPECT_TRUE(plot_file::is_missing(value));
    } else {
      EXPECT_FALSE(plot_file::is_missing(value));
      EXPECT_LT(value, 0.0);  // a log-likelihood of data in percent, never the tolerance 1e-11
    }
  }
}

TEST_F(LikelihoodPlot, OnlyASingleErrorLagHasAPlot) {
  struct Row {
    const char* what;
    int code;
    std::vector<int> lags;
  };
  const Row rows[] = {
      {"two AR lags", method::kGaussNewtonAr, {1, 2}},
      {"two MA lags", method::kMa, {1, 4}},
      {"least squares", method::kOls, {}},
  };
  take_equation(std::vector<int>{macro::kInfl, macro::kIntercept, macro::kR});
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    estimation().arma_lags = row.lags;
    begin_estimate(row.code);
    ASSERT_TRUE(load_sample());
    EXPECT_FALSE(plot_concentrated_likelihood());
    EXPECT_EQ(plots_written(), 0u);
  }
}

}  // namespace
