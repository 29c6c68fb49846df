// The shared table writers, checked against layouts worked out by hand from their column
// rules: covariance pages in blocks, the fitted-value listing, name lists, heading rows,
// the F-statistic line, the cointegration header and rank table, the restriction text.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/system_headers.h"
#include "engine/core/text_format.h"
#include "shared/fixed_text.h"
#include "tests/engine/core/long_temp_folder.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

using namespace qorv::core;
using Lines = std::vector<std::string>;

constexpr double kMissing = limits::kMissing;
constexpr int kPage = 6;  // any channel but 10 and 55 reaches the page

const std::string kStars(79, '*');
std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

class ResultTablesTest : public qorv::testing::LongTempFolderTest {
 protected:
  void SetUp() override {
    LongTempFolderTest::SetUp();
    dialog_script::load("results -> close\n");
  }
  /// Runs `write` on an open page and returns the page's lines without the final form feed.
  template <typename Write>
  static Lines page_of(Write write) {
    SHOWRESULTS(kOpenPage);
    write();
    SHOWRESULTS(kShowPage);
    return last_page();
  }
  /// The lines of the last page the viewer showed, without the final form feed.
  static Lines last_page() {
    Lines page;
    for (const std::string& line : dialog_script::transcript()) {
      if (line.starts_with("--- page ")) {
        page.clear();
      } else if (line != "--- end page ---") {
        page.push_back(line);
      }
    }
    if (!page.empty() && page.front().starts_with("results ")) page.erase(page.begin());
    if (!page.empty() && page.back() == "\f") page.pop_back();
    return page;
  }
  static void quarterly_from_1990q1() {
    Globals& g = globals();
    g.frequency = 4;
    g.periods_per_year = 4;
    g.start_year = 90;
    g.start_period = 1;
    g.century_base = 1900;
  }
};

/// Packed symmetric storage of the k x k matrix with element (i, j) = f(i, j), from 1.
template <typename F>
std::vector<double> packed(int k, F f) {
  std::vector<double> m;
  for (int i = 1; i <= k; ++i)
    for (int j = 1; j <= i; ++j) m.push_back(f(i, j));
  return m;
}

TEST_F(ResultTablesTest, CorrelationMatrixOfEightVariablesInTwoBlocks) {
  std::vector<std::string> names = {"V1", "V2", "V3", "V4", "V5", "V6", "V7", "V8"};
  const std::vector<double> m = packed(8, [](int i, int j) { return i == j ? 1.0 : 0.1 * std::abs(i - j); });
  // Hand layout: names centred in 9 columns from column 14, ten apart; numbers as
  // 10-column fields from column 12; 1.0 prints "1.0000", 0.k prints ".k0000".
  const auto field = [](int i, int j) {
    return i == j ? std::string("    1.0000") : "    ." + std::to_string(std::abs(i - j)) + "0000";
  };
  const auto block = [&](int c0, int c1) {
    Lines lines = {"", "", blanks(19) + "Estimated Correlation Matrix of Variables", "", kStars};
    std::string heading = blanks(13);
    for (int j = c0; j <= c1; ++j) heading += "    V" + std::to_string(j) + (j < c1 ? "    " : "");
    lines.push_back(heading);
    for (int i = 1; i <= 8; ++i) {
      std::string row = " V" + std::to_string(i) + blanks(8);
      for (int j = c0; j <= c1; ++j) row += field(i, j);
      lines.push_back(row);
      lines.emplace_back("");
    }
    return lines;
  };
  Lines expected = block(1, 6);
  const Lines second = block(7, 8);
  expected.insert(expected.end(), second.begin(), second.end());
  expected.push_back(kStars);

  int k = 8;
  PRINTCOVMATRIX(1, {}, names, k, kCorrelationMatrix, 6, 1.0, m, 8);
  EXPECT_EQ(last_page(), expected);
  EXPECT_FALSE(report_writer().copy_flag);
}

