// Single-equation forecasts: the reference forecasts of the macro equations, the error
// extensions of AR and MA errors, the forecast period's edge cases, and the residual
// correlogram and spectrum.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/number_format.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/diagnostics/residual_correlogram.h"
#include "engine/diagnostics/single_forecast.h"
#include "engine/single/estimation_state.h"
#include "engine/single/nonlinear_estimate.h"
#include "shared/exchange_slots.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
namespace small = qorv::testing::small;
namespace macro = qorv::testing::macro;
using qorv::testing::Expected;

namespace {

class SingleForecasts : public qorv::testing::PostRegressionTest {};

std::vector<std::string> fields(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string f; in >> f;) out.push_back(f);
  return out;
}

/// The value as the page prints it, without its leading blanks.
std::string printed(double v) { return fields(core::FORMATREAL9(v)).front(); }

std::string trimmed(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

/// The page line that starts with `prefix`, or "".
std::string line_starting(const std::vector<std::string>& page, const std::string& prefix) {
  for (const auto& line : page)
    if (line.starts_with(prefix)) return line;
  return {};
}

bool transcript_has(const std::string& text) {
  return dialog_script::transcript_text().find(text) != std::string::npos;
}

void expect_agrees(double x, const Expected& e, const std::string& what) {
  EXPECT_TRUE(qorv::testing::agrees(x, e)) << what << ": " << x << " against " << e.value;
}

TEST_F(SingleForecasts, MacroEquationsAgreeWithTheReference) {
  struct Case {
    const char* name;
    std::vector<int> equation;
    int first;
    bool dynamic;
  };
  const Case cases[] = {
      {"S8", {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, false},
      {"D8", {macro::kLc, macro::kIntercept, macro::kLcLag, macro::kLy, macro::kInfl, macro::kR}, 2, true},
  };
  const char* quarters[] = {"2007Q1", "2007Q2", "2007Q3", "2007Q4", "2008Q1", "2008Q2", "2008Q3", "2008Q4"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog_script::reset();
    dialog_script::load("strict\nstring -> \"\"\nresults -> close\n");
    qorv::testing::install_macro_data();
    estimate(c.equation, c.first, 188);  // to 2006Q4; 2007Q1-2008Q4 forecast
    const auto expected = qorv::testing::macro_expected(c.name);
    diagnostics::SINGLEFORECAST(false);
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    EXPECT_TRUE(transcript_has("Initial observation in the forecast period is: 2007Q1 Final observation for the "
                               "forecast period (Max 2008Q4)?"));

    // Unrounded: the forecast blocks and the summary.
    const auto& s = single::estimation();
    ASSERT_EQ(s.forecast_count, 8);
    for (int i = 0; i < 8; ++i) {
      const std::string q = quarters[i];
      expect_agrees(s.result[static_cast<size_t>(single::block::kForecasts + i)], expected.at("FC_PRED:" + q),
                    "prediction " + q);
      expect_agrees(s.result[static_cast<size_t>(single::block::kForecastErrors + i)], expected.at("FC_SDERR:" + q),
                    "S.D. " + q);
    }
    const auto f = diagnostics::forecast_equation(196);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->dynamic, c.dynamic);
    EXPECT_EQ(f->m, 8);
    for (int i = 0; i < 8; ++i) expect_agrees(f->error[static_cast<size_t>(i)], expected.at(std::string("FC_ERR:") + quarters[i]), "error");
    expect_agrees(f->mean_error, expected.at("FC_MEAN_ERR"), "mean");
    expect_agrees(f->mean_abs_error, expected.at("FC_MEAN_ABS_ERR"), "mean absolute");
    expect_agrees(f->mean_square_error, expected.at("FC_MEAN_SQ_ERR"), "mean square");
    expect_agrees(f->rmse, expected.at("FC_RMSE"), "root mean square");

    // The page at printed precision.
    const auto shown = pages();
    ASSERT_EQ(shown.size(), 1u);
    const auto& page = shown.front();
    EXPECT_EQ(fields(page[0]), fields(c.dynamic ? "Single Equation Dynamic Forecasts" : "Single Equation Static Forecasts"));
    EXPECT_EQ(trimmed(line_starting(page, " Observation")),
              " Observation        Actual        Prediction        Error        S.D. of Error");
    for (int i = 0; i < 8; ++i) {
      const std::string q = quarters[i];
      const std::string row = line_starting(page, "  " + q);
      EXPECT_EQ(fields(row), (std::vector<std::string>{q, printed(expected.at("FC_ACTUAL:" + q).value),
                                                       printed(expected.at("FC_PRED:" + q).value),
                                                       printed(expected.at("FC_ERR:" + q).value),
                                                       printed(expected.at("FC_SDERR:" + q).value)}))
          << row;
    }
    EXPECT_EQ(fields(line_starting(page, " Based on 8")), fields(" Based on 8 observations from 2007Q1 to 2008Q4"));
    EXPECT_EQ(fields(line_starting(page, " Mean Prediction Errors")),
              (std::vector<std::string>{"Mean", "Prediction", "Errors", printed(expected.at("FC_MEAN_ERR").value),
                                        "Mean", "Sum", "Abs", "Pred", "Errors",
                                        printed(expected.at("FC_MEAN_ABS_ERR").value)}));
    EXPECT_EQ(fields(line_starting(page, " Sum Squares Pred Errors")),
              (std::vector<std::string>{"Sum", "Squares", "Pred", "Errors", printed(expected.at("FC_MEAN_SQ_ERR").value),
                                        "Root", "Mean", "Sumsq", "Pred", "Errors",
                                        printed(expected.at("FC_RMSE").value)}));
    // The tests after the summary are those of the diagnostic table over the same 8
    // observations: "= value[prob]" on each line.
    const auto value_on = [&](const std::string& prefix, size_t nth) {
      size_t seen = 0;
      for (size_t k = 0; k < page.size(); ++k)
        if (page[k].starts_with(prefix) && seen++ == nth) return page[k];
      return std::string();
    };
    const auto statistic = [](const std::string& line) {
      const auto eq = line.find('=');
      return eq == std::string::npos ? std::string() : fields(line.substr(eq + 1, 9)).front();
    };
    const std::string failure = line_starting(page, " Predictive failure test");
    const std::string stability = line_starting(page, " Structural stability test");
    EXPECT_EQ(statistic(failure), printed(expected.at("E_CHSQ").value)) << failure;
    EXPECT_EQ(statistic(stability), printed(expected.at("F_CHSQ").value)) << stability;
    EXPECT_EQ(statistic(value_on(std::string(27, ' ') + "F(", 0)), printed(expected.at("E_F").value));
    EXPECT_EQ(statistic(value_on(std::string(27, ' ') + "F(", 1)), printed(expected.at("F_F").value));

    const auto drawn = plots();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().title, c.dynamic ? "Plot of Actual and Single Equation Dynamic Forecast(s)"
                                            : "Plot of Actual and Single Equation Static Forecast(s)");
    EXPECT_EQ(drawn.back().series[1].values.back(), s.result[single::block::kForecasts + 7]);
  }
}

