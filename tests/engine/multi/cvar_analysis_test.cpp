// The dynamic analyses, the error covariance matrix, the error-correction equations and
// the forecasts of the cointegrating VAR, reached through its menus over the reference
// cases and read off the results pages at their printed precision.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/multi/ecm_equations.h"
#include "engine/multi/cvar_impulse.h"
#include "engine/multi/ecm_results.h"
#include "shared/exchange_slots.h"
#include "tests/engine/multi/coint_reference.h"
#include "tests/engine/multi/cvar_reference.h"
#include "tests/engine/single/macro_reference.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace qorv::testing {
namespace {

using dialog_script::page_has;

using Page = std::vector<std::string>;

class CvarAnalysisTest : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    install_cvar_workspace();
  }
};

bool transcript_has(const std::string& text) { return dialog_script::transcript_text().find(text) != std::string::npos; }

/// The chosen r of a case.
int chosen_r(const std::string& name) {
  const auto expected = read_expected(cvar_expected_path(), name);
  int r = 0;
  for (const auto& [quantity, value] : expected)
    if (quantity.rfind("PROFILE:CV", 0) == 0) r = std::max(r, std::stoi(quantity.substr(10)));
  return r;
}

/// The script that estimates case `c` and chooses its r.
std::string estimation_script(const CvarCase& c, int r) {
  return "menu 1025 -> " + std::to_string(c.model_case) + "\ninteger \"Order of the VAR\" -> " + std::to_string(c.p) +
         "\nresults -> close\nmenu 1026 -> 2 once\ninteger \"Number of cointegrating\" -> " + std::to_string(r) + "\n";
}

void expect_shows(const std::map<std::string, Expected>& expected, const std::string& quantity, const std::string& text,
                  double sign = 1.0) {
  const auto it = expected.find(quantity);
  ASSERT_NE(it, expected.end()) << quantity;
  Printed printed = parse_number(text);
  printed.value *= sign;
  EXPECT_TRUE(shows(printed, it->second)) << quantity << " printed " << text;
}

/// The signs that turn the raw vectors of a case into the reference's (first element
/// positive): the raw vectors' signs are arbitrary.
std::vector<double> vector_signs(const std::string& name) {
  const CointCase c = reference_case(name);
  multi::JohansenFit fit;
  EXPECT_EQ(multi::johansen_estimate(c.data, multi::kJohansenTolerance, fit), multi::JohansenFailure::kNone);
  std::vector<double> signs;
  for (int i = 0; i < fit.k; ++i) signs.push_back(fit.beta[static_cast<std::size_t>(i * fit.k)] < 0 ? -1.0 : 1.0);
  return signs;
}

/// The rows of the table of a response page: the labels of " Horizon", then per horizon
/// the printed values.
struct Table {
  std::vector<std::string> labels;
  std::vector<std::vector<std::string>> rows;
};

Table response_table(const Page& page) {
  Table t;
  auto line = std::find_if(page.begin(), page.end(), [](const std::string& l) { return l.rfind(" Horizon", 0) == 0; });
  if (line == page.end()) return t;
  const std::vector<std::string> head = words(*line);
  t.labels.assign(head.begin() + 1, head.end());
  for (++line; line != page.end() && line->rfind("****", 0) != 0; ++line) t.rows.push_back(words(*line));
  return t;
}