TEST_F(ResultTablesTest, ParameterMatrixWithAdjustedVarianceAndHeader) {
  globals().adjusted_variance_kind = 3;
  globals().truncation_lag = 2;
  std::vector<std::string> names = {"Y", "INPT", "X1", "X2", "X3", "X4"};
  const std::vector<double> m = packed(5, [](int i, int j) { return i == j ? double(i) : -0.5; });
  // Scale 2 multiplies every element by 4: diagonal 4, 8, 12, 16, 20 and -2 elsewhere.
  const std::string minus2 = "   -2.0000";
  const Lines head = {blanks(14) + "Estimated Variance-Covariance Matrix of parameters",
                      blanks(8) + "Newey-West adjusted estimates, equal weights, truncation lag= 2",
                      " Based on OLS regression of Y on:"};
  Lines expected = {"", ""};
  expected.insert(expected.end(), head.begin(), head.end());
  expected.push_back(blanks(18) + "   INPT" + blanks(8) + "    X1" + blanks(9) + "    X2" + blanks(9) + "    X3");
  const std::vector<std::string> labels = {" INPT" + blanks(13), " X1" + blanks(15), " X2" + blanks(15),
                                           " X3" + blanks(15), " X4" + blanks(15)};
  const std::vector<std::string> diagonal = {"    4.0000", "    8.0000", "   12.0000", "   16.0000", "   20.0000"};
  for (int i = 0; i < 5; ++i) {
    std::string row = labels[static_cast<std::size_t>(i)];
    for (int j = 0; j < 4; ++j) row += (j > 0 ? blanks(5) : "") + (i == j ? diagonal[static_cast<std::size_t>(i)] : minus2);
    expected.push_back(row);
    expected.emplace_back("");
  }
  expected.insert(expected.end(), {"", ""});
  expected.insert(expected.end(), head.begin(), head.end());
  expected.push_back(blanks(18) + "    X4");
  for (int i = 0; i < 5; ++i) {
    expected.push_back(labels[static_cast<std::size_t>(i)] + (i == 4 ? diagonal[4] : minus2));
    expected.emplace_back("");
  }
  expected.push_back(kStars);

  int k = 5;
  PRINTCOVMATRIX(1, [] { WRITELINE(" Based on OLS regression of Y on:", kPage); }, names, k, kParameterMatrix, 4, 2.0, m,
                 5);
  EXPECT_EQ(last_page(), expected);
}

TEST_F(ResultTablesTest, ArdlLongRunMatrixUsesTheLongRunCountAndRestoresK) {
  globals().ardl_long_run_count = 1;
  std::vector<std::string> names = {"Y", "X", "W"};
  const std::vector<double> m = {0.25, 0.0, 0.0};
  int k = 2;
  PRINTCOVMATRIX(80, {}, names, k, kParameterMatrix, 4, 1.0, m, 4);
  EXPECT_EQ(k, 2);
  const Lines page = last_page();
  ASSERT_GE(page.size(), 7u);
  EXPECT_EQ(fixed_text::trim(page[2]), "Estimated Variance-Covariance Matrix of Long Run Coefficients (ARDL Approach)");
  EXPECT_EQ(page[3], "");  // no adjusted variance: a blank line
  EXPECT_EQ(page[4], blanks(18) + "    X");
  EXPECT_EQ(page[5], " X" + blanks(16) + "    .25000");
  EXPECT_EQ(page.size(), 8u);  // one row, its blank line and the rule
}

TEST_F(ResultTablesTest, FittedValueListing) {
  quarterly_from_1990q1();
  std::vector<double> values(18003, 0.0);
  const double actual[] = {1.5, 2.25, -0.75}, fitted[] = {1.25, 2.5, kMissing}, residual[] = {0.25, -0.25, kMissing};
  for (int t = 0; t < 3; ++t) {
    values[static_cast<std::size_t>(t)] = actual[t];
    values[static_cast<std::size_t>(t) + 15000] = fitted[t];
    values[static_cast<std::size_t>(t) + 18000] = residual[t];
  }
  int status = -1;
  const Lines page = page_of([&] { PRINTFITTED(3, 0, values, 1, kPage, status); });
  EXPECT_EQ(status, 0);
  EXPECT_EQ(page, (Lines{
                      " Observation" + blanks(13) + "Actual" + blanks(13) + "Fitted" + blanks(13) + "Residual",
                      "  1990Q1" + blanks(14) + "    1.5000" + blanks(9) + "    1.2500" + blanks(10) + "    .25000",
                      "  1990Q2" + blanks(14) + "    2.2500" + blanks(9) + "    2.5000" + blanks(10) + "   -.25000",
                      "  1990Q3" + blanks(14) + "   -.75000" + blanks(9) + "    *NONE*" + blanks(10) + "    *NONE*",
                      kStars,
                  }));

  // Other methods head the last column "Transformed Residual"; an undated label leaves
  // blank columns that the numbers move into.
  globals().frequency = 1;
  const Lines other = page_of([&] { PRINTFITTED(1, 6, std::span(values).subspan(2), 2, kPage, status); });
  ASSERT_EQ(other.size(), 3u);
  EXPECT_EQ(other[0], " Observation" + blanks(13) + "Actual" + blanks(13) + "Fitted" + blanks(7) + "Transformed Residual");
  EXPECT_EQ(other[1], "     7" + blanks(14) + "   -.75000" + blanks(9) + "    *NONE*" + blanks(10) + "    *NONE*");

  PRINTFITTED(5, 0, std::span(values).first(100), 1, kPage, status);
  EXPECT_EQ(status, 1);  // too short for the fitted values and residuals
}

