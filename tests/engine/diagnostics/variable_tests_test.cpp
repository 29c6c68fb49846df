// The variable deletion and addition tests: the restricted and extended regressions, the
// joint test of their zero restrictions, the page, and what they leave behind.
#include "engine/diagnostics/variable_tests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/diagnostics/state_restorer.h"
#include "engine/core/num/packed_index.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "shared/exchange_slots.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::diagnostics;
using qorv::testing::parse_number;
using qorv::testing::shows;
namespace macro = qorv::testing::macro;
namespace small = qorv::testing::small;

namespace {

constexpr double kMissing = limits::kMissing;

/// Everything a test must leave as it found it: the data set and the estimate.
struct Snapshot {
  int nvars = 0, max_vars = 0, sample_start = 0, sample_end = 0;
  std::vector<std::string> names;
  std::vector<double> data;
  std::vector<int> eqvarlist, instrlist;
  std::vector<std::string> eqvarnames;
  int method = 0, nused = 0, nregs = 0, ninstr = 0;
  double rss = 0.0, loglik = 0.0, sigma = 0.0;
  std::vector<double> result, variance;
  bool operator==(const Snapshot&) const = default;

  static Snapshot take() {
    const auto& g = core::globals();
    const auto& s = single::estimation();
    Snapshot out{g.nvars, g.max_vars, g.sample_start, g.sample_end, {}, {}, s.eqvarlist, s.instrlist,
                 s.eqvarnames, s.method, s.nused, s.nregs, s.ninstr, s.rss, s.loglik, s.sigma, s.result, s.variance};
    for (int v = 1; v <= g.nvars; ++v) {
      out.names.push_back(core::variable_name(v));
      for (int t = 1; t <= g.nobs; ++t) out.data.push_back(core::data_at(t, v));
    }
    return out;
  }
};

bool near(double value, double expected, double relative) {
  return std::fabs(value - expected) <= relative * std::fabs(expected);
}

class VariableTests : public qorv::testing::PostRegressionTest {
 protected:
  /// The macro data set; without LC(-1), so that typing it makes a temporary variable.
  static void use_macro_data(bool with_lagged_lc) {
    qorv::testing::install_macro_data();
    if (!with_lagged_lc) core::globals().nvars = 5;
  }

  /// IV of LC on `regressors`, instrumented by themselves, over 1960Q1-2008Q4.
  static void estimate_iv_on_macro_data(const std::vector<int>& regressors, const std::vector<std::string>& names) {
    use_macro_data(true);
    std::vector<int> equation = {macro::kLc};
    equation.insert(equation.end(), regressors.begin(), regressors.end());
    single::take_equation(equation);
    auto& s = single::estimation();
    s.instrlist = regressors;
    s.instrnames = names;
    s.ninstr = static_cast<int>(regressors.size());
    core::globals().sample_start = 1;
    core::globals().sample_end = 196;
    single::begin_estimate(single::method::kIv);
    ASSERT_TRUE(single::load_sample());
    single::LSQCORE(false);
    ASSERT_EQ(s.status, single::status::kEstimated);
  }

  static std::string line_starting(const std::vector<std::string>& lines, const std::string& start) {
    for (const auto& l : lines)
      if (l.starts_with(start)) return l;
    return {};
  }

  /// Whether the block line that starts with `label` prints `value` to its digits.
  static ::testing::AssertionResult prints(const std::vector<std::string>& lines, const std::string& label,
                                           double value) {
    const std::string line = line_starting(lines, label);
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) return ::testing::AssertionFailure() << "no line " << label;
    return shows(parse_number(line.substr(eq + 1, 9)), qorv::testing::Expected{value, 0.0, false});
  }

  static bool transcript_has(const std::string& text) {
    return dialog_script::transcript_text().find(text) != std::string::npos;
  }
};

