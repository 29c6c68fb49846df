// The estimate's page read as a user reads it: rows by column, blocks by label.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "engine/single/least_squares.h"
#include "engine/single/result_report.h"
#include "tests/engine/single/longley_reference.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/page_reading.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using namespace qorv::single;
using qorv::testing::Expected;
using qorv::testing::macro_expected;
using qorv::testing::columns;
using qorv::testing::parse_number;
using qorv::testing::shows;
using qorv::testing::trim;
namespace macro = qorv::testing::macro;

namespace {

class ResultReport : public qorv::testing::MacroTest {
 protected:
  /// Estimates the equation by OLS and returns the page's lines.
  std::vector<std::string> page(std::vector<int> equation, int first) {
    core::globals().sample_start = first;
    auto& s = estimation();
    s.eqvarlist = equation;
    s.eqvarnames.clear();
    s.reglagtable.clear();
    for (size_t i = 0; i < equation.size(); ++i) {
      s.eqvarnames.push_back(core::variable_name(equation[i]));
      if (i > 0) s.reglagtable.push_back({equation[i] == macro::kLcLag ? macro::kLc : equation[i],
                                          equation[i] == macro::kLcLag ? -1 : 0});
    }
    begin_estimate(method::kOls);
    EXPECT_TRUE(load_sample());
    double ms = 0, ll = 0;
    RESIDUALSUMMARY(ms, ll, true);
    EXPECT_EQ(s.status, 0);
    // One file per test: ctest runs the tests of this file side by side.
    const auto path = std::filesystem::temp_directory_path() /
                      (std::string("single_report_page_") +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt");
    EXPECT_TRUE(core::open_channel(core::channel::kResultsPage, path, core::OpenMode::kReplace));
    core::report_writer().copy_flag = true;
    write_estimate_report(core::channel::kResultsPage);
    core::report_writer().copy_flag = false;
    core::close_channel(core::channel::kResultsPage, core::CloseMode::kKeep);
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    std::filesystem::remove(path);
    return lines;
  }
};

struct Case {
  const char* name;
  int first;
  std::vector<int> equation;
  std::vector<std::string> labels;
};

const Case kCases[] = {
    {"S", 1, {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, {"INPT", "LY", "INFL", "R"}},
    {"D", 2, {macro::kLc, macro::kIntercept, macro::kLcLag, macro::kLy, macro::kInfl, macro::kR},
     {"INPT", "LC(-1)", "LY", "INFL", "R"}},
};

TEST_F(ResultReport, EveryPrintedNumberAgreesWithTheReference) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto ex = macro_expected(c.name);
    const auto lines = page(c.equation, c.first);
    ASSERT_GT(lines.size(), 10u);
    EXPECT_EQ(trim(lines[0]), "Ordinary Least Squares Estimation");
    EXPECT_EQ(lines[0].find_first_not_of(' '), (79 - 33) / 2u);
    const std::string sample = c.name[0] == 'S' ? "196 observations used for estimation from 1960Q1 to 2008Q4"
                                                : "195 observations used for estimation from 1960Q2 to 2008Q4";
    EXPECT_NE(std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return trim(l) == sample; }),
              lines.end());
    // The heading, then one row per regressor, parsed by column.
    size_t h = 0;
    while (h < lines.size() && lines[h].find("Regressor") == std::string::npos) ++h;
    ASSERT_LT(h, lines.size());
    EXPECT_EQ(columns(lines[h], 2, 10), "Regressor");
    EXPECT_EQ(columns(lines[h], 25, 35), "Coefficient");
    EXPECT_EQ(columns(lines[h], 43, 56), "Standard Error");
    EXPECT_EQ(columns(lines[h], 66, 78), "T-Ratio[Prob]");
    for (size_t j = 0; j < c.labels.size(); ++j) {
      const std::string& row = lines[h + 1 + j];
      const std::string& label = c.labels[j];
      SCOPED_TRACE(row);
      EXPECT_EQ(row[0], ' ');
      EXPECT_EQ(trim(columns(row, 2, 24)), label);
      EXPECT_EQ(row[24], ' ');
      EXPECT_TRUE(shows(parse_number(columns(row, 26, 34)), ex.at("coef:" + label)));
      EXPECT_TRUE(shows(parse_number(columns(row, 45, 53)), ex.at("se:" + label)));
      EXPECT_TRUE(shows(parse_number(columns(row, 64, 72)), ex.at("t:" + label)));
      EXPECT_EQ(columns(row, 73, 73), "[");
      EXPECT_EQ(columns(row, 78, 78), "]");
      EXPECT_TRUE(shows(parse_number(columns(row, 74, 77)), ex.at("tprob:" + label)));
    }
    std::string text;
    for (const auto& l : lines) text += l + "\n";
    const std::string num = R"(\s*(-?[0-9.]+(?:E[-+]?[0-9]+)?|\*NONE\*))";
    const auto grab = [&](const std::string& label) {
      std::smatch m;
      const std::regex re(label + num);
      EXPECT_TRUE(std::regex_search(text, m, re)) << label;
      return parse_number(m.size() > 1 ? m[1].str() : "*NONE*");
    };
    EXPECT_TRUE(shows(grab(R"( R-Squared)"), ex.at("R2")));
    EXPECT_TRUE(shows(grab(R"(R-Bar-Squared)"), ex.at("RBAR2")));
    EXPECT_TRUE(shows(grab(R"(S\.E\. of Regression)"), ex.at("SE_REG")));
    EXPECT_TRUE(shows(grab(R"(Mean of Dependent Variable)"), ex.at("MEAN_Y")));
    EXPECT_TRUE(shows(grab(R"(S\.D\. of Dependent Variable)"), ex.at("SD_Y")));
    EXPECT_TRUE(shows(grab(R"(Residual Sum of Squares)"), ex.at("RSS")));
    EXPECT_TRUE(shows(grab(R"(Equation Log-likelihood)"), ex.at("LL")));
    EXPECT_TRUE(shows(grab(R"(Akaike Info\. Criterion)"), ex.at("AIC")));
    EXPECT_TRUE(shows(grab(R"(Schwarz Bayesian Criterion)"), ex.at("SBC")));
    EXPECT_TRUE(shows(grab(R"(DW-statistic)"), ex.at("DW")));
    std::smatch f;
    ASSERT_TRUE(std::regex_search(text, f, std::regex(R"(F-stat\.\s+F\(\s*(\d+),\s*(\d+)\)\s*(\S+)\[(\S+)\])")));
    EXPECT_EQ(std::stoi(f[1]), ex.at("F_DF1").value);
    EXPECT_EQ(std::stoi(f[2]), ex.at("F_DF2").value);
    EXPECT_TRUE(shows(parse_number(f[3]), ex.at("F")));
    EXPECT_TRUE(shows(parse_number(f[4]), ex.at("F_PROB")));
    std::smatch dh;
    const bool has_h = std::regex_search(text, dh, std::regex(R"(Durbin's h-statistic\s+(\S+)\[(\S+)\])"));
    EXPECT_EQ(has_h, ex.count("DURBIN_H") == 1);
    if (has_h) {
      EXPECT_TRUE(shows(parse_number(dh[1]), ex.at("DURBIN_H")));
      EXPECT_TRUE(shows(parse_number(dh[2]), ex.at("DURBIN_H_PROB")));
    }
    for (const auto& l : lines) EXPECT_LE(l.size(), 79u) << l;
  }
}