TEST_F(ResultTablesTest, NameListsAndHeadingRows) {
  const std::vector<std::string> items = {"ALPHA", "BETA", "GAMMA", "DELTA", "EPSILON", "ZETA", "A_VERY_LONG_NAME"};
  const std::string slot1 = fixed_text::pad("ALPHA", 14) + blanks(2);
  std::vector<std::string> heads = {"R", "DP", "LONGNAME9"};
  const Lines page = page_of([&] {
    WRITENAMELIST(items, 7, kPage);
    WRITENAMELIST(items, 0, kPage);
    const std::vector<int> index = {7, 2};
    WRITENAMELIST2(items, index, 2, kPage);
    WRITETABLEROW(" Horizon", 1, heads, 3, 6, 9, 3, kPage);
    WRITETABLEROW(" ", 13, heads, 3, 2, 9, 1, kPage);
  });
  EXPECT_EQ(page, (Lines{
                      " " + slot1 + fixed_text::pad("BETA", 16) + fixed_text::pad("GAMMA", 16) +
                          fixed_text::pad("DELTA", 16) + "EPSILON",
                      " " + fixed_text::pad("ZETA", 16) + "A_VERY_LONG_NA",
                      " A_VERY_LONG_NA  BETA",
                      " Horizon    R" + blanks(11) + "DP" + blanks(6) + "LONGNAME9",
                      blanks(13) + "    R    " + " " + "    DP",
                  }));
  EXPECT_EQ(heads[0], "R");  // centring left-justifies the caller's names
}

TEST_F(ResultTablesTest, OrderLineKeepsTheStarInOneColumn) {
  std::string missing = fixed_text::pad(" Statistic", 79);
  PRINTORDERLINE(missing, 2, 30, kMissing, kMissing);
  EXPECT_EQ(fixed_text::trim_right(missing), " StatisticF(   2,  30)=   *NONE*      *");

  std::string computed = fixed_text::pad(" Statistic", 79);
  PRINTORDERLINE(computed, 2, 30, 3.32, kMissing);  // P(F(2,30) > 3.32) = (1 + 3.32/15)^-15 = .0498
  EXPECT_EQ(fixed_text::trim_right(computed), " StatisticF(   2,  30)=   3.3200[.050]*");
}

TEST_F(ResultTablesTest, SystemModelTitles) {
  const Lines page = page_of([] {
    std::string line(79, ' ');
    SYSTEMMODELTITLE(line, 4, kPage);
    SYSTEMMODELTITLE(line, -1, kPage);
    line = fixed_text::pad("Kept text", 79);
    SYSTEMMODELTITLE(line, 9, kPage);
  });
  const std::string trend = "Cointegration with unrestricted intercepts and restricted trendsin the VAR";
  EXPECT_EQ(page, (Lines{blanks((79 - 74) / 2) + trend, blanks((79 - 42) / 2) + "Seemingly Unrelated Regressions Estimation",
                         blanks(35) + "Kept text"}));
}

TEST_F(ResultTablesTest, CointegrationHeader) {
  quarterly_from_1990q1();
  const std::vector<std::string> names = {"Y1", "Y2", "Y3", "Y4", "X1", "Intercept"};
  const std::vector<std::string> exogenous = {"X1", "D1"};
  const std::vector<double> eigen = {0.5, 0.25, 0.125, 0.0625, kMissing, 0.01};
  CointHeaderArgs args{names, 40, 4, 6, eigen, 2, 0, exogenous, 1, 1, 4};
  const Lines page = page_of([&] {
    COINTHEADER(args, kPage, true);
    args.r = 1;
    args.d = args.e = 0;
    args.k = 4;
    COINTHEADER(args, kPage, false);
  });
  EXPECT_EQ(page, (Lines{
                      kStars,
                      " 40 observations from 1991Q1 to 2000Q4. Order of VAR = 2.",
                      " List of variables included in the cointegrating vector:",
                      " Y1              Y2              Y3              Y4              X1",
                      " Intercept",
                      " List of I(1) exogenous variables included in the VAR:",
                      " X1",
                      " List of I(0) variables included in the VAR:",
                      " D1",
                      " List of eigenvalues in descending order:",
                      ".50000     .25000     .12500    .062500     *NONE*    .010000",
                      kStars,
                      kStars,
                      " 40 observations from 1991Q1 to 2000Q4. Order of VAR = 2, chosen r = 1.",
                      " List of variables included in the cointegrating vector:",
                      " Y1              Y2              Y3              Y4",
                      kStars,
                  }));
}