TEST_F(VariableTests, AddingLaggedConsumptionToTheStaticEquationMatchesTheDynamicOne) {
  use_macro_data(true);
  estimate({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, 196);
  const auto d = qorv::testing::macro_expected("D");
  StateRestorer restore;
  SampleGuard sample;
  ASSERT_FALSE(CHECKSAMPLE(std::vector<int>{macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR,
                                            macro::kLcLag},
                           5, "this model"));
  ZeroRestrictionTest test;
  ASSERT_TRUE(estimate_extended({{macro::kLcLag}, {"LC(-1)"}, {}, {}, {}}, test));
  // The extended equation is case D with LC(-1) last.
  const char* names[] = {"INPT", "LY", "INFL", "R", "LC(-1)"};
  for (int j = 1; j <= 5; ++j) {
    const std::string name = names[j - 1];
    EXPECT_TRUE(near(single::coefficient(j), d.at("coef:" + name).value, 1e-8)) << name;
    EXPECT_TRUE(near(std::sqrt(single::coefficient_variance(j, j)), d.at("se:" + name).value, 1e-8)) << name;
  }
  EXPECT_EQ(test.n, 195);
  EXPECT_EQ(test.k, 5);
  // With F = t², LM = nF/(F + n − k) and LR = n ln(1 + F/(n − k)), both over 1960Q2-2008Q4.
  const double t = d.at("t:LC(-1)").value;
  EXPECT_TRUE(near(test.f, t * t, 5e-8));
  EXPECT_TRUE(near(test.f, 846.14738, 1e-7));
  EXPECT_TRUE(near(test.lm, 195 * t * t / (t * t + 190), 5e-8));
  EXPECT_TRUE(near(test.lm, 159.24254, 1e-7));
  EXPECT_TRUE(near(test.lr, 195 * std::log1p(t * t / 190), 5e-8));
  EXPECT_TRUE(near(test.lr, 330.76692, 1e-7));
}

TEST_F(VariableTests, DeletingLaggedConsumptionFromTheDynamicEquationGivesTheSameThree) {
  use_macro_data(true);
  estimate({macro::kLc, macro::kIntercept, macro::kLcLag, macro::kLy, macro::kInfl, macro::kR}, 2, 196);
  const double t = qorv::testing::macro_expected("D").at("t:LC(-1)").value;
  StateRestorer restore;
  ZeroRestrictionTest test;
  ASSERT_TRUE(estimate_restricted(std::vector<int>{2}, test));
  EXPECT_EQ(single::estimation().nregs, 4);
  EXPECT_TRUE(near(test.f, t * t, 5e-8));
  EXPECT_TRUE(near(test.lm, 195 * t * t / (t * t + 190), 5e-8));
  EXPECT_TRUE(near(test.lr, 195 * std::log1p(t * t / 190), 5e-8));
}

TEST_F(VariableTests, IvWithTheRegressorsAsInstrumentsGivesTheSquaredTRatioAsWald) {
  estimate_iv_on_macro_data({macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, {"INPT", "LY", "INFL", "R"});
  const double t = qorv::testing::macro_expected("S").at("t:R").value;
  dialog_script::load("text -> \"R\"\nresults -> close\n");
  const Snapshot before = Snapshot::take();
  variable_deletion_test();
  EXPECT_EQ(Snapshot::take(), before);
  const auto page = dialog_script::pages().at(0);
  EXPECT_TRUE(transcript_has("Variable Deletion Test (IV case)"));
  EXPECT_TRUE(line_starting(page, " Lagrange Multiplier Statistic").empty());  // the Wald line alone
  const std::string wald = line_starting(page, " Wald Statistic");
  EXPECT_EQ(wald.substr(0, 43), " Wald Statistic                 CHSQ(   1)=");
  EXPECT_TRUE(prints(page, " Wald Statistic", t * t));
  EXPECT_TRUE(near(t * t, 111.07394, 1e-7));
  ZeroRestrictionTest test;
  StateRestorer restore;
  ASSERT_TRUE(estimate_restricted(std::vector<int>{4}, test));
  EXPECT_TRUE(near(test.wald, t * t, 1e-8));
  EXPECT_EQ(test.lm, kMissing);  // the IV methods have the Wald statistic alone
}

TEST_F(VariableTests, AddingToAnIvEstimateAsksTheMissingInstrumentAndGivesTheWaldStatistic) {
  // LC on INPT LY INFL instrumented by themselves; R is added with R as its instrument:
  // the extended equation is least squares of case S, so W = t:R².
  estimate_iv_on_macro_data({macro::kIntercept, macro::kLy, macro::kInfl}, {"INPT", "LY", "INFL"});
  const double t = qorv::testing::macro_expected("S").at("t:R").value;
  dialog_script::load("text -> \"R\" once\ntext -> \" \" once\ntext -> \"R\" once\nresults -> close\n");
  const Snapshot before = Snapshot::take();
  variable_addition_test();
  EXPECT_EQ(Snapshot::take(), before);
  EXPECT_TRUE(transcript_has(" At least 1 additional instruments needed!"));  // the blank answer first
  const auto page = dialog_script::pages().at(0);
  EXPECT_TRUE(transcript_has("Variable Addition Test (IV case)"));
  EXPECT_TRUE(prints(page, " Wald Statistic", t * t));
  ZeroRestrictionTest test;
  StateRestorer restore;
  ASSERT_TRUE(estimate_extended({{macro::kR}, {"R"}, {}, {macro::kR}, {"R"}}, test));
  EXPECT_TRUE(near(test.wald, t * t, 1e-8));
}

/// Eight observations with an intercept and two orthogonal contrasts: ȳ = 2, Σ(y − ȳ)² = 12,
/// b1 = 6/8 and b2 = 2/8, so RSSu = 12 − 8(b1² + b2²) = 7 and dropping both contrasts
/// gives RSSr = 12: F = 5·5/(2·7), LM = 8·5/12, LR = 8 ln(12/7).
class EightObservations : public VariableTests {
 protected:
  void SetUp() override {
    VariableTests::SetUp();
    const std::vector<double> c(8, 1.0), x1 = {1, -1, 1, -1, 1, -1, 1, -1}, x2 = {1, 1, -1, -1, 1, 1, -1, -1},
                              y = {3, 1, 2, 0, 4, 1, 2, 3};
    install({c, x1, x2, y}, {"C", "X1", "X2", "Y"});
  }
};

TEST_F(EightObservations, DeletingBothContrastsGivesTheHandWorkedStatistics) {
  estimate({4, 1, 2, 3}, 1, 8);
  dialog_script::load("text -> \"X1 X2\"\nresults -> close\n");
  const Snapshot before = Snapshot::take();
  variable_deletion_test();
  EXPECT_EQ(Snapshot::take(), before);
  const auto page = dialog_script::pages().at(0);
  const double f = 25.0 / 14.0, lm = 40.0 / 12.0, lr = 8.0 * std::log(12.0 / 7.0);
  // The page: the title, the restricted table, then the block.
  EXPECT_TRUE(transcript_has("Variable Deletion Test (OLS case)"));
  EXPECT_TRUE(transcript_has(" Joint test of zero restrictions on the coefficients of deleted variables:\n"));
  EXPECT_EQ(line_starting(page, " Lagrange Multiplier").substr(0, 46), " Lagrange Multiplier Statistic     CHSQ(   2)=");
  EXPECT_EQ(line_starting(page, " Likelihood Ratio").substr(0, 46), " Likelihood Ratio Statistic        CHSQ(   2)=");
  EXPECT_EQ(line_starting(page, " F Statistic").substr(0, 44), " F Statistic                    F(  2,   5)=");
  EXPECT_TRUE(prints(page, " Lagrange Multiplier", lm));
  EXPECT_TRUE(prints(page, " Likelihood Ratio", lr));
  EXPECT_TRUE(prints(page, " F Statistic", f));
  // chi-squared(2) tails exp(−x/2); F(2, 5) tail (1 + 2F/5)^(−5/2).
  EXPECT_NE(line_starting(page, " Lagrange Multiplier").find("[.189]"), std::string::npos);
  EXPECT_NE(line_starting(page, " Likelihood Ratio").find("[.116]"), std::string::npos);
  EXPECT_NE(line_starting(page, " F Statistic").find("[.260]"), std::string::npos);
  const auto f_line = std::find(page.begin(), page.end(), line_starting(page, " F Statistic"));
  ASSERT_NE(f_line + 1, page.end());
  EXPECT_EQ(*(f_line + 1), std::string(79, '*'));

  ZeroRestrictionTest test;
  StateRestorer restore;
  ASSERT_TRUE(estimate_restricted(std::vector<int>{2, 3}, test));
  EXPECT_NEAR(test.f, f, 1e-12);
  EXPECT_NEAR(test.lm, lm, 1e-12);
  EXPECT_NEAR(test.lr, lr, 1e-12);
}

TEST_F(EightObservations, AnExactUnrestrictedFitPrintsNoneWithoutProbabilities) {
  for (int t = 1; t <= 8; ++t) core::data_at(t, 4) = 1.0 + 2.0 * core::data_at(t, 2) - core::data_at(t, 3);
  estimate({4, 1, 2, 3}, 1, 8);
  dialog_script::load("text -> \"X2\"\nresults -> close\n");
  variable_deletion_test();
  const auto page = dialog_script::pages().at(0);
  for (const char* label : {" Lagrange Multiplier", " Likelihood Ratio", " F Statistic"}) {
    const std::string line = line_starting(page, label);
    EXPECT_NE(line.find("=   *NONE*"), std::string::npos) << line;
    EXPECT_EQ(line.find('['), std::string::npos) << line;
  }
}

TEST_F(VariableTests, ASingularIvBlockShowsWhyAndPrintsNone) {
  estimate({small::kY, small::kC, small::kX, small::kZ}, 1, small::kObs, true);
  // Var(b_X) and Var(b_Z) equal to their covariance: the block of the two cannot be inverted.
  auto& s = single::estimation();
  const double v = s.variance[core::PACKEDINDEX(2, 2) - 1];
  s.variance[core::PACKEDINDEX(3, 3) - 1] = v;
  s.variance[core::PACKEDINDEX(3, 2) - 1] = v;
  dialog_script::load("text -> \"X Z\"\nresults -> close\n");
  variable_deletion_test();
  EXPECT_TRUE(transcript_has(message_line(13)));
  const std::string wald = line_starting(dialog_script::pages().at(0), " Wald Statistic");
  EXPECT_NE(wald.find("=   *NONE*"), std::string::npos) << wald;
  EXPECT_EQ(wald.find('['), std::string::npos);
}

TEST_F(VariableTests, RefusalsAndCancelsLeaveEverythingAsItWas) {
  struct Row {
    bool addition;
    bool iv;
    const char* script;  ///< after which the editor is cancelled
    std::string shown;   ///< a text the refusal shows ("" for none)
  };
  const Row rows[] = {
      {false, false, "text -> \"Z\" once\n", message_line(38)},      // not a regressor
      {false, false, "text -> \"Y\" once\n", "Variable Y included more than once!"},  // the screen's own refusals
      {false, false, "text -> \"X X\" once\n", "Variable X included more than once!"},
      {false, false, "text -> \"C X\" once\n", message_line(38)},    // every regressor
      {false, false, "", ""},                                         // cancelled
      {true, false, "", ""},
      {true, false, "text -> \"C\" once\n", message_line(39)},       // a second intercept: singular
      {true, true, "text -> \"Y(-1) Y(-2)\" once\ntext -> \" \" once\n",
       " At least 1 additional instruments needed!"},                 // two temporaries, one instrument short
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.script);
    dialog_script::reset();
    estimate({small::kY, small::kC, small::kX}, 1, small::kObs, r.iv);
    dialog_script::load(std::string(r.script) + "text -> cancel\n");
    const Snapshot before = Snapshot::take();
    r.addition ? variable_addition_test() : variable_deletion_test();
    EXPECT_EQ(Snapshot::take(), before);
    if (!r.shown.empty()) {
      EXPECT_TRUE(transcript_has(r.shown)) << dialog_script::transcript_text();
    }
    EXPECT_TRUE(dialog_script::pages().empty());
  }
  // A full workspace has no room for the temporary X(-1): the screen says so and is cancelled.
  dialog_script::reset();
  core::globals().max_vars = core::globals().nvars;
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  dialog_script::load("text -> \"X(-1)\" once\ntext -> cancel\n");
  const Snapshot before = Snapshot::take();
  variable_addition_test();
  EXPECT_EQ(Snapshot::take(), before);
  EXPECT_EQ(dialog_script::calls().size(), 3u);  // typed, refused, cancelled
}

TEST_F(VariableTests, AnAddedLagIsComparedOverTheShortenedSampleAndItsTemporaryGoes) {
  use_macro_data(false);
  estimate({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, 196);
  dialog_script::load("text -> \"LC(-1)\"\nresults -> close\n");
  const Snapshot before = Snapshot::take();
  variable_addition_test();
  EXPECT_EQ(Snapshot::take(), before);
  const auto page = dialog_script::pages().at(0);
  const auto d = qorv::testing::macro_expected("D");
  EXPECT_TRUE(transcript_has("Variable Addition Test (OLS case)"));
  EXPECT_TRUE(transcript_has("195 observations used for estimation from 1960Q2 to 2008Q4"));
  EXPECT_TRUE(shows(parse_number(line_starting(page, " LC(-1)").substr(14, 16)), d.at("coef:LC(-1)")));
  EXPECT_EQ(line_starting(page, " F Statistic").substr(0, 44), " F Statistic                    F(  1, 190)=");
  EXPECT_TRUE(prints(page, " Lagrange Multiplier", 159.24254));
  EXPECT_TRUE(prints(page, " Likelihood Ratio", 330.76692));
  EXPECT_TRUE(prints(page, " F Statistic", 846.14738));
}

}  // namespace
