// The non-nested tests of two rival regressions: the statistics against established
// software, the size of NT and W under the first model, the page and its refusals.
#include "engine/diagnostics/non_nested_tests.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "shared/exchange_slots.h"
#include "tests/engine/diagnostics/estimate_fixture.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/scratch_folder.h"

using namespace qorv;
using qorv::testing::workspace_column;
using qorv::testing::macro::kInfl;
using qorv::testing::macro::kIntercept;
using qorv::testing::macro::kLc;
using qorv::testing::macro::kLy;
using qorv::testing::macro::kR;

namespace {

constexpr double kMissing = limits::kMissing;

class NonNested : public qorv::testing::EstimateTest {
 protected:
  void SetUp() override {
    EstimateTest::SetUp();
    folder_.emplace("zv-nonnested");
    core::set_char_setting(charset::kTempFolder, folder_->string() + "/");
  }

  /// The statistics of LC on the M1 variables against LC on the M2 variables.
  static diagnostics::NonNestedStatistics statistics(const std::vector<int>& m1, const std::vector<int>& m2) {
    std::vector<std::vector<double>> columns;
    for (int v = 1; v <= 5; ++v) columns.push_back(workspace_column(v));
    std::vector<int> x1, x2;
    for (int v : m1) x1.push_back(v - 1);
    for (int v : m2) x2.push_back(v - 1);
    return diagnostics::NONNESTEDSTATS(workspace_column(kLc), columns, x1, x2);
  }

  /// Runs option 8 after OLS of LC on `m1` over the whole sample with `m2_text` typed as
  /// M2's regressors; returns the dialogue's transcript.
  std::string run_option(const std::vector<int>& m1, const std::string& m2_text) {
    std::vector<int> equation = {kLc};
    equation.insert(equation.end(), m1.begin(), m1.end());
    estimate_ols(equation, 1, 196);
    dialog_script::reset();
    dialog_script::load("text -> \"" + m2_text + "\"\nresults -> close\n");
    diagnostics::NONNESTEDTESTS();
    return dialog_script::transcript_text();
  }

  std::optional<zv_test::ScratchFolder> folder_;
};

TEST_F(NonNested, StatisticsAgreeWithEstablishedSoftware) {
  struct Case {
    const char* name;
    std::vector<int> m1;
  };
  const Case cases[] = {{"LC_LY_INFL_VS_LY_R", {kIntercept, kLy, kInfl}}, {"LC_INFL_VS_LY_R", {kIntercept, kInfl}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto e = qorv::testing::reference_expected("nonnested", c.name);
    const auto s = statistics(c.m1, {kIntercept, kLy, kR});
    ASSERT_EQ(s.refusal, diagnostics::NonNestedRefusal::kNone);
    const std::pair<const char*, double> values[] = {
        {"N", s.n},          {"N_12", s.n_test[0]},   {"N_21", s.n_test[1]},    {"NT_12", s.nt_test[0]},
        {"NT_21", s.nt_test[1]}, {"W_12", s.w_test[0]}, {"W_21", s.w_test[1]},  {"J_12", s.j_test[0]},
        {"J_21", s.j_test[1]}, {"JA_T_12", -s.ja_test[0]}, {"JA_T_21", -s.ja_test[1]}, {"F_12", s.f_test[0]},
        {"F_21", s.f_test[1]}, {"RSS1", s.m1.rss},     {"RSS2", s.m2.rss},       {"RSS12", s.m12.rss},
        {"LL1", s.m1.loglik}, {"LL2", s.m2.loglik},     {"LL12", s.m12.loglik}};
    for (const auto& [quantity, value] : values) {
      SCOPED_TRACE(quantity);
      ASSERT_TRUE(e.count(quantity));
      EXPECT_TRUE(qorv::testing::agrees(value, e.at(quantity))) << value << " vs " << e.at(quantity).value;
    }
    // The criteria from the reference log-likelihoods.
    const double ll1 = e.at("LL1").value, ll2 = e.at("LL2").value;
    const double k1 = static_cast<double>(c.m1.size());
    EXPECT_NEAR(s.akaike, (ll1 - k1) - (ll2 - 3.0), 1e-8);
    EXPECT_NEAR(s.schwarz, (ll1 - ll2) - ((k1 - 3.0) / 2.0) * std::log(196.0), 1e-8);
  }
}

// Under M1 with normal errors NT and W are close to standard normal in small samples.
TEST(NonNestedSize, NtAndWAreStandardisedUnderTheFirstModel) {
  constexpr int n = 20, samples = 2000;
  std::mt19937_64 engine(20261211);
  std::normal_distribution<double> normal;
  std::vector<std::vector<double>> columns(4, std::vector<double>(n));
  for (int t = 0; t < n; ++t) {
    columns[0][static_cast<std::size_t>(t)] = 1.0;
    const double x = normal(engine), w = normal(engine);
    columns[1][static_cast<std::size_t>(t)] = x;
    columns[2][static_cast<std::size_t>(t)] = 0.7 * x + 0.7 * normal(engine);  // M2's rival of x
    columns[3][static_cast<std::size_t>(t)] = w;                                 // M2's second regressor
  }
  const std::vector<int> x1 = {0, 1}, x2 = {0, 2, 3};
  double sums[2][2] = {};
  for (int r = 0; r < samples; ++r) {
    std::vector<double> y(n);
    for (int t = 0; t < n; ++t) y[static_cast<std::size_t>(t)] = 1.0 + columns[1][static_cast<std::size_t>(t)] + normal(engine);
    const auto s = diagnostics::NONNESTEDSTATS(y, columns, x1, x2);
    ASSERT_NE(s.nt_test[0], kMissing);
    ASSERT_NE(s.w_test[0], kMissing);
    for (int i = 0; i < 2; ++i) {
      const double v = i == 0 ? s.nt_test[0] : s.w_test[0];
      sums[i][0] += v;
      sums[i][1] += v * v;
    }
  }
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "NT" : "W");
    const double mean = sums[i][0] / samples, var = sums[i][1] / samples - mean * mean;
    EXPECT_NEAR(mean, 0.0, 0.1);
    EXPECT_GE(var, 0.8);
    EXPECT_LE(var, 1.25);
  }
}

