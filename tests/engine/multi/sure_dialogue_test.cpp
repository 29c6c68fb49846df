#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "engine/multi/system_estimate.h"
#include "engine/road/system_services.h"
#include "engine/single/estimation_state.h"
#include "engine/single/result_report.h"
#include "tests/engine/multi/sure_reference.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

constexpr int kSingleMethod = 1;

bool transcript_has(const std::string& text) { return dialog_script::transcript_text().find(text) != std::string::npos; }

/// The line of `page` that starts with `start`; empty when there is none.
std::string line_starting(const std::vector<std::string>& page, const std::string& start) {
  const auto it = std::find_if(page.begin(), page.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
  return it == page.end() ? std::string() : *it;
}

/// The coefficient row of regressor `name`: the line that starts with it and holds a probability.
std::string coefficient_line(const std::vector<std::string>& page, const std::string& name) {
  const auto it = std::find_if(page.begin(), page.end(), [&](const std::string& l) {
    return l.rfind(" " + name + " ", 0) == 0 && l.find('[') != std::string::npos;
  });
  return it == page.end() ? std::string() : *it;
}

/// The number printed after `label` on `line` (the first word after it).
Printed after(const std::string& line, const std::string& label) {
  const auto at = line.find(label);
  if (at == std::string::npos) return {};
  const auto rest = words(line.substr(at + label.size()));
  if (rest.empty()) return {};
  std::string w = rest.front();
  if (const auto bracket = w.find('['); bracket != std::string::npos) w = w.substr(0, bracket);
  return parse_number(w);
}

/// The SURE dialogue on the Grunfeld data, through the dispatcher.
class SureDialogueTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_sure_workspace();
    single::estimation().method = kSingleMethod;
  }
  /// Runs the system choice `choice` on `script`; the result is whether SURE asked to run again.
  bool run(const std::string& script, int choice = multi::kSureChoice) {
    dialog_script::load(script);
    int c = choice;
    int order_word = 0;
    const bool again = multi::SYSTEMESTIMATE(c, 0, order_word, road::system_services());
    EXPECT_EQ(c, 0);
    EXPECT_EQ(single::estimation().method, kSingleMethod);
    return again;
  }
  static std::string system_script(const std::string& case_name) {
    return "text 3060 -> \"" + sure_case_text(case_name) + "\"\nstring \"estimation period\" -> \"1935 1954\"\n";
  }
};

/// The regressor names of equation `dep` of the case.
std::vector<std::string> regressors_of(const std::string& case_name, const std::string& dep) {
  const auto& d = sure_reference_data();
  for (const auto& eq : sure_case_layout(case_name).equations)
    if (d.names[static_cast<std::size_t>(eq[0] - 1)] == dep) {
      std::vector<std::string> names;
      for (std::size_t j = 1; j < eq.size(); ++j) names.push_back(d.names[static_cast<std::size_t>(eq[j] - 1)]);
      return names;
    }
  return {};
}

/// One equation's results page against the reference rows, at printed precision.
void expect_page_agrees(const std::string& case_name, const std::string& dep, const std::vector<std::string>& page) {
  const auto expected = sure_expected(case_name);
  ASSERT_FALSE(line_starting(page, " Dependent variable is " + dep).empty()) << dep;
  for (const std::string& reg : regressors_of(case_name, dep)) {
    const std::string key = dep + ":" + reg;
    const std::string row = coefficient_line(page, reg);
    ASSERT_FALSE(row.empty()) << key;
    const Printed coef = parse_number(columns(row, 25, 34));
    const Printed se = parse_number(columns(row, 35, 53));
    const Printed t = parse_number(columns(row, 54, 72));
    const Printed prob = parse_number(row.substr(row.find('[') + 1, row.find(']') - row.find('[') - 1));
    EXPECT_TRUE(shows(coef, expected.at("coef:" + key))) << case_name << " coef " << key;
    EXPECT_TRUE(shows(se, expected.at("se:" + key))) << case_name << " se " << key;
    EXPECT_TRUE(shows(t, expected.at("t:" + key))) << case_name << " t " << key;
    EXPECT_TRUE(shows(prob, expected.at("tprob:" + key))) << case_name << " tprob " << key;
  }
  const std::string r2 = line_starting(page, " R-Squared");
  const std::string se = line_starting(page, " S.E. of Regression");
  const std::string mean = line_starting(page, " Mean of Dependent Variable");
  const std::string rss = line_starting(page, " Residual Sum of Squares");
  const std::string dw = line_starting(page, " DW-statistic");
  const std::string criteria = line_starting(page, " System AIC");
  const std::vector<std::tuple<std::string, std::string, std::string>> printed = {
      {r2, "R-Squared", "R2:" + dep}, {r2, "R-Bar-Squared", "RBAR2:" + dep},
      {se, "S.E. of Regression", "SE_REG:" + dep}, {mean, "Mean of Dependent Variable", "MEAN_Y:" + dep},
      {mean, "S.D. of Dependent Variable", "SD_Y:" + dep}, {rss, "Residual Sum of Squares", "RSS:" + dep},
      {rss, "Equation Log-likelihood", "LL:" + dep}, {dw, "DW-statistic", "DW:" + dep},
      {dw, "System Log-likelihood", "SYSTEM_LL"}, {criteria, "System AIC", "SYSTEM_AIC"},
      {criteria, "System SBC", "SYSTEM_SBC"}};
  for (const auto& [line, label, key] : printed)
    EXPECT_TRUE(shows(after(line, label), expected.at(key))) << case_name << " " << key << " in '" << line << "'";
}

