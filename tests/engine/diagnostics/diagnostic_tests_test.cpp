// The diagnostic tests table read off the results page by its columns, against the
// reference values of the US macro regressions, and its edge cases.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/auxiliary_regression.h"
#include "engine/diagnostics/chow_tests.h"
#include "engine/diagnostics/diagnostic_rows.h"
#include "engine/diagnostics/diagnostic_tests.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/diagnostics/estimate_fixture.h"
#include "tests/engine/single/printed_numbers.h"

using namespace qorv;
using namespace qorv::diagnostics;
using qorv::testing::agrees;
using qorv::testing::columns;
using qorv::testing::Expected;
using qorv::testing::parse_number;
using qorv::testing::shows;
using qorv::testing::trim;
namespace macro = qorv::testing::macro;

namespace {

struct Case {
  const char* name;
  std::vector<int> equation;
  int first, last, kept_back;
};

const std::vector<int> kStatic = {macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR};
const std::vector<int> kDynamic = {macro::kLc, macro::kIntercept, macro::kLcLag, macro::kLy, macro::kInfl, macro::kR};

// 1960Q1 is observation 1, 2006Q4 observation 188, 2008Q4 observation 196.
const Case kCases[] = {
    {"S", kStatic, 1, 196, 0},
    {"D", kDynamic, 2, 196, 0},
    {"S8", kStatic, 1, 188, 8},
    {"D8", kDynamic, 2, 188, 8},
};

class DiagnosticTable : public qorv::testing::EstimateTest {
 protected:
  std::vector<std::string> table() {
    return page([] { DIAGNOSTICTESTS(core::channel::kResultsPage); });
  }
};

/// The line that starts with `label`, or an empty text.
std::string row(const std::vector<std::string>& lines, const std::string& label) {
  const auto it = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(label); });
  return it == lines.end() ? std::string() : *it;
}

int integer(const std::string& text) { return std::stoi(trim(text)); }

}  // namespace

TEST_F(DiagnosticTable, EveryPrintedStatisticAgreesWithTheReference) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto ex = qorv::testing::macro_expected(c.name);
    estimate_ols(c.equation, c.first, c.last, c.kept_back);
    ASSERT_EQ(single::estimation().status, 0);
    const auto lines = table();
    struct Row {
      const char* label;
      std::string test, lm;  // expected.csv prefix, name of the chi-squared form
      bool has_f;
    };
    std::vector<Row> rows = {{"* A:Serial Correlation*", "A", "LM", true},
                             {"* B:Functional Form   *", "B", "LM", true},
                             {"* C:Normality         *", "C", "LM", false},
                             {"* D:Heteroscedasticity*", "D", "LM", true}};
    if (c.kept_back > 0) {
      rows.push_back({"* E:Predictive Failure*", "E", "CHSQ", true});
      rows.push_back({"* F:Chow Test         *", "F", "CHSQ", true});
    }
    for (const auto& r : rows) {
      const std::string line = row(lines, r.label);
      SCOPED_TRACE(line);
      ASSERT_FALSE(line.empty()) << r.label;
      ASSERT_EQ(line.size(), 79u);
      const std::string x = r.test + "_" + r.lm;
      EXPECT_EQ(columns(line, 24, 28), "CHSQ(");
      EXPECT_EQ(integer(columns(line, 29, 32)), ex.at(x + "_DF").value);
      EXPECT_EQ(columns(line, 33, 34), ")=");
      EXPECT_TRUE(shows(parse_number(columns(line, 35, 43)), ex.at(x)));
      EXPECT_EQ(columns(line, 44, 44) + columns(line, 49, 50), "[]*");
      EXPECT_TRUE(shows(parse_number(columns(line, 45, 48)), ex.at(x + "_PROB")));
      if (r.has_f) {
        const std::string f = r.test + "_F";
        EXPECT_EQ(columns(line, 51, 52), "F(");
        EXPECT_EQ(integer(columns(line, 53, 56)), ex.at(f + "_DF1").value);
        EXPECT_EQ(columns(line, 57, 57), ",");
        EXPECT_EQ(integer(columns(line, 58, 61)), ex.at(f + "_DF2").value);
        EXPECT_EQ(columns(line, 62, 63), ")=");
        EXPECT_TRUE(shows(parse_number(columns(line, 64, 72)), ex.at(f)));
        EXPECT_EQ(columns(line, 73, 73) + columns(line, 78, 79), "[]*");
        EXPECT_TRUE(shows(parse_number(columns(line, 74, 77)), ex.at(f + "_PROB")));
      } else {
        EXPECT_EQ(columns(line, 51, 79), "       Not applicable       *");
      }
    }
    const bool footnotes_e = !row(lines, "   E:A test of adequacy of predictions (Chow's second test)").empty();
    const bool footnotes_f = !row(lines, "   F:Test of stability of the regression coefficients").empty();
    EXPECT_EQ(footnotes_e, c.kept_back > 0);
    EXPECT_EQ(footnotes_f, c.kept_back > 0);
    EXPECT_EQ(row(lines, "* E:").empty(), c.kept_back == 0);
  }
}

