// The GARCH estimator through its dialogue: the reference cases from the default start
// (the state and the page as a user reads it), the "0 ; 0" identities of each form, and
// the specification checks of the dialogue.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/garch_estimate.h"
#include "tests/engine/single/garch_reference.h"
#include "tests/engine/single/page_reading.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv;
using namespace qorv::single;
using qorv::testing::agrees;
using qorv::testing::columns;
using qorv::testing::Expected;
using qorv::testing::parse_number;
using qorv::testing::Printed;
using qorv::testing::shows;
using qorv::testing::trim;

namespace {

/// The reference data (INPT, X, YN, YT, YX) as the workspace from row `first_row` of the
/// file on; the sample from `sample_row` to the end.
void install_garch_data(int first_row, int sample_row) {
  const auto& table = qorv::testing::garch_data();
  auto& g = core::globals();
  g.nobs = static_cast<int>(table.rows.size()) - first_row + 1;
  g.nvars = static_cast<int>(table.names.size());
  g.frequency = 1;
  g.periods_per_year = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  for (int v = 1; v <= g.nvars; ++v) core::set_variable(v, table.names[static_cast<size_t>(v - 1)], "");
  for (int t = 1; t <= g.nobs; ++t)
    for (int v = 1; v <= g.nvars; ++v)
      core::data_at(t, v) = table.rows[static_cast<size_t>(t + first_row - 2)][static_cast<size_t>(v - 1)];
  g.sample_start = sample_row - first_row + 1;
  g.sample_end = g.nobs;
}

void set_equation(const std::string& dependent, const std::vector<std::string>& regressors) {
  std::vector<int> list = {core::find_variable(dependent)};
  for (const auto& r : regressors) list.push_back(core::find_variable(r));
  take_equation(list);
}

/// Runs the estimator with the model menu choice, the distribution, the lag text, the
/// initial values answer and the damping answers (each a script rule's answer).
void estimate(int model, int distribution, const std::string& lags, const std::string& values = "keep",
              const std::string& damping = "real -> 1.0\n") {
  dialog_script::load("menu 1017 -> " + std::to_string(model) + " once\nmenu 1016 -> " + std::to_string(distribution) +
                      " once\ntext \"lags\" -> \"" + lags + "\" once\ntext -> \"\" once\nvalues -> " + values +
                      " once\n" + damping);
  begin_estimate(method::kGarch);
  ASSERT_TRUE(load_sample());
  GARCHESTIMATE(true);
}

class GarchEstimate : public qorv::testing::EngineTest {};


// Each reference case from the default start: the estimates, standard errors and
// log-likelihood in the state to the reference's tolerances, and the page's numbers at
// their printed precision (t probabilities on n - m, fit block with k).
TEST_F(GarchEstimate, ReferenceCasesOnStateAndPage) {
  for (const std::string name : {"GN", "GT", "GX", "G00", "GN.B"}) {
    SCOPED_TRACE(name);
    const auto c = qorv::testing::garch_case(name);
    const bool reading_b = name.ends_with(".B");
    // Reading B: the data set starts with the sample's first row.
    install_garch_data(reading_b ? c.sample_first_row : 1, c.sample_first_row);
    set_equation(c.dependent, c.regressors);
    estimate(1, c.student_t ? 2 : 1, c.lag_text);
    ASSERT_EQ(estimation().status, status::kEstimated);
    const auto rows = qorv::testing::garch_expected(name, {"favoured", "definite", "alternative"});
    std::vector<std::string> labels = c.regressors;
    labels.push_back("GARCH cons.");
    if (c.lag_text == "1 ; 1") labels.insert(labels.end(), {"MA lag 1", "AR lag 1"});
    if (c.student_t) labels.push_back("D.F. of t-Dist");
    ASSERT_EQ(parameter_count(), static_cast<int>(labels.size()));
    EXPECT_EQ(estimation().nused, static_cast<int>(rows.at("N").value));
    EXPECT_TRUE(agrees(estimation().loglik, rows.at("LL"))) << estimation().loglik;
    for (size_t i = 0; i < labels.size(); ++i) {
      const int j = static_cast<int>(i) + 1;
      EXPECT_TRUE(agrees(coefficient(j), rows.at("coef:" + labels[i]))) << labels[i] << " " << coefficient(j);
      EXPECT_TRUE(agrees(std::sqrt(coefficient_variance(j, j)), rows.at("se:" + labels[i])))
          << labels[i] << " " << std::sqrt(coefficient_variance(j, j));
    }

    dialog_script::reset();
    dialog_script::load("results -> close\nmenu 1002 -> 0\n");
    diagnostics::POSTREGRESSION();
    EXPECT_EQ(estimation().status, status::kRespecify);  // option 0: specify the model again
    const auto page = qorv::testing::last_page();
    std::string text;
    for (const auto& l : page) text += l + "\n";
    size_t h = qorv::testing::find_line(page, "Regressor");
    ASSERT_LT(h, page.size());
    for (size_t i = 0; i < labels.size(); ++i) {
      const std::string& row = page[h + 1 + i];
      SCOPED_TRACE(row);
      EXPECT_EQ(trim(columns(row, 2, 24)), labels[i]);
      EXPECT_TRUE(shows(parse_number(columns(row, 26, 34)), rows.at("coef:" + labels[i])));
      EXPECT_TRUE(shows(parse_number(columns(row, 64, 72)), rows.at("t:" + labels[i])));
      if (rows.count("tprob:" + labels[i]) != 0) {
        EXPECT_TRUE(shows(parse_number(columns(row, 74, 77)), rows.at("tprob:" + labels[i])));
      }
    }
    for (const auto& [quantity, label] : std::vector<std::pair<std::string, std::string>>{
             {"R2", R"( R-Squared)"}, {"RBAR2", R"(R-Bar-Squared)"}, {"SE_REG", R"(S\.E\. of Regression)"},
             {"MEAN_Y", R"(Mean of Dependent Variable)"}, {"SD_Y", R"(S\.D\. of Dependent Variable)"},
             {"RSS", R"(Residual Sum of Squares)"}, {"LL", R"(Equation Log-likelihood)"},
             {"AIC", R"(Akaike Info\. Criterion)"}, {"SBC", R"(Schwarz Bayesian Criterion)"},
             {"DW", R"(DW-statistic)"}})
      EXPECT_TRUE(shows(qorv::testing::printed_after(text, label), rows.at(quantity))) << quantity;
    EXPECT_NE(text.find("Parameters of the Conditional Heteroscedastic Model"), std::string::npos);
    const std::string title = std::string(c.lag_text == "1 ; 1" ? "GARCH(1,1)" : "GARCH(0,0)") +
                              (c.student_t ? " assuming a t distribution" : " assuming a normal distribution");
    EXPECT_NE(text.find(title), std::string::npos) << title;
  }
}

bool transcript_holds(const std::string& text) {
  return dialog_script::transcript_text().find(text) != std::string::npos;
}

// "0 ; 0" is least squares by maximum likelihood in each form: c = RSS/n for GARCH, its
// square root for AGARCH (a recursion on the standard deviation), its logarithm for
// EGARCH; the log-likelihood is the least-squares one (G00 of the reference).
TEST_F(GarchEstimate, ConstantVarianceIsLeastSquaresInEveryForm) {
  const auto rows = qorv::testing::garch_expected("G00", {"definite"});
  const double c = rows.at("coef:GARCH cons.").value;  // RSS/n
  const double tolerance = rows.at("coef:GARCH cons.").tolerance;  // relative
  const struct {
    int model;
    double constant, tolerance;
  } forms[] = {{1, c, tolerance * c}, {3, std::sqrt(c), 0.5 * tolerance * std::sqrt(c)}, {5, std::log(c), tolerance}};
  for (const auto& f : forms) {
    SCOPED_TRACE(f.model);
    install_garch_data(1, 2);
    set_equation("YX", {"INPT", "X"});
    estimate(f.model, 1, "0 ; 0");
    ASSERT_EQ(estimation().status, status::kEstimated) << dialog_script::transcript_text();
    EXPECT_NEAR(coefficient(3), f.constant, f.tolerance);
    EXPECT_TRUE(agrees(estimation().loglik, rows.at("LL"))) << estimation().loglik;
    EXPECT_TRUE(agrees(coefficient(2), rows.at("coef:X")));
  }
  // With the in-mean term a constant variance is collinear with the intercept.
  install_garch_data(1, 2);
  set_equation("YX", {"INPT", "X"});
  estimate(2, 1, "0 ; 0");
  EXPECT_EQ(estimation().status, status::kFailed);
  EXPECT_TRUE(transcript_holds("The derivatives of log-likelihood w.r.t. parameters are collinear!"));
  EXPECT_TRUE(transcript_holds("The failure of the GARCH estimation procedure may be due to:"));
}

// GARCH-M, AGARCH-M and EGARCH-M (1,1) from the default start through the dialogue: the
// in-mean estimate and the log-likelihood of the in-mean reference (with no error terms
// at the start the in-mean term would be collinear with the intercept).
TEST_F(GarchEstimate, InMeanModelsFromTheDefaults) {
  const struct {
    int model;
    const char* name;
  } cases[] = {{2, "GM"}, {4, "AM"}, {6, "EM"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto rows = qorv::testing::read_expected(std::string(ZV_REFERENCE_DIR) + "/garch/in_mean_expected.csv",
                                                   c.name, {"favoured"});
    dialog_script::reset();
    install_garch_data(1, 2);
    set_equation("YN", {"INPT"});
    estimate(c.model, 1, "1 ; 1");
    ASSERT_EQ(estimation().status, status::kEstimated) << dialog_script::transcript_text();
    EXPECT_TRUE(agrees(estimation().loglik, rows.at("LL"))) << estimation().loglik;
    EXPECT_TRUE(agrees(coefficient(2), rows.at("coef:In Mean"))) << coefficient(2);
    EXPECT_TRUE(agrees(coefficient(4), rows.at("coef:MA lag 1"))) << coefficient(4);
  }
}

// The checks of the dialogue, each with the script that provokes it and what the user
// sees: refusals reopen their prompt, the others end or carry on as the Part says.
TEST_F(GarchEstimate, SpecificationChecks) {
  std::string all_lags;
  for (int lag = 1; lag <= 99; ++lag) all_lags += std::to_string(lag) + " ";
  const struct {
    const char* what;
    int sample_start, sample_end;
    std::string script;
    const char* seen;
    int status;
  } cases[] = {
      {"not identified", 2, 1001, "text \"lags\" -> \"1 ; 0\" once\ntext \"lags\" -> cancel\n",
       "A GARCH(P,0) is not identified!", status::kFailed},
      {"lag of 100", 2, 1001, "text \"lags\" -> \"0 ; 100\" once\ntext \"lags\" -> cancel\n", "beep", status::kFailed},
      {"no semicolon", 2, 1001, "text \"lags\" -> \"1 1\" once\ntext \"lags\" -> cancel\n", "beep", status::kFailed},
      {"parameter limit", 2, 1001,
       "text \"lags\" -> \"1 2 ; " + all_lags + "\" once\ntext -> \"\" once\ntext \"lags\" -> cancel\n",
       "Total number of parameters in the model is more than 102, the maximum allowed!", status::kFailed},
      {"too few observations", 2, 6, "text \"lags\" -> \"2 ; 1 2\"\ntext -> \"\"\n",
       "Not enough observations! Can't estimate.", status::kFailed},
      {"AR + MA = 1", 2, 1001,
       "text \"lags\" -> \"1 ; 1\"\ntext -> \"\"\nvalues -> 0.2 0.4 0.3 0.5 0.5 once\nvalues -> keep once\n"
       "values -> 0.2 0.4 0.3 0.1 0.8 once\nreal -> 1.0\n",
       "The sum of AR and MA coefficients must be less than one!", status::kEstimated},
      {"damping bounds", 2, 1001,
       "text \"lags\" -> \"1 ; 1\"\ntext -> \"\"\nvalues -> keep\nreal -> 0.005 once\nreal -> 2.5 once\nreal -> 2.0\n",
       "real 0 Damping factor(Min 0.01, Max 2.0)? -> 2.0", status::kEstimated},
      {"smallest damping", 2, 1001, "text \"lags\" -> \"1 ; 1\"\ntext -> \"\"\nvalues -> keep\nreal -> 0.01\n",
       "real 0 Damping factor(Min 0.01, Max 2.0)? -> 0.01", status::kEstimated},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dialog_script::reset();
    install_garch_data(1, c.sample_start);
    core::globals().sample_end = c.sample_end;
    set_equation("YX", {"INPT", "X"});
    dialog_script::load("menu 1017 -> 1 once\nmenu 1016 -> 1 once\n" + c.script);
    begin_estimate(method::kGarch);
    ASSERT_TRUE(load_sample());
    GARCHESTIMATE(true);
    EXPECT_TRUE(transcript_holds(c.seen)) << dialog_script::transcript_text();
    EXPECT_EQ(estimation().status, c.status);
  }
  // The damping factor was asked three times: 0.005 and 2.5 again, 2.0 taken.
}

// "0 ; 4" has the fourth lag only, in the coefficient table and in the variance table;
// the exponential form starts from its own defaults (no variance check).
TEST_F(GarchEstimate, RestrictedArchAndExponentialDefaults) {
  install_garch_data(1, 2);
  set_equation("YN", {"INPT"});
  estimate(1, 1, "0 ; 4");
  ASSERT_EQ(estimation().status, status::kEstimated) << dialog_script::transcript_text();
  EXPECT_EQ(error_parameter_label(2), "MA lag 4");
  dialog_script::reset();
  dialog_script::load("results -> close\nmenu 1002 -> 0\n");
  diagnostics::POSTREGRESSION();
  const auto page = qorv::testing::last_page();
  EXPECT_LT(qorv::testing::find_line(page, "MA lag 4"), page.size());
  EXPECT_LT(qorv::testing::find_line(page, "E-SQ(-4)"), page.size());
  EXPECT_LT(qorv::testing::find_line(page, "GARCH(0,1) assuming a normal distribution"), page.size());

  dialog_script::reset();
  install_garch_data(1, 2);
  set_equation("YN", {"INPT"});
  estimate(5, 1, "1 ; 1");
  EXPECT_FALSE(transcript_holds("-ve unconditional variance"));
  EXPECT_EQ(estimation().status, status::kEstimated) << dialog_script::transcript_text();
}

// The page of a GARCH estimate offers model saving: the saved file holds the estimated
// regression and variance equations.
TEST_F(GarchEstimate, SavedModelHoldsTheEquation) {
  install_garch_data(1, 2);
  set_equation("YN", {"INPT"});
  estimate(1, 1, "1 ; 1");
  ASSERT_EQ(estimation().status, status::kEstimated);
  const auto target = std::filesystem::temp_directory_path() / "garch_model_test.MOD";
  std::filesystem::remove(target);
  dialog_script::reset();
  dialog_script::load("results -> save-model \"" + target.string() +
                      "\"\nmenu \"Model file format\" -> 1\ntext -> cancel\nmenu 1002 -> 0\n");
  diagnostics::POSTREGRESSION();
  std::ifstream in(target);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("YN = .0515"), std::string::npos) << text;
  EXPECT_NE(text.find(".8446"), std::string::npos) << text;
  EXPECT_NE(text.find("*hsq(-1)"), std::string::npos) << text;
  EXPECT_NE(text.find("hsq = .0856"), std::string::npos) << text;
  EXPECT_NE(text.find("+ .0660"), std::string::npos) << text;
  EXPECT_NE(text.find("*esq(-1)"), std::string::npos) << text;
  std::filesystem::remove(target);
}

}  // namespace