TEST_F(SingleForecasts, ArErrorsDecayAndMaErrorsVanishAfterTheirLags) {
  // Y on C X over 1990Q1-1992Q1; the 3 forecasts of 1992Q2-1992Q4.
  estimate({small::kY, small::kC, small::kX}, 1, 9);
  auto& s = single::estimation();
  const double b0 = single::coefficient(1), b1 = single::coefficient(2);
  const auto line = [&](int t) { return b0 + b1 * t; };
  const double u_t = core::data_at(9, small::kY) - line(9);

  // AR(1) errors with ρ = 0.5: u(T+i) = ρ^i u(T).
  s.method = single::method::kExactAr1;
  s.arma_lags = {1};
  single::coefficient(3) = 0.5;
  auto f = diagnostics::forecast_equation(12);
  ASSERT_TRUE(f.has_value());
  EXPECT_FALSE(f->std_errors);
  for (int i = 1; i <= 3; ++i) EXPECT_NEAR(f->prediction[static_cast<size_t>(i - 1)], line(9 + i) + std::pow(0.5, i) * u_t, 1e-12);

  // MA(2) errors, θ = (0.4, -0.3), innovations e(T − 1) = 0.2, e(T) = −0.1:
  // step 1: 0.4·(−0.1) − 0.3·0.2 = −0.1; step 2: −0.3·(−0.1) = 0.03; step 3: 0.
  s.method = single::method::kMa;
  s.arma_lags = {1, 2};
  single::coefficient(3) = 0.4;
  single::coefficient(4) = -0.3;
  auto innovations = single::series_block(single::block::kTransformedResiduals);
  innovations[7] = 0.2;
  innovations[8] = -0.1;
  f = diagnostics::forecast_equation(12);
  ASSERT_TRUE(f.has_value());
  EXPECT_NEAR(f->prediction[0], line(10) - 0.1, 1e-12);
  EXPECT_NEAR(f->prediction[1], line(11) + 0.03, 1e-12);
  EXPECT_NEAR(f->prediction[2], line(12), 1e-12);
}