// Every analysis of menu 1020 and the covariance listing of menu 1026 for three cases: two
// vectors, a restricted trend, an I(0) variable.
TEST_F(CvarAnalysisTest, AnalysesAgreeWithTheReferenceAtPrintedPrecision) {
  for (const char* name : {"C3", "C4", "C3D"}) {
    SCOPED_TRACE(name);
    dialog_script::reset();
    const CvarCase c = cvar_case(name);
    const int r = chosen_r(name);
    run_cvar(c.list, c.split,
             estimation_script(c, r) +
                 "menu 1026 -> 4 once\nmenu 1026 -> 6 once\nmenu 1030 -> 5 once\n"
                 "menu 1020 -> 1 once\nmenu 1041 -> 1 once\nmenu \"shocked\" -> \"LC\" once\n"
                 "menu 1020 -> 1 once\nmenu 1041 -> 2 once\nmenu \"shocked\" -> \"LY\" once\n"
                 "menu 1020 -> 2 once\nmenu 1040 -> 1 once\nmenu \"Choose the variable\" -> \"LI\" once\n"
                 "menu 1020 -> 2 once\nmenu 1040 -> 2 once\nmenu \"Choose the variable\" -> \"LC\" once\n"
                 "menu 1020 -> 3 once\nmenu 1041 -> 1 once\nmenu \"shocked\" -> \"LY\" once\n"
                 "menu 1020 -> 3 once\nmenu 1041 -> 2 once\nmenu \"shocked\" -> \"LI\" once\n"
                 "menu 1020 -> 4 once\n"
                 "integer \"Specify\" -> 12\nmenu 1024 -> 0\n"
                 "menu 1020 -> 0\nyesno -> no\nmenu 1030 -> 0\nmenu 1026 -> 0\n");
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    const auto pages = dialog_script::pages();
    ASSERT_EQ(pages.size(), 9u);
    const auto expected = read_expected(cvar_expected_path(), name, {"definite", "favoured"});
    const std::vector<double> signs = vector_signs(name);

    // The system covariance matrix of errors: E'E/(n − k) of the error-correction equations.
    const Page& sigma = pages[1];
    EXPECT_TRUE(page_has(sigma, "Estimated System Covariance Matrix of Errors"));
    int sigma_rows = 0;
    for (const std::string& line : sigma) {
      const std::vector<std::string> w = words(line);
      if (w.size() != 4 || std::find(c.endogenous.begin(), c.endogenous.end(), w[0]) == c.endogenous.end()) continue;
      ++sigma_rows;
      for (std::size_t j = 0; j < 3; ++j) expect_shows(expected, "SIGMA:" + w[0] + ":" + c.endogenous[j], w[j + 1]);
    }
    EXPECT_EQ(sigma_rows, 3);

    // The response pages, in the order of the script: quantity, the chosen name, whether
    // the chosen name comes first in the quantity.
    struct Analysis {
      std::string quantity, chosen, title;
    };
    const Analysis analyses[] = {
        {"OIR", "LC", "Orthogonalized Impulse Response(s) to one S.E. shock in the equation for LC"},
        {"GIR", "LY", "Generalized Impulse Response(s) to one S.E. shock in the equation for LY"},
        {"OFEVD", "LI", "Orthogonalized Forecast Error Variance Decomposition for variable LI"},
        {"GFEVD", "LC", "Generalized Forecast Error Variance Decomposition for variable LC"},
        {"OCV", "LY", "Orthogonalized Impulse Response(s) to one S.E. shock in the equation for LY"},
        {"GCV", "LI", "Generalized Impulse Response(s) to one S.E. shock in the equation for LI"},
        {"PROFILE", "", "Persistence Profile of the effect of a system-wide shock to CV'(s)"},
    };
    for (std::size_t a = 0; a < std::size(analyses); ++a) {
      SCOPED_TRACE(analyses[a].quantity);
      const Page& page = pages[a + 2];
      EXPECT_TRUE(page_has(page, analyses[a].title));
      const Table t = response_table(page);
      ASSERT_EQ(t.rows.size(), 13u);
      for (const auto& row : t.rows) {
        ASSERT_EQ(row.size(), t.labels.size() + 1);
        for (std::size_t j = 0; j < t.labels.size(); ++j) {
          const std::string prefix = analyses[a].quantity + ":";
          const std::string key = analyses[a].quantity == "PROFILE"
                                      ? prefix + t.labels[j] + ":" + row[0]
                                      : prefix + analyses[a].chosen + ":" + t.labels[j] + ":" + row[0];
          const bool relation = analyses[a].quantity == "OCV" || analyses[a].quantity == "GCV";
          expect_shows(expected, key, row[j + 1], relation ? signs[j] : 1.0);
        }
      }
    }
  }
}