TEST_F(ResultReport, FitStatisticsAtTheirUnitsAgreeWithTheReference) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto ex = macro_expected(c.name);
    page(c.equation, c.first);
    const auto& s = estimation();
    const auto fit = FITSTATS(method::kOls, series_block(block::kResiduals), s.nregs, 0, s.depvar, limits::kMissing,
                              false, 0);
    EXPECT_PRED2(qorv::testing::agrees, fit.r2, ex.at("R2"));
    EXPECT_PRED2(qorv::testing::agrees, fit.rbar2, ex.at("RBAR2"));
    EXPECT_PRED2(qorv::testing::agrees, fit.sigma, ex.at("SE_REG"));
    EXPECT_PRED2(qorv::testing::agrees, fit.f, ex.at("F"));
    EXPECT_PRED2(qorv::testing::agrees, fit.dw, ex.at("DW"));
    EXPECT_PRED2(qorv::testing::agrees, s.loglik - s.nregs, ex.at("AIC"));
    EXPECT_PRED2(qorv::testing::agrees, s.loglik - 0.5 * s.nregs * std::log(static_cast<double>(s.nused)),
                 ex.at("SBC"));
    if (ex.count("DURBIN_H")) {
      EXPECT_PRED2(qorv::testing::agrees, durbin_h(fit.dw, s.nused, coefficient_variance(2, 2)), ex.at("DURBIN_H"));
    }
  }
}

