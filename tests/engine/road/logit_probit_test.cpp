// The logit and probit road driven by scripted answers: the pages against the reference
// values at their printed precision, the refusals, and every option of its two menus.
#include "engine/road/logit_probit.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/road/estimation_options.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/single/logit_fixture.h"
#include "tests/engine/single/page_reading.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::single {
namespace {

using qorv::testing::columns;
using qorv::testing::Expected;
using qorv::testing::parse_number;
using qorv::testing::shows;
using qorv::testing::trim;

class LogitProbit : public qorv::testing::EngineTest {
 protected:
  /// Installs the case's data, sample and equation.
  static void install(const qorv::testing::LogitCase& c) {
    qorv::testing::install_logit_data(c.data);
    auto& g = core::globals();
    g.sample_start = c.sample_start;
    g.sample_end = c.sample_end;
    core::driver_state().equation = qorv::testing::logit_equation(c);
  }

  /// Runs the options dialogue of choice 7 with `script`; returns whether it asked for the
  /// Backtracking Menu.
  static bool run(const std::string& script) {
    dialog_script::load(script);
    int next = 0, window = 0;
    bool backtracking = false, repeat = false;
    road::SINGLEEQOPTIONS(next, core::kLogitProbit, window, 0, backtracking, repeat);
    return backtracking;
  }

  static bool holds(const std::string& text) { return dialog_script::transcript_text().find(text) != std::string::npos; }