TEST_F(SingleForecasts, ForecastPeriodEdgeCases) {
  // Y = 1 + 2t + noise on C and X over 1990Q1-1991Q4 (observations 1..8), by hand:
  // b1 = 2 − 1.2/42, b0 = 9.05 − 4.5·b1; the errors at 1992Q1 and 1992Q2 are −3/140 and 71/140.
  struct Case {
    const char* name;
    int last;            ///< sample end
    const char* answer;  ///< the forecast period's end, typed
    int missing_y_from;  ///< Y missing from this observation on (0: none)
    int missing_x_at;    ///< X missing at this observation (0: none)
    bool lagged_y;       ///< Y(-1) among the regressors
    const char* seen;    ///< a message or page text, "" for none
    int rows;            ///< forecast rows on the page (-1: no page)
    int m;
  };
  const Case cases[] = {
      {"sample ends at the last observation", 12, "", 0, 0, false, "No observation is available for forecasting!", -1, 0},
      {"regressor missing at the third forecast observation", 8, "", 0, 11, false,
       "X is not defined at observation 1992Q3, can't forecast!", -1, 0},
      {"period past the data", 8, "", 11, 0, false, " Based on 2 observations from 1992Q1 to 1992Q2", 4, 2},
      {"one-period forecast", 8, "1992Q1", 0, 0, false, " Based on 1 observations from 1992Q1 to 1992Q1", 1, 1},
      {"dynamic past the data", 8, "", 11, 0, true, "Single Equation Dynamic Forecasts", 4, 2},
  };
  std::vector<std::vector<double>> fixture(4);
  for (int v = 1; v <= 4; ++v)
    for (int t = 1; t <= small::kObs; ++t) fixture[v - 1].push_back(core::data_at(t, v));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog_script::reset();
    dialog_script::load(std::string("string -> \"") + c.answer + "\"\nresults -> close\n");
    std::vector<std::vector<double>> columns = fixture;
    std::vector<double> lagged_y = {limits::kMissing};
    for (int t = 1; t < small::kObs; ++t) lagged_y.push_back(columns[2][static_cast<size_t>(t - 1)]);
    if (c.missing_y_from > 0)
      for (int t = c.missing_y_from; t <= small::kObs; ++t) columns[2][static_cast<size_t>(t - 1)] = limits::kMissing;
    for (int t = c.missing_y_from + 1; c.missing_y_from > 0 && t <= small::kObs; ++t)
      lagged_y[static_cast<size_t>(t - 1)] = limits::kMissing;
    if (c.missing_x_at > 0) columns[1][static_cast<size_t>(c.missing_x_at - 1)] = limits::kMissing;
    columns.push_back(lagged_y);
    install(columns, {"C", "X", "Y", "Z", "Y(-1)"});
    std::vector<int> equation = {small::kY, small::kC, small::kX};
    if (c.lagged_y) equation.push_back(5);
    estimate(equation, c.lagged_y ? 2 : 1, c.last);
    diagnostics::SINGLEFORECAST(false);

    if (c.seen[0] != '\0') {
      EXPECT_TRUE(transcript_has(c.seen)) << dialog_script::transcript_text();
    }
    const auto shown = pages();
    ASSERT_EQ(shown.size(), c.rows < 0 ? 0u : 1u);
    EXPECT_EQ(single::estimation().forecast_count, std::max(c.rows, 0));
    if (c.rows < 0) continue;
    int rows = 0;
    for (const auto& line : shown[0]) rows += line.starts_with("  199") ? 1 : 0;
    EXPECT_EQ(rows, c.rows);
    const auto f = diagnostics::forecast_equation(8 + c.rows);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->m, c.m);
    EXPECT_EQ(f->dynamic, c.lagged_y);
    if (c.m < c.rows) {
      // "*NONE*" for the actual value and the error; the prediction and its S.D. are shown.
      const auto last_row = fields(line_starting(shown[0], "  1992Q4"));
      ASSERT_EQ(last_row.size(), 5u);
      EXPECT_EQ(last_row[1], "*NONE*");
      EXPECT_NE(last_row[2], "*NONE*");
      EXPECT_EQ(last_row[3], "*NONE*");
      EXPECT_NE(last_row[4], "*NONE*");
    }
    if (c.name == std::string("period past the data")) {
      // Over m = 2: mean 17/70, mean absolute 37/140, mean square 5050/39200.
      EXPECT_NEAR(f->mean_error, 17.0 / 70.0, 1e-12);
      EXPECT_NEAR(f->mean_abs_error, 37.0 / 140.0, 1e-12);
      EXPECT_NEAR(f->mean_square_error, 5050.0 / 39200.0, 1e-12);
      EXPECT_NEAR(f->rmse, std::sqrt(5050.0 / 39200.0), 1e-12);
    }
  }
}