TEST(FitEdges, ConstantDependentPerfectFitAndInterceptOnly) {
  struct Row {
    const char* what;
    std::vector<double> e;
    int k;
    double variance;
    bool r2_missing, r2_one, f_missing, dw_missing;
  };
  const Row rows[] = {
      {"constant dependent", {0.1, -0.1, 0.2, -0.2}, 2, 0.0, true, false, true, false},
      {"perfect fit", {0.0, 0.0, 0.0, 0.0}, 2, 2.5, false, true, true, true},
      {"intercept only", {0.5, -1.0, 0.25, 0.25}, 1, 0.4375, false, false, true, false},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.what);
    const auto fit = FITSTATS(method::kOls, r.e, r.k, 0, r.variance, limits::kMissing, false, 0);
    EXPECT_EQ(fit.r2 == limits::kMissing, r.r2_missing);
    EXPECT_EQ(fit.rbar2 == limits::kMissing, r.r2_missing);
    EXPECT_EQ(fit.r2 == 1.0 && fit.rbar2 == 1.0, r.r2_one);
    EXPECT_EQ(fit.f == limits::kMissing, r.f_missing);
    EXPECT_EQ(fit.dw == limits::kMissing, r.dw_missing);
  }
  EXPECT_EQ(durbin_h(1.5, 100, 0.01), limits::kMissing);  // n·v = 1
  EXPECT_NEAR(durbin_h(1.5, 100, 0.005), 0.25 * std::sqrt(200.0), 1e-12);
}

TEST(CoefficientRow, MissingAndTinyStandardErrorsShowNoProbability) {
  const std::string zero = coefficient_row("X", 0.0, 0.25, 30);
  EXPECT_EQ(trim(columns(zero, 45, 53)), ".25000");
  EXPECT_EQ(trim(columns(zero, 64, 72)), "0.00");
  EXPECT_EQ(columns(zero, 73, 78), "[1.00]");
  const std::string tiny = coefficient_row("A LONG NAME 14", 2.0, 1e-12, 30);
  EXPECT_EQ(columns(tiny, 2, 15), "A LONG NAME 14");
  EXPECT_EQ(trim(columns(tiny, 64, 72)), "*NONE*");
  EXPECT_EQ(trim(columns(tiny, 73, 79)), "");
  const std::string none = coefficient_row("X", 2.0, limits::kMissing, 30);
  EXPECT_EQ(trim(columns(none, 45, 53)), "*NONE*");
  EXPECT_EQ(trim(columns(none, 64, 72)), "*NONE*");
  const std::string t = coefficient_row("X", -2.0, 1.0, 30);
  EXPECT_EQ(columns(t, 73, 78), "[.055]");
}

/// NIST Longley: y on a constant and six regressors, certified to 15 digits.
class LongleyReport : public qorv::testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ref_ = qorv::testing::read_longley();
    const auto& rows = ref_.rows;
    ASSERT_EQ(ref_.coef.size(), 7u);
    auto& g = core::globals();
    g.nobs = static_cast<int>(rows.size());
    g.nvars = 8;
    g.frequency = 2;
    g.periods_per_year = 1;
    g.start_year = 47;
    g.century_base = 1900;
    g.sample_start = 1;
    g.sample_end = g.nobs;
    const char* names[] = {"Y", "X1", "X2", "X3", "X4", "X5", "X6", "C"};
    for (int v = 1; v <= 8; ++v) core::set_variable(v, names[v - 1], "");
    for (int t = 1; t <= g.nobs; ++t) {
      for (int v = 1; v <= 7; ++v) core::data_at(t, v) = rows[static_cast<size_t>(t - 1)][static_cast<size_t>(v - 1)];
      core::data_at(t, 8) = 1.0;
    }
  }
  qorv::testing::LongleyReference ref_;
};

TEST_F(LongleyReport, CertifiedValuesOnThePageAndInTheState) {
  dialog_script::load("results -> close\nmenu 1002 -> 0\n");
  take_equation(std::vector<int>{1, 8, 2, 3, 4, 5, 6, 7});
  estimation().method = method::kOls;
  ASSERT_TRUE(start_estimate());
  ASSERT_EQ(estimate_equation(true), EstimateOutcome::kEstimated);
  diagnostics::POSTREGRESSION();
  for (int j = 1; j <= 7; ++j) {
    SCOPED_TRACE(j);
    const double b = ref_.coef[static_cast<size_t>(j - 1)], se = ref_.se[static_cast<size_t>(j - 1)];
    EXPECT_NEAR(coefficient(j), b, 1e-8 * std::fabs(b));
    EXPECT_NEAR(std::sqrt(coefficient_variance(j, j)), se, 1e-8 * se);
  }
  // The page as the viewer received it: one row per regressor after the heading.
  const auto page = qorv::testing::last_page();
  const size_t h = qorv::testing::find_line(page, "T-Ratio[Prob]");
  ASSERT_LT(h + 7, page.size());
  for (size_t j = 0; j < 7; ++j) {
    const std::string& row = page[h + 1 + j];
    SCOPED_TRACE(row);
    EXPECT_TRUE(shows(parse_number(columns(row, 26, 34)), Expected{ref_.coef[j], 1e-8, true}));
    EXPECT_TRUE(shows(parse_number(columns(row, 45, 53)), Expected{ref_.se[j], 1e-8, true}));
  }
}

}  // namespace