TEST_F(ResultTablesTest, EigenvaluesRunToASecondLineAfterSeven) {
  const std::vector<std::string> names(9, "Y");
  const std::vector<double> eigen = {0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1};
  const CointHeaderArgs args{names, 10, 0, 9, eigen, 1, 0, {}, 0, 0, 9};
  const Lines page = page_of([&] { COINTHEADER(args, kPage, true); });
  ASSERT_EQ(page.size(), 9u);
  EXPECT_EQ(page[6], ".90000     .80000     .70000     .60000     .50000     .40000     .30000");
  EXPECT_EQ(page[7], ".20000     .10000");
}

// The second eigenvalue line runs to m, not k: the restricted term's eigenvalue (k = m + 1)
// never gets a line of its own.
TEST_F(ResultTablesTest, SecondEigenvalueLineStopsAtM) {
  const std::vector<std::string> names(10, "Y");
  const std::vector<double> eigen = {0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1, 0.05};
  const CointHeaderArgs nine{names, 10, 0, 10, eigen, 1, 0, {}, 0, 0, 9};
  const Lines page = page_of([&] { COINTHEADER(nine, kPage, true); });
  ASSERT_EQ(page.size(), 9u);
  EXPECT_EQ(page[7], ".20000     .10000");
  const CointHeaderArgs seven{names, 10, 0, 8, eigen, 1, 0, {}, 0, 0, 7};
  const Lines short_page = page_of([&] { COINTHEADER(seven, kPage, true); });
  ASSERT_EQ(short_page.size(), 8u);
  EXPECT_EQ(short_page[6], ".90000     .80000     .70000     .60000     .50000     .40000     .30000");
  EXPECT_EQ(short_page[7], kStars);
}

TEST_F(ResultTablesTest, RankSelectionTable) {
  // n = 100, m = kb = 2, p = 2, case 1, rank-0 log-likelihood 100, eigenvalues .3 and .1:
  //   r = 0: LL 100,       P 4: AIC 96,        SBC 100 - 2 ln 100,      HQC 100 - 4 ln ln 100
  //   r = 1: LL 100 - 50 ln .7 = 117.833747,  P 7
  //   r = 2: LL 117.833747 - 50 ln .9 = 123.101773,  P 8
  const std::vector<std::string> names = {"Y1", "Y2"};
  const std::vector<double> eigen = {0.3, 0.1};
  const CointHeaderArgs args{names, 100, 0, 2, eigen, 2, 0, {}, 0, 0, 2};
  const Lines page = page_of([&] { PRINTCOINTRANK(1, args, 1e-8, kMissing, 100.0, kPage); });
  ASSERT_EQ(page.size(), 18u);
  EXPECT_EQ(page[2], blanks(13) + "Cointegration with no intercepts or trends in the VAR");
  EXPECT_EQ(page[3], "Choice of the Number of Cointegrating Relations Using Model Selection Criteria");
  EXPECT_EQ(page[4], kStars);
  EXPECT_EQ(page[11], " Rank      Maximized LL        AIC             SBC             HQC");
  EXPECT_EQ(page[12], " r = 0" + blanks(5) + "  100.0000" + blanks(6) + "   96.0000" + blanks(6) + "   90.7897" + blanks(6) +
                          "   93.8913");
  EXPECT_EQ(page[13], " r = 1" + blanks(5) + "  117.8337" + blanks(6) + "  110.8337" + blanks(6) + "  101.7157" +
                          blanks(6) + "  107.1435");
  EXPECT_EQ(page[14], " r = 2" + blanks(5) + "  123.1018" + blanks(6) + "  115.1018" + blanks(6) + "  104.6811" +
                          blanks(6) + "  110.8843");
  EXPECT_EQ(page[15], kStars);
  EXPECT_EQ(page[16], " AIC = Akaike Information Criterion    SBC = Schwarz Bayesian Criterion");
  EXPECT_EQ(page[17], " HQC = Hannan-Quinn Criterion");

  // A rank whose 1 - eigenvalue falls below the tolerance, and every higher one, print the rank alone.
  const std::vector<double> unit = {1.0, 0.1};
  const CointHeaderArgs degenerate{names, 100, 0, 2, unit, 2, 0, {}, 0, 0, 2};
  const Lines cut = page_of([&] { PRINTCOINTRANK(1, degenerate, 1e-8, kMissing, 100.0, kPage); });
  ASSERT_GE(cut.size(), 15u);
  EXPECT_EQ(cut[13], " r = 1");
  EXPECT_EQ(cut[14], " r = 2");
}

TEST_F(ResultTablesTest, RestrictionText) {
  const std::string block = PACKLINES(std::vector<std::string>{"A1 = 1;", "", "B2 + B3 = 0"});
  const Lines page = page_of([&] { PRINTTEXTBLOCK(block); });
  EXPECT_EQ(page, (Lines{" A1 = 1;", " B2 + B3 = 0", kStars}));
}

}  // namespace