TEST_F(NonNested, NestedModelsKeepTheirPageAndIdenticalOnesRefuse) {
  // M2 nests M1: no numerator degrees of freedom for M2 against M1, and M2's regressors
  // span M1's fitted values, so the Cox statistic of M1 against M2 has no variance.
  const auto nested = statistics({kIntercept, kLy}, {kIntercept, kLy, kR});
  ASSERT_EQ(nested.refusal, diagnostics::NonNestedRefusal::kNone);
  EXPECT_EQ(nested.k_only[1], 0);
  EXPECT_EQ(nested.f_test[1], kMissing);
  EXPECT_NE(nested.f_test[0], kMissing);
  EXPECT_EQ(nested.n_test[0], kMissing);
  EXPECT_EQ(nested.j_test[1], kMissing);  // M1's fitted values lie in M2's columns
  EXPECT_NE(nested.nt_test[0], kMissing); // a variance-ratio test that stays defined
  EXPECT_NE(nested.w_test[0], kMissing);
  // M2 against M1: M2 nests M1, so NT's and W's numerators and variances are both zero.
  EXPECT_EQ(nested.nt_test[1], kMissing);
  EXPECT_EQ(nested.w_test[1], kMissing);
  EXPECT_EQ(statistics({kIntercept, kLy}, {kLy, kIntercept}).refusal, diagnostics::NonNestedRefusal::kSameModels);
  std::vector<int> many1, many2;
  for (int c = 0; c < 52; ++c) many1.push_back(c);
  for (int c = 51; c < 103; ++c) many2.push_back(c);
  std::vector<std::vector<double>> columns(103, std::vector<double>(200, 1.0));
  EXPECT_EQ(diagnostics::NONNESTEDSTATS(std::vector<double>(200, 1.0), columns, many1, many2).refusal,
            diagnostics::NonNestedRefusal::kTooManyRegressors);
}

// The model that nests the other has no N, NT, W, J or JA statistic against it: their
// numerators, variances or added columns vanish. The other direction keeps NT, W and J.
TEST_F(NonNested, NestingLeavesTheNestingDirectionMissing) {
  const struct {
    const char* name;
    std::vector<int> m1, m2;
    std::size_t nesting;  ///< the direction (0: M1 against M2) whose model nests the other
  } cases[] = {{"M1 nests M2", {kIntercept, kLy, kInfl, kR}, {kIntercept, kLy}, 0},
               {"M2 nests M1", {kIntercept, kLy}, {kIntercept, kLy, kInfl, kR}, 1},
               {"M2 nests M1, other order", {kLy, kIntercept}, {kR, kIntercept, kLy}, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto s = statistics(c.m1, c.m2);
    ASSERT_EQ(s.refusal, diagnostics::NonNestedRefusal::kNone);
    const std::size_t way = c.nesting, other = 1 - way;
    for (const double v : {s.n_test[way], s.nt_test[way], s.w_test[way], s.j_test[way], s.ja_test[way]})
      EXPECT_EQ(v, kMissing);
    EXPECT_NE(s.nt_test[other], kMissing);
    EXPECT_NE(s.w_test[other], kMissing);
    EXPECT_NE(s.j_test[other], kMissing);
  }
}

TEST_F(NonNested, NestedPagePrintsNoneForTheNestingDirection) {
  run_option({kIntercept, kLy}, "INPT LY INFL R");
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 1u);
  for (const char* label : {"     N-Test", "    NT-Test", "     W-Test", "     J-Test", "    JA-Test"}) {
    SCOPED_TRACE(label);
    std::string line;
    for (const auto& l : pages[0])
      if (l.rfind(label, 0) == 0) line = l;
    ASSERT_FALSE(line.empty());
    // M2 against M1 is the last field, ending in column 72 without a probability.
    EXPECT_EQ(line.find_last_not_of(' '), 71u) << line;
    EXPECT_EQ(line.substr(66, 6), "*NONE*") << line;
  }
}