  static qorv::testing::LogitCase find_case(const std::string& name) {
    for (const auto& c : qorv::testing::logit_cases())
      if (c.name == name) return c;
    throw std::runtime_error("no case " + name);
  }
};

/// The value printed at columns first..last of the first line holding `label`.
qorv::testing::Printed printed(const std::vector<std::string>& page, const std::string& label, int first, int last) {
  const size_t i = qorv::testing::find_line(page, label);
  EXPECT_LT(i, page.size()) << label;
  return i < page.size() ? parse_number(columns(page[i], first, last)) : qorv::testing::Printed{};
}

/// The "[p]" printed right after column `after` of the line holding `label`.
qorv::testing::Printed printed_prob(const std::vector<std::string>& page, const std::string& label, int after) {
  const size_t i = qorv::testing::find_line(page, label);
  if (i >= page.size()) return {};
  const std::string& line = page[i];
  const auto open = line.find('[', static_cast<size_t>(after - 1));
  const auto close = line.find(']', open);
  return open == std::string::npos ? qorv::testing::Printed{} : parse_number(line.substr(open + 1, close - open - 1));
}

// Every reference row that a page prints, read off the pages as a user reads them.
TEST_F(LogitProbit, PagesShowTheReferenceValues) {
  for (const auto& c : qorv::testing::logit_cases()) {
    SCOPED_TRACE(c.name);
    dialog_script::reset();
    install(c);
    const auto expected = qorv::testing::logit_expected(c.name);
    std::string script = std::string("menu 1027 -> ") + (c.probit ? "2" : "1") + " once\nmenu 1029 -> 2 once\n";
    if (c.forecast_start > 0) script += "menu 1029 -> 7 once\nstring -> \"\"\n";
    script += "menu 1029 -> 0\nmenu 1027 -> 0\nresults -> close\n";
    run(script);
    const auto pages = qorv::testing::shown_pages();
    ASSERT_EQ(pages.size(), c.forecast_start > 0 ? 3u : 2u);
    const auto& page = pages[0];
    EXPECT_LT(qorv::testing::find_line(page, c.probit ? "Probit Maximum Likelihood Estimation"
                                                      : "Logit Maximum Likelihood Estimation"),
              page.size());
    // The coefficient table.
    size_t row = qorv::testing::find_line(page, " Regressor") + 1;
    for (const auto& name : c.regressors) {
      ASSERT_LT(row, page.size());
      const std::string& line = page[row++];
      EXPECT_EQ(trim(columns(line, 2, 24)), name);
      EXPECT_TRUE(shows(parse_number(columns(line, 26, 34)), expected.at("coef:" + name))) << line;
      EXPECT_TRUE(shows(parse_number(columns(line, 45, 53)), expected.at("se:" + name))) << line;
      EXPECT_TRUE(shows(parse_number(columns(line, 64, 72)), expected.at("t:" + name))) << line;
      EXPECT_TRUE(shows(parse_number(columns(line, 74, 77)), expected.at("tprob:" + name))) << line;
    }
    const std::string dep = c.dependent;
    const std::map<std::string, std::string> lines = {
        {"FACTOR", " Factor for the calculation of marginal effects"},
        {"LL", " Maximized value of the log-likelihood function"},
        {"AIC", " Akaike Information Criterion"},
        {"SBC", " Schwarz Bayesian Criterion"},
        {"HQC", " Hannan-Quinn Criterion"},
        {"MEAN_Y", " Mean of " + dep},
        {"MEAN_FITTED", " Mean of fitted " + dep},
        {"GOF", " Goodness of fit"},
        {"DA", " Directional-accuracy test statistic"},
        {"PSEUDO_R2", " Pseudo-R-Squared"}};
    for (const auto& [quantity, label] : lines)
      EXPECT_TRUE(shows(printed(page, label, 52, 60), expected.at(quantity))) << quantity;
    EXPECT_TRUE(shows(printed_prob(page, " Directional-accuracy test statistic", 61), expected.at("DA_PROB")));

    // The fit table: one row per observation.
    const auto& listing = pages[1];
    EXPECT_LT(qorv::testing::find_line(listing, " regression of " + c.dependent + " on:"), listing.size());
    size_t at = qorv::testing::find_line(listing, " Observation") + 1;
    for (int t = c.sample_start; t <= c.sample_end; ++t, ++at) {
      ASSERT_LT(at, listing.size());
      const std::string obs = std::to_string(t);
      EXPECT_EQ(trim(columns(listing[at], 2, 8)), obs);
      EXPECT_TRUE(shows(parse_number(columns(listing[at], 34, 42)), expected.at("FITTED:" + obs))) << listing[at];
      EXPECT_TRUE(shows(parse_number(columns(listing[at], 56, 64)), expected.at("PROB:" + obs))) << listing[at];
    }
    if (c.forecast_start == 0) continue;
    // The forecast table and its summary lines in the forecast column.
    const auto& ahead = pages[2];
    at = qorv::testing::find_line(ahead, "Predicted Probability") + 1;
    for (int t = c.forecast_start; t <= c.forecast_end; ++t, ++at) {
      ASSERT_LT(at, ahead.size());
      const std::string obs = std::to_string(t);
      EXPECT_EQ(trim(columns(ahead[at], 2, 8)), obs);
      EXPECT_TRUE(shows(parse_number(columns(ahead[at], 34, 42)), expected.at("FC_PRED:" + obs))) << ahead[at];
      EXPECT_TRUE(shows(parse_number(columns(ahead[at], 56, 64)), expected.at("FC_PROB:" + obs))) << ahead[at];
    }
    EXPECT_LT(qorv::testing::find_line(ahead, "Summary Statistics for Residuals and Prediction Errors"), ahead.size());
    EXPECT_LT(qorv::testing::find_line(ahead, "1 to 24"), ahead.size());
    EXPECT_TRUE(shows(printed(ahead, " Mean of " + dep, 62, 70), expected.at("FC_MEAN_Y")));
    EXPECT_TRUE(shows(printed(ahead, " Mean of predicted " + dep, 62, 70), expected.at("FC_MEAN_PRED")));
    EXPECT_TRUE(shows(printed(ahead, " Goodness of fit", 62, 70), expected.at("FC_GOF")));
    EXPECT_TRUE(shows(printed(ahead, " Directional-accuracy test statistic", 62, 70), expected.at("FC_DA")));
    EXPECT_TRUE(shows(printed_prob(ahead, " Directional-accuracy test statistic", 71), expected.at("FC_DA_PROB")));
    EXPECT_TRUE(shows(printed(ahead, " Goodness of fit", 42, 50), expected.at("GOF")));
  }
}

// Every option of both menus and back, the state left as the estimate made it.
TEST_F(LogitProbit, EveryOptionOfBothMenus) {
  install(find_case("MT_LOGIT_F"));
  core::set_slot(slots::kShowPlotsNow, slots::kTrue);
  const bool backtracking = run(
      "strict\n"
      "menu 1027 -> 2\nresults -> close\n"
      "menu 1029 -> 1\nresults -> close\n"
      "menu 1029 -> 2\nresults -> close\n"
      "menu 1029 -> 3\ngraph -> close\n"
      "menu 1029 -> 7\nstring -> \"30\"\nresults -> close\n"
      "menu 1029 -> 4\nstring -> \"PAM\"\n"
      "menu 1029 -> 0\n"
      "menu 1027 -> 1\nresults -> close\n"
      "menu 1029 -> 5\ntext -> \"A2=0\"\nresults -> close\n"
      "menu 1029 -> 6\ntext -> \"F1=A2\"\nresults -> close\nresults -> close\nmenu 1029 -> 0\n"
      "menu 1027 -> 0\n");
  EXPECT_TRUE(backtracking);
  EXPECT_TRUE(holds("graph 0 plot1.$$$ Plot of Actual Values and Fitted Proababilities -> close"))
      << dialog_script::transcript_text();
  EXPECT_TRUE(holds("Post Estimation Menu (Probit Model)"));
  EXPECT_TRUE(holds("Post Estimation Menu (Logit Model)"));
  // Logit, A2 = 0 on the absolute matrix: the squared t-ratio of WT.
  const double t = qorv::testing::reference_expected("logit-probit", "MT_LOGIT_F").at("t:WT").value;
  int wald_lines = 0;
  for (const auto& page : dialog_script::pages())
    for (const auto& line : page)
      if (line.find(" Wald Statistic") == 0) {
        ++wald_lines;
        EXPECT_EQ(line.substr(35, 11), "CHSQ(   1)=") << line;
        EXPECT_TRUE(shows(parse_number(line.substr(46, 9)), {t * t, 1e-9, true})) << line;
      }
  EXPECT_EQ(wald_lines, 1);
  EXPECT_TRUE(holds(" F1 "));
  // The saved series: 24 probabilities and 6 forecasts, missing after them.
  const int v = core::find_variable("PAM");
  ASSERT_GT(v, 0);
  EXPECT_GT(core::data_at(30, v), 0.0);
  EXPECT_LT(core::data_at(30, v), 1.0);
  EXPECT_EQ(core::data_at(31, v), limits::kMissing);
  const auto& s = estimation();
  EXPECT_EQ(s.method, method::kLogit);
  EXPECT_EQ(s.status, status::kEstimated);
}

// An intercept alone predicts the more frequent value everywhere: the "are all" line,
// and no directional-accuracy statistic.
TEST_F(LogitProbit, AllPredictedValuesTheSame) {
  install(find_case("IN_LOGIT"));
  core::driver_state().equation = {core::find_variable("CASE"), core::find_variable("INPT")};
  run("menu 1027 -> 1 once\nresults -> close\nmenu 1029 -> 0\nmenu 1027 -> 0\n");
  const auto page = qorv::testing::last_page();
  EXPECT_LT(qorv::testing::find_line(page, " Predicted values of CASE are all 0"), page.size());
  const size_t da = qorv::testing::find_line(page, " Directional-accuracy test statistic");
  ASSERT_LT(da, page.size());
  EXPECT_EQ(trim(columns(page[da], 52, 79)), "*NONE*");
}

TEST_F(LogitProbit, RefusalsEstimateNothing) {
  const auto mt = find_case("MT_LOGIT");
  // A 2 in the dependent variable: refused before the menu.
  install(mt);
  core::data_at(5, core::find_variable("AM")) = 2.0;
  run("");
  EXPECT_TRUE(holds("message error 0 Dependent variable contains number(s) other than zeroes or ones!"));
  EXPECT_FALSE(holds("menu 2027"));

  // Perfectly separated: AM = 1 exactly when WT < 3.2.
  dialog_script::reset();
  install(mt);
  const int am = core::find_variable("AM"), wt = core::find_variable("WT"), hp = core::find_variable("HP");
  for (int t = 1; t <= 32; ++t) core::data_at(t, am) = core::data_at(t, wt) < 3.2 ? 1.0 : 0.0;
  run("menu 1027 -> 1 once\nmenu \"No convergence\" -> 2\nmenu 1027 -> 0\n");
  EXPECT_TRUE(holds("message error 0 The likelihood function is not defined!")) << dialog_script::transcript_text();
  EXPECT_FALSE(holds("results"));
  EXPECT_EQ(estimation().status, status::kFailed);

  // A regressor that is a multiple of another: the information matrix is singular.
  dialog_script::reset();
  install(mt);
  for (int t = 1; t <= 32; ++t) core::data_at(t, hp) = 100.0 * core::data_at(t, wt);
  run("menu 1027 -> 2 once\nmenu 1027 -> 0\n");
  EXPECT_TRUE(holds("message information 0  Non-singular variance-covariance matrix!"));
  EXPECT_FALSE(holds("results"));

  // A regressor missing in the forecast period: the forecast stops with its name.
  dialog_script::reset();
  install(find_case("MT_LOGIT_F"));
  core::data_at(27, hp) = limits::kMissing;
  run("menu 1027 -> 1 once\nresults -> close\nmenu 1029 -> 7 once\nstring -> \"\"\nmenu 1029 -> 0\nmenu 1027 -> 0\n");
  EXPECT_TRUE(holds("HP is not defined at observation 27, can't forecast!")) << dialog_script::transcript_text();
  EXPECT_EQ(qorv::testing::shown_pages().size(), 1u);
}

}  // namespace
}  // namespace qorv::single