TEST_F(DiagnosticTable, UnroundedStatisticsWithinTheReferenceTolerances) {
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    const auto ex = qorv::testing::macro_expected(c.name);
    estimate_ols(c.equation, c.first, c.last, c.kept_back);
    const auto d = diagnostic_statistics();
    EXPECT_EQ(d.order, ex.at("A_ORDER").value);
    EXPECT_PRED2(agrees, d.serial_lm, ex.at("A_LM"));
    EXPECT_PRED2(agrees, d.serial_f, ex.at("A_F"));
    EXPECT_PRED2(agrees, d.reset_lm, ex.at("B_LM"));
    EXPECT_PRED2(agrees, d.reset_f, ex.at("B_F"));
    EXPECT_PRED2(agrees, d.normality_lm, ex.at("C_LM"));
    EXPECT_PRED2(agrees, d.hetero_lm, ex.at("D_LM"));
    EXPECT_PRED2(agrees, d.hetero_f, ex.at("D_F"));
    if (c.kept_back == 0) continue;
    const auto& s = single::estimation();
    const ChowSums sums = chow_sums(c.kept_back);
    EXPECT_PRED2(agrees, sums.rss1, ex.at("RSS_T1"));
    EXPECT_PRED2(agrees, sums.rss, ex.at("RSS_ALL"));
    EXPECT_PRED2(agrees, sums.rss2, ex.at("RSS_T2"));
    const ChowStatistics chow = chow_statistics(c.kept_back, s.nused, s.nregs, sums, 1e-11);
    EXPECT_PRED2(agrees, chow.failure_f, ex.at("E_F"));
    EXPECT_PRED2(agrees, chow.failure_chsq, ex.at("E_CHSQ"));
    EXPECT_PRED2(agrees, chow.stability_f, ex.at("F_F"));
    EXPECT_PRED2(agrees, chow.stability_chsq, ex.at("F_CHSQ"));
  }
}

TEST_F(DiagnosticTable, LayoutOfTheHeadingRowsAndFootnotes) {
  estimate_ols(kStatic, 1, 188, 8);
  const auto lines = table();
  const std::string stars(79, '*');
  ASSERT_GE(lines.size(), 24u);
  EXPECT_EQ(trim(lines[0]), "");
  EXPECT_EQ(trim(lines[1]), "");
  EXPECT_EQ(lines[2], std::string(31, ' ') + "Diagnostic Tests");
  EXPECT_EQ(lines[3], stars);
  EXPECT_EQ(lines[4], "*    Test Statistics  *        LM Version        *         F Version          *");
  EXPECT_EQ(lines[5], stars);
  const std::string spacer = "*" + std::string(21, ' ') + "*" + std::string(26, ' ') + "*" + std::string(28, ' ') + "*";
  for (size_t i = 6; i < 18; i += 2) EXPECT_EQ(lines[i], spacer) << i;
  EXPECT_TRUE(lines[7].starts_with("* A:Serial Correlation*CHSQ(   4)="));
  EXPECT_TRUE(lines[17].starts_with("* F:Chow Test         *CHSQ(   4)="));
  EXPECT_EQ(lines[18], stars);
  const std::vector<std::string> notes = {
      "   A:Lagrange multiplier test of residual serial correlation",
      "   B:Ramsey's RESET test using the square of the fitted values",
      "   C:Based on a test of skewness and kurtosis of residuals",
      "   D:Based on the regression of squared residuals on squared fitted values",
      "   E:A test of adequacy of predictions (Chow's second test)",
      "   F:Test of stability of the regression coefficients"};
  ASSERT_EQ(lines.size(), 19 + notes.size());
  for (size_t i = 0; i < notes.size(); ++i) EXPECT_EQ(trim(lines[19 + i]), trim(notes[i]));
  for (size_t i = 0; i < notes.size(); ++i) EXPECT_TRUE(lines[19 + i].starts_with(notes[i]));
}

TEST(DiagnosticRow, MissingStatisticsAndTheAbsentFColumnKeepTheColumns) {
  const std::string none = diagnostic_row("* B:Functional Form   *", {limits::kMissing, 1, 0}, {-1.0, 1, 30}, true);
  EXPECT_EQ(none, "* B:Functional Form   *CHSQ(   1)=   *NONE*      *F(   1,  30)=   *NONE*      *");
  const std::string iv = diagnostic_row("* A:Serial Correlation*", {2.5, 4, 0}, {}, false);
  EXPECT_EQ(columns(iv, 24, 49), "CHSQ(   4)=   2.5000[.645]");
  EXPECT_EQ(columns(iv, 50, 79), "*       Not applicable       *");
}