// With an exogenous I(1) variable the analyses of the variables and relations are refused;
// the covariance matrix of the error-correction equations is still listed (C3E's Σ).
TEST_F(CvarAnalysisTest, ExogenousI1VariablesLeaveOnlyTheCovarianceMatrix) {
  const CvarCase c = cvar_case("C3E");
  run_cvar(c.list, c.split,
           estimation_script(c, 1) +
               "menu 1026 -> 6 once\nmenu 1030 -> 5 once\n"
               "menu 1020 -> 1 once\nmenu 1020 -> 2 once\nmenu 1020 -> 3 once\nmenu 1020 -> 4 once\nmenu 1020 -> 8 once\n"
               "menu 1020 -> 0\nyesno -> no\nmenu 1030 -> 0\nmenu 1026 -> 0\n");
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  const std::string t = dialog_script::transcript_text();
  std::size_t refusals = 0;
  for (std::size_t at = t.find("This option is not available when I(1) exogenous variables are present!");
       at != std::string::npos; at = t.find("This option is not available when I(1) exogenous variables are present!", at + 1))
    ++refusals;
  EXPECT_EQ(refusals, 4u);
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 2u);
  const auto expected = read_expected(cvar_expected_path(), "C3E", {"definite", "favoured"});
  int rows = 0;
  for (const std::string& line : pages[1]) {
    const std::vector<std::string> w = words(line);
    if (w.size() != 3 || (w[0] != "LC" && w[0] != "LI")) continue;
    ++rows;
    expect_shows(expected, "SIGMA:" + w[0] + ":LC", w[1]);
    expect_shows(expected, "SIGMA:" + w[0] + ":LI", w[2]);
  }
  EXPECT_EQ(rows, 2);
}

// Vectors of a restricted estimation reach the analyses: the exactly identifying
// normalisation A1 = 1 rescales the vector, and the persistence profile, which no scale
// changes, is the reference's.
TEST_F(CvarAnalysisTest, RestrictedVectorsReachTheProfiles) {
  const CvarCase c = cvar_case("C5");
  run_cvar(c.list, c.split,
           estimation_script(c, 1) +
               "menu 1026 -> 6 once\nmenu 1030 -> 4 once\ntext -> \"A1=1\"\nresults -> close\n"
               "menu 1020 -> 4 once\ninteger \"profile length\" -> 12\nmenu 1024 -> 0\n"
               "menu 1020 -> 0\nmenu 1030 -> 0\nmenu 1026 -> 0\n");
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  EXPECT_TRUE(transcript_has("IR Analysis and Forecasting Menu (Restricted CV's)"));
  const auto pages = dialog_script::pages();
  ASSERT_FALSE(pages.empty());
  EXPECT_TRUE(page_has(pages.back(), " List of imposed restrictions:"));
  EXPECT_TRUE(page_has(pages.back(), "A1=1"));
  const Table t = response_table(pages.back());
  ASSERT_EQ(t.labels, std::vector<std::string>{"CV1"});
  ASSERT_EQ(t.rows.size(), 13u);
  const auto expected = read_expected(cvar_expected_path(), "C5", {"definite"});
  for (const auto& row : t.rows) expect_shows(expected, "PROFILE:CV1:" + row[0], row[1]);
}

TEST_F(CvarAnalysisTest, HorizonQuestions) {
  const CvarCase c = cvar_case("C3");
  // A negative horizon beeps and is asked again; 151 too; 0 leaves without a page.
  run_cvar(c.list, c.split,
           estimation_script(c, 2) +
               "menu 1026 -> 6 once\nmenu 1030 -> 5 once\n"
               "menu 1020 -> 4 once\ninteger \"profile length\" -> -1 once\ninteger \"profile length\" -> 151 once\n"
               "integer \"profile length\" -> 150 once\nmenu 1024 -> 0 once\n"
               "menu 1020 -> 1 once\nmenu 1041 -> 1\nmenu \"shocked\" -> \"LC\"\ninteger \"Specify horizon\" -> 0\n"
               "menu 1020 -> 0\nyesno -> no\nmenu 1030 -> 0\nmenu 1026 -> 0\n");
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  const std::string t = dialog_script::transcript_text();
  EXPECT_NE(t.find("Specify profile length (Maximum  150 zero to quit)? -> -1\nbeep\n"), std::string::npos);
  EXPECT_NE(t.find("Specify profile length (Maximum  150 zero to quit)? -> 151\nbeep\n"), std::string::npos);
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 2u);  // the rank tests and one profile page of 151 rows
  EXPECT_EQ(response_table(pages[1]).rows.size(), 151u);
  // Quarterly data offer 50.
  EXPECT_TRUE(transcript_has("integer 0 Specify horizon for impulse responses (Maximum  150 zero to quit)? -> 0"));
  EXPECT_EQ(multi::cvar_horizon_question(multi::kPersistenceProfiles, 5).offered, 150);
  EXPECT_EQ(multi::cvar_horizon_question(multi::kOrthogonalDecomposition, 1).offered, 150);
  EXPECT_EQ(multi::cvar_horizon_question(multi::kOrthogonalResponses, 4).offered, 50);
}