/// Makes `text` the current non-linear equation, estimated over the installed sample
/// with the parameter values `theta`: the state an estimate of method 14 leaves.
void take_nonlinear_estimate(const std::string& text, const std::vector<double>& theta) {
  std::vector<std::string> names;
  for (int v = 1; v <= core::globals().nvars; ++v) names.push_back(core::variable_name(v));
  single::NonLinearFormula formula;
  ASSERT_EQ(single::read_nonlinear_formula(text, names, formula), single::NonLinearFormulaStatus::kOk);
  ASSERT_EQ(formula.parameters.size(), theta.size());
  auto& s = single::estimation();
  s.method = single::method::kNls;
  s.eqvarlist = {formula.dependent};
  s.eqvarnames = {core::variable_name(formula.dependent)};
  s.eqvarnames.insert(s.eqvarnames.end(), formula.parameters.begin(), formula.parameters.end());
  s.nregs = static_cast<int>(theta.size());
  s.reglagtable.assign(theta.size(), single::RegressorLag{});
  for (size_t i = 0; i < theta.size(); ++i) single::coefficient(static_cast<int>(i) + 1) = theta[i];
  single::set_nonlinear_equation(text, std::move(formula));
}

TEST_F(SingleForecasts, NonLinearFormulaForecastsDynamically) {
  // X = 1, 4, 9, ..., 64; Y = A·X^B + 0.5·Y(−1) with A = 2, B = 0.5 over 1990Q2-1991Q1
  // (Y(1991Q1) = 10). By hand: 2·6 + 0.5·10 = 17, then 2·7 + 0.5·17 = 22.5, then
  // 2·8 + 0.5·22.5 = 27.25; against the actual 18, 22, 28 the errors are 1, −0.5, 0.75.
  install({{1, 4, 9, 16, 25, 36, 49, 64}, {3, 4, 6, 8, 10, 18, 22, 28}}, {"X", "Y"});
  estimate({2, 1}, 2, 5);
  take_nonlinear_estimate("Y = A*X^B + 0.5*Y(-1)", {2.0, 0.5});
  dialog_script::load("strict\nstring -> \"\"\nresults -> close\n");
  diagnostics::SINGLEFORECAST(false);
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();

  const auto f = diagnostics::forecast_equation(8);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->stop, diagnostics::ForecastStop::kNone);
  EXPECT_TRUE(f->dynamic);
  EXPECT_FALSE(f->std_errors);
  const double predictions[] = {17.0, 22.5, 27.25}, errors[] = {1.0, -0.5, 0.75};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(f->prediction[i], predictions[i], 1e-12) << i;
    EXPECT_NEAR(f->error[i], errors[i], 1e-12) << i;
  }
  EXPECT_EQ(f->m, 3);
  EXPECT_NEAR(f->mean_error, 1.25 / 3.0, 1e-12);
  EXPECT_EQ(single::estimation().forecast_count, 3);

  const auto shown = pages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(fields(shown[0][0]), fields("Single Equation Dynamic Forecasts"));
  EXPECT_EQ(trimmed(line_starting(shown[0], " Observation")),
            " Observation" + std::string(13, ' ') + "Actual" + std::string(13, ' ') + "Prediction" +
                std::string(13, ' ') + "Error");
  EXPECT_EQ(fields(line_starting(shown[0], "  1991Q3")), (std::vector<std::string>{"1991Q3", printed(22.0), printed(22.5), printed(-0.5)}));
  const auto drawn = plots();
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].title, "Plot of Actual and Single Equation Dynamic Forecast(s)");
}