/// The estimation state the inspection of equation `dep` leaves, at the reference tolerances.
void expect_state_agrees(const std::string& case_name, const std::string& dep) {
  const auto expected = sure_expected(case_name);
  const auto& s = single::estimation();
  ASSERT_EQ(s.eqvarnames.front(), dep);
  for (int j = 1; j <= s.nregs; ++j) {
    const std::string key = dep + ":" + s.eqvarnames[static_cast<std::size_t>(j)];
    const double b = single::coefficient(j);
    const double v = std::sqrt(single::coefficient_variance(j, j));
    EXPECT_TRUE(agrees(b, expected.at("coef:" + key))) << case_name << " coef " << key << " " << b;
    EXPECT_TRUE(agrees(v, expected.at("se:" + key))) << case_name << " se " << key << " " << v;
    EXPECT_TRUE(agrees(b / v, expected.at("t:" + key))) << case_name << " t " << key;
  }
  const auto fit = single::FITSTATS(s.method, single::series_block(single::block::kResiduals), s.nregs, 0, s.depvar,
                                    limits::kMissing, false, 0);
  const std::vector<std::pair<std::string, double>> state = {
      {"R2", fit.r2}, {"RBAR2", fit.rbar2}, {"SE_REG", fit.sigma}, {"RSS", s.rss}, {"LL", s.loglik},
      {"DW", fit.dw}, {"MEAN_Y", s.depmean}, {"SD_Y", std::sqrt(s.depvar)}};
  for (const auto& [name, value] : state)
    EXPECT_TRUE(agrees(value, expected.at(name + ":" + dep))) << case_name << " " << name << " " << dep << " " << value;
  EXPECT_TRUE(agrees(s.system_loglik, expected.at("SYSTEM_LL")));
}

/// Script lines that inspect each equation of `dependents` in turn, then leave.
std::string inspect_all(const std::vector<std::string>& dependents) {
  std::string script = "menu 1043 -> 2 once\n";
  for (const std::string& dep : dependents) script += "menu \"Choose equation to inspect\" -> \"" + dep + "\" once\n";
  script += "menu \"Choose equation to inspect\" -> \"Quit\"\nmenu 1002 -> 0\nresults -> close\nmenu 1043 -> 0\n";
  return script;
}

// Each equation's page and state against the reference cases, S3 answering the
// iteration-limit menu once (it needs 58 iterations).
TEST_F(SureDialogueTest, EquationPagesAgreeWithTheReferenceCases) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"S2", {"I_GE", "I_WH"}}, {"S3", {"I_GM", "I_CH", "I_GE"}}};
  for (const auto& [case_name, dependents] : cases) {
    dialog_script::reset();
    std::string script = system_script(case_name) + "menu \"No convergence after\" -> 2 once\n" + inspect_all(dependents);
    EXPECT_FALSE(run(script)) << case_name;
    const auto pages = dialog_script::pages();
    ASSERT_EQ(pages.size(), dependents.size()) << case_name;
    // The state holds the last equation inspected; each page is checked against the reference.
    for (std::size_t i = 0; i < dependents.size(); ++i) expect_page_agrees(case_name, dependents[i], pages[i]);
    expect_state_agrees(case_name, dependents.back());
    EXPECT_EQ(transcript_has("No convergence after 40 iterations"), case_name == "S3") << case_name;
  }
}