/// Case `name` over the sample that ends `short_by` observations before the data do.
CointCase shortened_case(const std::string& name, int short_by) {
  CointCase c = reference_case(name);
  const int rows = c.data.n + c.data.p;
  std::vector<double> levels, stationary;
  for (int l = 0; l < c.data.m + c.data.e; ++l)
    levels.insert(levels.end(), c.levels.begin() + l * rows, c.levels.begin() + (l + 1) * rows - short_by);
  for (int v = 0; v < c.data.d; ++v)
    stationary.insert(stationary.end(), c.stationary.begin() + v * c.data.n, c.stationary.begin() + (v + 1) * c.data.n - short_by);
  c.levels = levels;
  c.stationary = stationary;
  c.data.n -= short_by;
  c.data.levels = c.levels;
  c.data.stationary = c.stationary;
  return c;
}

const std::string kForecastScript =
    "menu 1026 -> 7 once\nstring \"Final observation\" -> \"2008Q4\"\n"
    "menu \"wish to forecast\" -> \"LC\" once\nmenu \"levels or changes\" -> \"Level of LC\"\n"
    "menu 1046 -> 1 once\nmenu 1046 -> 0\nmenu \"wish to forecast\" -> \"None\"\nmenu 1026 -> 0\n";

// The sample ends six quarters before the data: the in-sample predictions are the previous
// level plus the fitted value of the error-correction equation, the forecasts follow.
TEST_F(CvarAnalysisTest, ForecastsOfTheErrorCorrectionForm) {
  constexpr int kShortBy = 6;
  const CvarCase c = cvar_case("C3D");
  core::globals().sample_end = core::globals().nobs - kShortBy;
  run_cvar(c.list, c.split, estimation_script(c, 1) + kForecastScript);
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 2u);
  const Page& page = pages[1];
  EXPECT_TRUE(page_has(page, "Multivariate dynamic forecasts for the level of LC"));

  const CointCase sc = shortened_case("C3D", kShortBy);
  multi::JohansenFit jf;
  ASSERT_EQ(multi::johansen_estimate(sc.data, multi::kJohansenTolerance, jf), multi::JohansenFailure::kNone);
  multi::EcmFit fit;
  ASSERT_TRUE(multi::fit_ecm(sc.data, 1, std::vector<double>(jf.beta.begin(), jf.beta.begin() + jf.k), fit));
  const int n = sc.data.n;
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : page) {
    const std::vector<std::string> w = words(line);
    if (w.size() == 4 && w[0].size() == 6 && w[0][4] == 'Q') rows.push_back(w);
  }
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(n + kShortBy));
  EXPECT_EQ(rows.front()[0], "1960Q1");
  EXPECT_EQ(rows.back()[0], "2008Q4");
  for (int t = 1; t <= n; ++t) {
    const double previous = sc.levels[static_cast<std::size_t>(sc.data.p + t - 2)];
    const Expected in_sample{previous + fit.fitted[static_cast<std::size_t>(t - 1)], 1e-12, false};
    EXPECT_TRUE(shows(parse_number(rows[static_cast<std::size_t>(t - 1)][2]), in_sample)) << rows[static_cast<std::size_t>(t - 1)][0];
  }
  // After the sample, the error-correction form iterated over the data the dialogue read.
  const CointCase full = reference_case("C3D");
  std::vector<double> predictions;
  multi::EcmForecastGap gap;
  ASSERT_TRUE(multi::ecm_forecasts(fit, full.levels, full.stationary, kShortBy, limits::kMissing, predictions, gap));
  for (int t = n + 1; t <= n + kShortBy; ++t) {
    const Expected forecast{predictions[static_cast<std::size_t>(t - 1)], 1e-12, false};
    EXPECT_TRUE(shows(parse_number(rows[static_cast<std::size_t>(t - 1)][2]), forecast)) << rows[static_cast<std::size_t>(t - 1)][0];
  }
}