TEST_F(SingleForecasts, NonLinearFailuresLeaveNoPage) {
  struct Case {
    const char* name;
    double x7;          ///< X at 1991Q3, the second forecast observation
    const char* seen;   ///< a message shown, "" for none
  };
  const Case cases[] = {
      // LOG(−1) at the second step: the forecast ends without a word, the menu comes back.
      {"formula fails mid-forecast", -1.0, ""},
      {"regressor missing", limits::kMissing, "X is not defined at observation 1991Q3, can't forecast!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog_script::reset();
    dialog_script::load("string -> \"\"\n");
    install({{1, 2, 3, 4, 5, 6, c.x7, 8}, {3, 4, 6, 8, 10, 18, 22, 28}}, {"X", "Y"});
    estimate({2, 1}, 2, 5);
    take_nonlinear_estimate("Y = A*LOG(X) + B*Y(-1)", {1.0, 0.5});
    diagnostics::SINGLEFORECAST(false);
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    if (c.seen[0] != '\0') {
      EXPECT_TRUE(transcript_has(c.seen)) << dialog_script::transcript_text();
    } else {
      EXPECT_FALSE(transcript_has("message")) << dialog_script::transcript_text();
    }
    EXPECT_TRUE(pages().empty());
    EXPECT_TRUE(plots().empty());
    EXPECT_EQ(single::estimation().forecast_count, 0);
  }
}

/// The state a GARCH(1,1)-M estimate of Y on C and X over 1990Q1-1992Q1 leaves: the
/// least-squares coefficients for the mean, then d, c, a, g; e(T) = 0.5 and every
/// conditional standard deviation 1.
void take_garch_estimate(double d, double c, double a, double g, std::vector<int> variance_variables = {},
                         double delta = 0.0) {
  auto& s = single::estimation();
  s.method = single::method::kGarch;
  s.garch = single::GarchFlags{};
  s.garch.p = 1;
  s.garch.q = 1;
  s.garch.ar_lags = {1};
  s.garch.ma_lags = {1};
  s.garch.in_mean = true;
  s.garch.variance_variables = std::move(variance_variables);
  s.garch.conditional_sd.assign(static_cast<size_t>(s.nused), 1.0);
  single::series_block(single::block::kResiduals)[static_cast<size_t>(s.nused - 1)] = 0.5;
  single::coefficient(3) = d;
  single::coefficient(4) = c;
  single::coefficient(5) = a;
  single::coefficient(6) = g;
  single::coefficient(7) = delta;
}

TEST_F(SingleForecasts, GarchInMeanForecastsByHand) {
  estimate({small::kY, small::kC, small::kX}, 1, 9);
  const double b0 = single::coefficient(1), b1 = single::coefficient(2);
  // c = 0.1, a = 0.2, g = 0.7 from e(T) = 0.5, h(T) = 1: h² = 0.85, 0.865, 0.8785 (each
  // step 0.1 + 0.9·h² once e² stands for the variance); the mean adds 0.4·h².
  take_garch_estimate(0.4, 0.1, 0.2, 0.7);
  const auto f = diagnostics::forecast_equation(12);
  ASSERT_TRUE(f.has_value());
  ASSERT_EQ(f->stop, diagnostics::ForecastStop::kNone);
  EXPECT_FALSE(f->dynamic);
  EXPECT_FALSE(f->std_errors);
  const double variances[] = {0.85, 0.865, 0.8785};
  ASSERT_EQ(f->conditional_sd.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const auto k = static_cast<size_t>(i);
    EXPECT_NEAR(f->conditional_sd[k], std::sqrt(variances[k]), 1e-13);
    EXPECT_NEAR(f->prediction[k], b0 + b1 * (10 + i) + 0.4 * variances[k], 1e-12);
  }
}

TEST_F(SingleForecasts, UndefinedConditionalVarianceShowsItsMessage) {
  struct Case {
    const char* name;
    double c;
    bool z_missing;  ///< the variance variable Z has no value at 1992Q3
  };
  const Case cases[] = {{"negative variance", -1.0, false}, {"variance variable missing", 0.1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog_script::reset();
    dialog_script::load("string -> \"\"\n");
    std::vector<std::vector<double>> columns(4);
    for (int v = 1; v <= 4; ++v)
      for (int t = 1; t <= small::kObs; ++t) columns[static_cast<size_t>(v - 1)].push_back(core::data_at(t, v));
    if (c.z_missing) columns[3][10] = limits::kMissing;
    install(columns, {"C", "X", "Y", "Z"});
    estimate({small::kY, small::kC, small::kX}, 1, 9);
    take_garch_estimate(0.4, c.c, 0.2, 0.7, {small::kZ}, 0.01);
    diagnostics::SINGLEFORECAST(false);
    EXPECT_TRUE(transcript_has("The conditional variance is not defined during the forecast period!"))
        << dialog_script::transcript_text();
    EXPECT_TRUE(pages().empty());
    EXPECT_TRUE(plots().empty());
    EXPECT_EQ(single::estimation().forecast_count, 0);
  }
}

TEST_F(SingleForecasts, PeriodOfferedEndsFifteenHundredObservationsAfterTheSample) {
  std::vector<std::vector<double>> columns(4);
  for (int t = 1; t <= 1700; ++t) {
    columns[0].push_back(1.0);
    columns[1].push_back(t);
    columns[2].push_back(1.0 + 2.0 * t + (t % 3) * 0.1);
    columns[3].push_back(t % 7);
  }
  install(columns, {"C", "X", "Y", "Z"});
  dialog_script::load("string -> cancel\n");
  estimate({small::kY, small::kC, small::kX}, 1, 100);
  diagnostics::SINGLEFORECAST(false);
  // Observation 1600 of a quarterly set from 1990Q1 is 2389Q4.
  EXPECT_TRUE(transcript_has("Initial observation in the forecast period is: 2015Q1 Final observation for the "
                             "forecast period (Max 2389Q4)?"))
      << dialog_script::transcript_text();
  EXPECT_TRUE(pages().empty());
}

TEST_F(SingleForecasts, ResidualCorrelogramAndSpectrumAgreeWithTheReference) {
  dialog_script::load("results -> close\nmenu 1002 -> 3 once\nmenu 1037 -> 4 once\nmenu 1037 -> 0\nmenu 1002 -> 0\n");
  qorv::testing::install_macro_data();
  estimate({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, 196);
  diagnostics::POSTREGRESSION();
  const auto expected = qorv::testing::single_extra_expected("RCORR_S");
  const auto drawn = plots();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].title, "Autocorrelation function of residuals, sample from 1960Q1 to 2008Q4");
  EXPECT_EQ(drawn[1].title,
            "Standardized Spectral Density of Residuals (Parzen Window)            , sample from 1960Q1 to 2008Q4");
  const auto& r = drawn[0].series.at(0).values;
  ASSERT_EQ(r.size(), 28u);
  for (int j = 1; j <= 28; ++j) expect_agrees(r[static_cast<size_t>(j - 1)], expected.at("R:" + std::to_string(j)), "r");
  const auto& density = drawn[1].series.at(0).values;
  ASSERT_EQ(density.size(), 29u);
  EXPECT_EQ(drawn[1].series.at(0).name, "Parzen");
  for (int i = 0; i <= 28; ++i)
    expect_agrees(density[static_cast<size_t>(i)], expected.at("PARZEN:" + std::to_string(i)), "Parzen");
  EXPECT_NEAR(drawn[1].series.at(1).values.back(), std::numbers::pi, 1e-15);
}

TEST(ResidualCorrelogram, WindowSizes) {
  const std::pair<int, int> sizes[] = {{100, 20}, {10, 6}, {2, 2}, {196, 28}};
  for (auto [n, m] : sizes) EXPECT_EQ(diagnostics::correlogram_window(n), m) << n;
  // n = 2, M = 2: c(2) has no products and is 0: r(1) = −1/2, r(2) = 0, and the density
  // (1 + 2·w(1)·r(1)·cos ω) with w(1) = 1 − 6/4 + 6/8 = 1/4 is 3/4, 1, 5/4.
  const std::vector<double> e = {1.0, -1.0};
  const auto c = diagnostics::residual_correlogram(e);
  ASSERT_EQ(c.r.size(), 2u);
  EXPECT_NEAR(c.r[0], -0.5, 1e-15);
  EXPECT_EQ(c.r[1], 0.0);
  ASSERT_EQ(c.parzen.size(), 3u);
  EXPECT_NEAR(c.parzen[0], 0.75, 1e-15);
  EXPECT_NEAR(c.parzen[1], 1.0, 1e-15);
  EXPECT_NEAR(c.parzen[2], 1.25, 1e-15);
}

}  // namespace