// The restricted cases through choice 4 of the dispatcher: the system, then its
// restriction; A2=B2 spans the equations, A2=A3 binds GE alone.
TEST_F(SureDialogueTest, RestrictedEquationPagesAgreeWithTheReferenceCases) {
  for (const std::string case_name : {"R2X", "R2W"}) {
    dialog_script::reset();
    const std::string script = "text 3006 -> \"" + sure_case_text(case_name) + "\" once\ntext -> \"" +
                               sure_case_restrictions(case_name) +
                               "\"\nstring \"estimation period\" -> \"1935 1954\"\n" + inspect_all({"I_GE", "I_WH"});
    EXPECT_FALSE(run(script, multi::kRestrictedSureChoice)) << case_name;
    const auto pages = dialog_script::pages();
    ASSERT_EQ(pages.size(), 2u) << case_name;
    EXPECT_FALSE(line_starting(pages[0], "                  Restricted Seemingly Unrelated Regressions").empty()) << pages[0][0];
    expect_page_agrees(case_name, "I_GE", pages[0]);
    expect_page_agrees(case_name, "I_WH", pages[1]);
    expect_state_agrees(case_name, "I_WH");
  }
}

// The restriction editor: a blank text asks again with the reminder, leaving it goes back
// to the dispatcher unestimated; collinear restrictions are refused.
TEST_F(SureDialogueTest, RestrictionTextsThatEstimateNothing) {
  const std::string system = "text 3006 -> \"" + sure_case_text("S2") + "\" once\n";
  EXPECT_FALSE(run(system + "text -> \" \" once\ntext -> cancel\n", multi::kRestrictedSureChoice));
  EXPECT_TRUE(transcript_has("message information 0 Please specify restriction(s) on the SURE model or press Esc to quit!"));
  EXPECT_FALSE(transcript_has("estimation period"));
  dialog_script::reset();
  EXPECT_FALSE(run(system + "text -> \"A2=B2; 2*A2=2*B2\"\n", multi::kRestrictedSureChoice));
  // The partition of the parameters refuses them before any sample is asked.
  EXPECT_TRUE(transcript_has("message information 0 Restrictions are collinear!"));
  EXPECT_FALSE(transcript_has("Multicollinear"));
  EXPECT_FALSE(transcript_has("estimation period"));
  EXPECT_FALSE(transcript_has("SURE Post Estimation Menu"));
}

// A system that needs more than 40 iterations (a coefficient fixed far from its estimate)
// asks with the busy notice down; abandoning estimates nothing.
TEST_F(SureDialogueTest, IterationLimitAskedWithoutTheBusyNotice) {
  EXPECT_FALSE(run("text 3006 -> \"I_GE INPT F_GE C_GE; I_WH INPT F_WH C_WH; I_GM INPT F_GM C_GM\"\n"
                   "text -> \"A3=1\"\nstring \"estimation period\" -> \"1935 1954\"\n"
                   "menu \"No convergence after 40 iterations\" -> 2\n"
                   "menu \"No convergence after 60 iterations\" -> 0\n",
                   multi::kRestrictedSureChoice));
  const std::string transcript = dialog_script::transcript_text();
  for (const char* limit : {"40", "60"}) {
    const auto at = transcript.find(std::string("menu 0 No convergence after ") + limit + " iterations");
    ASSERT_NE(at, std::string::npos) << limit;
    EXPECT_EQ(transcript.rfind("busy ", at), transcript.rfind("busy end", at)) << limit;
  }
  EXPECT_FALSE(transcript_has("SURE Post Estimation Menu"));
}

// A lagged variable of the system narrows the sample to the observations it has and is
// gone again when the user leaves the system; after the last observation nothing can be
// forecast.
TEST_F(SureDialogueTest, LaggedVariablesLastOnlyForTheSystem) {
  EXPECT_FALSE(run("text 3060 -> \"I_GE INPT F_GE I_GE(-1); I_WH INPT F_WH C_WH\"\n"
                   "string \"estimation period\" -> \"1935 1954\"\nmenu 1043 -> 6 once\n" +
                   inspect_all({"I_GE"})));
  EXPECT_TRUE(transcript_has("No observation is available for forecasting!"));
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_FALSE(line_starting(pages[0], " 19 observations used for estimation from 1936 to 1954").empty());
  EXPECT_EQ(core::globals().nvars, 13);
}