TEST_F(CvarAnalysisTest, ForecastsRefuseAnUndefinedI0Value) {
  const CvarCase c = cvar_case("C3D");
  core::globals().sample_end = core::globals().nobs - 6;
  core::data_at(core::globals().nobs - 2, c.list[3]) = limits::kMissing;  // INFL in 2008Q2
  run_cvar(c.list, c.split, estimation_script(c, 1) + "menu 1026 -> 7 once\nstring \"Final observation\" -> \"2008Q4\"\nmenu 1026 -> 0\n");
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  EXPECT_TRUE(transcript_has("INFL is not defined over the forecast period!"));
  EXPECT_FALSE(transcript_has("wish to forecast"));
  // The exogenous I(1) variable of a model with e > 0 is read over the forecast period.
  dialog_script::reset();
  install_cvar_workspace();
  const CvarCase ce = cvar_case("C3E");
  core::globals().sample_end = core::globals().nobs - 6;
  run_cvar(ce.list, ce.split, estimation_script(ce, 1) + kForecastScript);
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  EXPECT_EQ(dialog_script::pages().size(), 2u);
}

/// Adds variables named `names` holding `value` at every observation.
void add_variables(const std::vector<std::string>& names, double value) {
  auto& g = core::globals();
  for (const std::string& name : names) {
    const int j = ++g.nvars;
    core::set_variable(j, name, "");
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = value;
  }
}

const std::string kEcmScript =
    "menu 1026 -> 6 once\nmenu 1030 -> 5 once\nmenu 1020 -> 7 once\n"
    "menu \"inspect its single\" -> \"LC\" once\nmenu \"inspect its single\" -> \"Quit\"\nmenu 1002 -> 0\n"
    "menu 1020 -> 0\nyesno -> no\nmenu 1030 -> 0\nmenu 1026 -> 0\n";

// C3 with r = 2 and p = 2 makes dLC, Intercept, three lagged differences and two
// error-correction terms: seven places. The work space holds exactly that many free
// places, then one fewer.
TEST_F(CvarAnalysisTest, ErrorCorrectionEquationsNeedRoomForTheirTemporaries) {
  const CvarCase c = cvar_case("C3");
  multi::EcmShape shape{3, 0, 0, 2, 3, 2};
  ASSERT_EQ(multi::ecm_room_needed(shape), 7);
  for (int free_places : {7, 6}) {
    SCOPED_TRACE(free_places);
    dialog_script::reset();
    install_cvar_workspace();
    const int max_vars = core::globals().max_vars;
    std::vector<std::string> fill;
    for (int j = core::globals().nvars + 1; j <= max_vars - free_places; ++j) fill.push_back("F" + std::to_string(j));
    add_variables(fill, 1.0);
    const int nvars = core::globals().nvars;
    run_cvar(c.list, c.split, estimation_script(c, 2) + kEcmScript);
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    EXPECT_EQ(core::globals().nvars, nvars);
    EXPECT_EQ(core::variable_name(nvars), "F" + std::to_string(nvars));
    const bool refused = transcript_has(
        "It is not possible to display single equation results!  Please delete at least 1 variables from work space and "
        "re-estimate.");
    EXPECT_EQ(refused, free_places == 6);
    EXPECT_EQ(transcript_has("Choose variable to inspect its single equation results"), free_places == 7);
  }
}

/// The words after `label` on the first line of `page` holding it; empty when none does.
std::vector<std::string> words_after(const Page& page, const std::string& label) {
  for (const std::string& line : page) {
    const auto at = line.find(label);
    if (at != std::string::npos) return words(line.substr(at + label.size()));
  }
  return {};
}