TEST_F(NonNested, PageLaysOutBothDirections) {
  run_option({kIntercept, kLy, kInfl}, "INPT LY R");
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 1u);
  const auto& p = pages[0];
  const auto has = [&](const std::string& text) { return dialog_script::page_has(p, text); };
  EXPECT_TRUE(has(" Alternative Tests for Non-Nested Regression Models"));
  EXPECT_TRUE(has(" Dependent variable is LC 196 observations used from 1960Q1 to 2008Q4"));
  EXPECT_TRUE(has(" Regressors for model M2:"));
  // Values rounded from the reference file; the second Encompassing F ends where the statistics do.
  EXPECT_TRUE(has("     N-Test                     -20.8063[.000]                    .48224[.630]"));
  EXPECT_TRUE(has("     J-Test                      10.5392[.000]                   -.49441[.621]"));
  EXPECT_TRUE(has("    JA-Test                     -10.5392[.000]                    .49441[.621]"));
  EXPECT_TRUE(has("  Encompassing     F(  1, 192)  111.0739[.000]     F(  1, 192)    .24445[.622]"));
  // M1+M2 is the macro reference regression: its DW and R-bar-squared are in ols-macro.
  EXPECT_TRUE(has(" Model M1+M2: DW    .45022;R-Bar-Squared    .99910;Log-likelihood  553.2183"));
  EXPECT_TRUE(has(" Akaike's Information Criterion of M1 versus M2= -44.6105 favours M2"));
}

TEST_F(NonNested, SecondStatisticKeepsItsColumnAfterAMissingValue) {
  const auto lines = page([] {
    diagnostics::WRITESTATLINE(" N-Test", 1.5, -2.0, core::channel::kResultsPage);
    diagnostics::WRITESTATLINE("NT-Test", kMissing, -2.0, core::channel::kResultsPage);
  });
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 46), "     N-Test                       1.5000[.134]");
  EXPECT_EQ(lines[1].substr(0, 46), "    NT-Test                       *NONE*      ");
  EXPECT_EQ(lines[0].substr(46), lines[1].substr(46));
  EXPECT_EQ(lines[0].substr(46, 32), "                   -2.0000[.046]");
}

TEST_F(NonNested, RefusalsAndCancelsLeaveTheSampleAsItWas) {
  struct Row {
    std::vector<int> m1;
    const char* m2;
    const char* seen;  ///< text of the message, or "" when the page is shown
  };
  const Row rows[] = {
      {{kIntercept, kLy}, "LY INPT", "The two models are the same"},
      {{kIntercept, kLy}, "INPT LY LC(-1)", ""},  // the sample moves past 1960Q1 for the test only
      {{kIntercept, kLy, kInfl}, "INPT LY INFL R R(-1)", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.m2);
    const std::string seen = run_option(r.m1, r.m2);
    EXPECT_EQ(core::globals().sample_start, 1);
    EXPECT_EQ(core::globals().sample_end, 196);
    if (*r.seen) {
      EXPECT_NE(seen.find(r.seen), std::string::npos) << seen;
      EXPECT_TRUE(dialog_script::pages().empty());
    } else {
      ASSERT_EQ(dialog_script::pages().size(), 1u) << seen;
    }
  }
  // A lagged rival: 195 observations from 1960Q2.
  run_option({kIntercept, kLy}, "INPT LY LC(-1)");
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 1u);
  bool found = false;
  for (const auto& line : pages[0])
    found = found || line.find("195 observations used from 1960Q2 to 2008Q4") != std::string::npos;
  EXPECT_TRUE(found);
}

}  // namespace