/// An undated workspace of `nobs` observations: Y1..Y<dependents>, then
/// X1..X<regressors>, each a different pseudo-random series.
void install_limit_workspace(int nobs, int regressors, int dependents = 2) {
  auto& g = core::globals();
  g.nobs = nobs;
  g.frequency = 1;
  g.periods_per_year = 1;
  g.start_year = 1;
  g.start_period = 1;
  g.max_vars = limits::max_vars_for(nobs);
  g.nvars = regressors + dependents;
  unsigned state = 12345u;
  for (int j = 1; j <= g.nvars; ++j) {
    core::set_variable(j, j <= dependents ? "Y" + std::to_string(j) : "X" + std::to_string(j - dependents), "");
    for (int t = 1; t <= nobs; ++t) {
      state = state * 1103515245u + 12345u;
      core::data_at(t, j) = static_cast<double>((state >> 8) % 10000) / 100.0;
    }
  }
  g.sample_start = 1;
  g.sample_end = nobs;
}

std::string regressor_list(int first, int last) {
  std::string text;
  for (int j = first; j <= last; ++j) text += " X" + std::to_string(j);
  return text;
}

// The limits, each at its edge: the coefficients of the system (200), the regressors of
// one equation (102), the observations (3000) and the observations the equations need
// (more than m plus the largest k_i).
TEST_F(SureDialogueTest, LimitsAtTheirEdges) {
  const std::string parameters_box =
      "message error 0  You have too many parameters in the SURE model. A maximum of 200 parameters can be estimated.";
  const std::string observations_box =
      "message error 0 You have included too many observations.  A maximum of 3000 observations can be included.";
  const std::string too_few = "Too few observations in the sample period for this model.";
  // The list reader of the specification screen refuses an equation of 103 regressors
  // before the system is counted, and the screen comes back.
  const std::string list_limit = "message information 0 Too many variables. A max. of 102 allowed!";
  const std::string gap = "The sample contains missing values: choose a sample period without gaps.";
  // The equations are named by the letters A to Z in tests and restrictions.
  const std::string too_many_equations = "message information 0 Too many equations!";
  const auto equations = [](int m) {
    std::string text;
    for (int i = 1; i <= m; ++i) text += (i > 1 ? "; Y" : "Y") + std::to_string(i) + " X1";
    return text;
  };
  struct Case {
    int nobs;
    int regressors;
    std::string system;
    std::string sample;
    std::string message;  // empty: accepted, menu 1043 reached
    int dependents = 2;
    int missing_at = 0;   // an observation where X2 has no value
  };
  const std::vector<Case> cases = {
      {300, 101, "Y1" + regressor_list(1, 100) + "; Y2" + regressor_list(1, 100), "1 300", ""},
      {300, 101, "Y1" + regressor_list(1, 100) + "; Y2" + regressor_list(1, 101), "1 300", parameters_box},
      {300, 103, "Y1" + regressor_list(1, 103) + "; Y2 X1", "1 300", list_limit},
      {300, 103, "Y1" + regressor_list(1, 102) + "; Y2 X1", "1 300", ""},
      {3001, 2, "Y1 X1 X2; Y2 X1", "1 3000", ""},
      {3001, 2, "Y1 X1 X2; Y2 X1", "1 3001", observations_box},
      {3001, 2, "Y1 X1 X2; Y2 X1", "1 4", too_few},
      {3001, 2, "Y1 X1 X2; Y2 X1", "1 5", ""},
      {300, 2, "Y1 X1 X2; Y2 X1", "1 10", gap, 2, 5},
      {300, 2, "Y1 X1 X2; Y2 X1", "1 10", "", 2, 1},  // a missing first value narrows the sample
      {300, 1, equations(26), "1 300", "", 27},
      {300, 1, equations(27), "1 300", too_many_equations, 27},
  };
  for (const Case& c : cases) {
    dialog_script::reset();
    install_limit_workspace(c.nobs, c.regressors, c.dependents);
    if (c.missing_at > 0) core::data_at(c.missing_at, c.dependents + 2) = limits::kMissing;
    EXPECT_FALSE(run("text 3060 -> \"" + c.system + "\" once\ntext 3060 -> cancel\nstring \"estimation period\" -> \"" + c.sample +
                     "\"\nmenu 1043 -> 0\n"))
        << c.system.substr(0, 40) << " " << c.sample;
    const bool reached = transcript_has("SURE Post Estimation Menu");
    EXPECT_EQ(reached, c.message.empty()) << c.system.substr(0, 40) << " " << c.sample;
    if (!c.message.empty()) {
      EXPECT_TRUE(transcript_has(c.message)) << c.message;
    }
    // A system refused for its coefficients never asks its sample.
    if (c.message == parameters_box || c.message == list_limit || c.message == too_many_equations) {
      EXPECT_FALSE(transcript_has("estimation period"));
    }
    dialog_script::take_failures();  // the unused sample or menu rules of a refused system
  }
}

}  // namespace
}  // namespace qorv::testing