// The error-correction equation of every variable of C3 while the work space already holds
// variables named like two of its temporaries: the temporaries take free names, the
// equation is the reference's.
TEST_F(CvarAnalysisTest, ErrorCorrectionEquationsAtPrintedPrecision) {
  const CvarCase c = cvar_case("C3");
  add_variables({"Intercept", "dLC1"}, 2.0);
  const int nvars = core::globals().nvars;
  run_cvar(c.list, c.split,
           estimation_script(c, 2) +
               "menu 1026 -> 6 once\nmenu 1030 -> 5 once\nmenu 1020 -> 7 once\n"
               "menu \"inspect its single\" -> \"LC\" once\nmenu \"inspect its single\" -> \"LY\" once\n"
               "menu \"inspect its single\" -> \"LI\" once\nmenu \"inspect its single\" -> \"Quit\"\nmenu 1002 -> 0\n"
               "menu 1020 -> 0\nyesno -> no\nmenu 1030 -> 0\nmenu 1026 -> 0\n");
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  EXPECT_EQ(core::globals().nvars, nvars);
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 4u);
  const auto expected = read_expected(cvar_expected_path(), "C3", {"definite", "favoured"});
  const std::vector<double> signs = vector_signs("C3");
  const std::map<std::string, std::string> reference_name = {
      {"Intercept_2", "Intercept"}, {"dLC1_2", "dLC1"}, {"dLY1", "dLY1"}, {"dLI1", "dLI1"},
      {"ecm1(-1)", "ecm1(-1)"},   {"ecm2(-1)", "ecm2(-1)"}};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::string dep = "d" + c.endogenous[i];
    SCOPED_TRACE(dep);
    const Page& page = pages[i + 1];
    EXPECT_EQ(words_after(page, " Dependent variable is"), std::vector<std::string>{dep});
    EXPECT_TRUE(page_has(page, "ECM for variable " + dep + " estimated by OLS based on cointegrating VAR(2)"));
    int rows = 0;
    bool in_table = false;
    for (const std::string& line : page) {
      in_table = in_table || line.rfind(" Regressor", 0) == 0;
      const std::vector<std::string> w = words(line);
      if (!in_table || w.size() < 4 || reference_name.count(w[0]) == 0) continue;
      ++rows;
      const std::string tag = dep + ":" + reference_name.at(w[0]);
      const double sign = w[0] == "ecm1(-1)" ? signs[0] : w[0] == "ecm2(-1)" ? signs[1] : 1.0;
      const std::string& t_prob = w[3];
      const auto bracket = t_prob.find('[');
      ASSERT_NE(bracket, std::string::npos) << line;
      expect_shows(expected, "ECM_coef:" + tag, w[1], sign);
      expect_shows(expected, "ECM_se:" + tag, w[2]);
      expect_shows(expected, "ECM_t:" + tag, t_prob.substr(0, bracket), sign);
      expect_shows(expected, "ECM_tprob:" + tag, t_prob.substr(bracket + 1, t_prob.size() - bracket - 2));
    }
    EXPECT_EQ(rows, 6);
    const std::pair<const char*, const char*> statistics[] = {
        {" R-Squared", "ECM_R2"},
        {"R-Bar-Squared", "ECM_RBAR2"},
        {"S.E. of Regression", "ECM_SE_REG"},
        {"Mean of Dependent Variable", "ECM_MEAN_Y"},
        {"S.D. of Dependent Variable", "ECM_SD_Y"},
        {"Residual Sum of Squares", "ECM_RSS"},
        {"Equation Log-likelihood", "ECM_LL"},
        {"Akaike Info. Criterion", "ECM_AIC"},
        {"Schwarz Bayesian Criterion", "ECM_SBC"},
        {"DW-statistic", "ECM_DW"},
    };
    for (const auto& [label, quantity] : statistics) {
      const std::vector<std::string> after = words_after(page, label);
      ASSERT_FALSE(after.empty()) << label;
      expect_shows(expected, std::string(quantity) + ":" + dep, after[0]);
    }
    // The definitions of the temporaries, the vectors as the estimation left them.
    EXPECT_TRUE(page_has(page, " List of additional temporary variables created:"));
    EXPECT_TRUE(page_has(page, " " + dep + " = " + c.endogenous[i] + "-" + c.endogenous[i] + "(-1)"));
    EXPECT_TRUE(page_has(page, " dLC1_2 = LC(-1)-LC(-2)"));
    for (int v = 1; v <= 2; ++v) {
      const std::vector<std::string> terms = words_after(page, "ecm" + std::to_string(v) + " =");
      ASSERT_EQ(terms.size(), 3u);
      for (std::size_t l = 0; l < 3; ++l) {
        const std::string& term = terms[l];
        EXPECT_EQ(term.substr(term.find('*') + 1), c.endogenous[l]);
        const std::size_t from = term[0] == '+' ? 1 : 0;
        expect_shows(expected, "BETA:" + c.endogenous[l] + ":" + std::to_string(v), term.substr(from, term.find('*') - from),
                     signs[static_cast<std::size_t>(v - 1)]);
      }
    }
    const std::vector<std::string> system = words_after(page, "System Log-likelihood");
    ASSERT_FALSE(system.empty());
    expect_shows(expected, "RANK_LL:2", system[0]);
  }
}

}  // namespace
}  // namespace qorv::testing
