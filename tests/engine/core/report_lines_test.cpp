// Report lines built piece by piece: the columns where each appender puts its piece, and
// the bracketed probabilities against reference values of established software.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "engine/core/report_lines.h"
#include "engine/core/workspace.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;

std::string blank(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

// `text` padded to a line of `n` columns.
std::string line_of(const std::string& text, int n) {
  return text + blank(n - static_cast<int>(text.size()));
}

TEST(AppendText, ColumnArithmetic) {
  struct Case {
    const char* line;
    int gap;
    const char* text;
    const char* result;  // the line of 12 columns afterwards
  };
  const Case cases[] = {
      {"", 3, "AB", "   AB"},                        // all blank: column gap + 1
      {"", 0, "AB", "AB"},
      {" X", 1, "AB", " X AB"},                     // gap blank columns after the last
      {" X", 0, "AB", " XAB"},
      {" X#", 0, "AB", " X AB"},                    // the hard blank keeps its column
      {" X#", 2, "AB", " X   AB"},
      {"123456789", 1, "ABCDEFG", "123456789 AB"},  // cut at the end of the line
      {"123456789", 3, "A", "123456789   "},        // starts past the end: unchanged
      {"123456789012", 0, "A", "123456789012"},
      {"123456789#", 5, "A", "123456789#"},         // unchanged, hard blank included
      {" X", -5, "AB", "AB"},                       // never before column 1
  };
  for (const Case& c : cases) {
    std::string line = line_of(c.line, 12);
    APPENDTEXT(line, c.gap, c.text);
    EXPECT_EQ(line, line_of(c.result, 12)) << '"' << c.line << "\" gap " << c.gap;
  }
}

TEST(AppendText, PiecesAndFields) {
  std::string line = line_of(" LM version", 60);
  APPENDCHISQ(line, 2, 2);
  APPENDREAL(line, 0, '=', 3.5);
  APPENDFDIST(line, 5, 2, 30);
  APPENDREAL(line, 0, '=', 8934567.0);
  EXPECT_EQ(line, line_of(" LM version  CHSQ(   2)=   3.5000     F(   2,  30)=   *NONE*", 60));

  line = blank(40);
  APPENDINTEGER(line, 1, -42);
  APPENDINTFIELD(line, 1, 7, 4);
  APPENDINTFIELD(line, 0, 123456, 4);
  APPENDREAL(line, 1, '(', -0.05);
  APPENDTEXT(line, 0, ")");
  EXPECT_EQ(line, line_of(" -42    7**** ( -.050000)", 40));

  line = line_of(" Y =", 40);
  APPENDSIGNEDREAL(line, 1.5);
  APPENDTEXT(line, 0, "*X");
  APPENDSIGNEDREAL(line, -2.25);
  APPENDTEXT(line, 0, "*Z");
  EXPECT_EQ(line, line_of(" Y = +   1.5000*X   -2.2500*Z", 40));
}

TEST(AppendText, SingleByteTextPassesUnchanged) {
  std::string line = line_of(" Caf\xE9", 20);
  APPENDTEXT(line, 1, "d\xE9j\xE0");
  EXPECT_EQ(line, line_of(" Caf\xE9 d\xE9j\xE0", 20));
}

class ObsLabelPieces : public qorv::testing::EngineTest {};

TEST_F(ObsLabelPieces, MonthlyLabelsKeepTheNextPieceInItsColumn) {
  Globals& g = globals();
  g.frequency = 5;
  g.start_year = 90;
  g.start_period = 1;
  g.century_base = 1900;
  for (const auto& [t, expected] : {std::pair{1, " 1990M1  X"}, std::pair{10, " 1990M10 X"}}) {
    std::string line = blank(20);
    APPENDOBSLABEL(line, 1, t);
    APPENDTEXT(line, 1, "X");
    EXPECT_EQ(line, line_of(expected, 20));
  }
}

TEST(MarkProbability, StarStandsInOneColumn) {
  std::string with = line_of(" CHSQ(   1)=   3.8400", 40);
  std::string without = with;
  std::string missing = with;
  MARKPROBABILITY(with, 3.84, 8934567.0, 1);
  MARKPROBABILITY(without, 8934567.0, 8934567.0, 1);
  MARKPROBABILITY(missing, std::nan(""), 8934567.0, 1);
  EXPECT_EQ(with, line_of(" CHSQ(   1)=   3.8400[.050]*", 40));
  EXPECT_EQ(without, line_of(" CHSQ(   1)=   3.8400      *", 40));
  EXPECT_EQ(missing, without);
}

// Each row of the reference file for the four kinds, and the bracket it prints: the
// reference value rounded to 3 decimals, or 2 above 0.999.
const std::map<std::string, std::string> kExpectedBrackets = {
    {"normal_upper_tail x=-8", "[.000]"},      {"normal_upper_tail x=-5", "[.000]"},
    {"normal_upper_tail x=-1.96", "[.050]"},   {"normal_upper_tail x=-0.5", "[.617]"},
    {"normal_upper_tail x=0", "[1.00]"},       {"normal_upper_tail x=0.5", "[.617]"},
    {"normal_upper_tail x=1.28", "[.201]"},    {"normal_upper_tail x=1.3", "[.194]"},
    {"normal_upper_tail x=1.96", "[.050]"},    {"normal_upper_tail x=3", "[.003]"},
    {"normal_upper_tail x=5", "[.000]"},       {"normal_upper_tail x=7", "[.000]"},
    {"normal_upper_tail x=8", "[.000]"},       {"normal_upper_tail x=10", "[.000]"},
    {"normal_upper_tail x=18", "[.000]"},      {"normal_upper_tail x=19", "[.000]"},
    {"t_two_sided t=0.5;df=1", "[.705]"},      {"t_two_sided t=2;df=1", "[.295]"},
    {"t_two_sided t=10;df=1", "[.063]"},       {"t_two_sided t=0.5;df=2", "[.667]"},
    {"t_two_sided t=2;df=2", "[.184]"},        {"t_two_sided t=10;df=2", "[.010]"},
    {"t_two_sided t=0.5;df=5", "[.638]"},      {"t_two_sided t=2;df=5", "[.102]"},
    {"t_two_sided t=10;df=5", "[.000]"},       {"t_two_sided t=0.5;df=30", "[.621]"},
    {"t_two_sided t=2;df=30", "[.055]"},       {"t_two_sided t=10;df=30", "[.000]"},
    {"t_two_sided t=0.5;df=200", "[.618]"},    {"t_two_sided t=2;df=200", "[.047]"},
    {"t_two_sided t=10;df=200", "[.000]"},     {"t_two_sided t=-2;df=5", "[.102]"},
    {"chisq_upper_tail x=0.5;df=30", "[1.00]"},    {"chisq_upper_tail x=10;df=60", "[1.00]"},
    {"chisq_upper_tail x=3000;df=2900", "[.096]"}, {"chisq_upper_tail x=0.001;df=1", "[.975]"},
    {"chisq_upper_tail x=1;df=1", "[.317]"},       {"chisq_upper_tail x=3.84;df=1", "[.050]"},
    {"chisq_upper_tail x=5.99;df=2", "[.050]"},    {"chisq_upper_tail x=2;df=5", "[.849]"},
    {"chisq_upper_tail x=11.07;df=5", "[.050]"},   {"chisq_upper_tail x=20;df=10", "[.029]"},
    {"chisq_upper_tail x=30;df=2", "[.000]"},      {"chisq_upper_tail x=200;df=10", "[.000]"},
    {"chisq_upper_tail x=1000;df=1000", "[.494]"}, {"chisq_upper_tail x=1100;df=1000", "[.015]"},
    {"f_upper_tail f=3;df1=2;df2=30", "[.065]"},     {"f_upper_tail f=1;df1=1;df2=1", "[.500]"},
    {"f_upper_tail f=3.84;df1=1;df2=3000", "[.050]"}, {"f_upper_tail f=6.64;df1=1;df2=3000", "[.010]"},
    {"f_upper_tail f=4;df1=2;df2=3000", "[.018]"},   {"f_upper_tail f=2.5;df1=5;df2=10", "[.102]"},
    {"f_upper_tail f=0.5;df1=10;df2=5", "[.836]"},   {"f_upper_tail f=10;df1=4;df2=100", "[.000]"},
    {"f_upper_tail f=50;df1=1;df2=10", "[.000]"},    {"f_upper_tail f=1.5;df1=12;df2=200", "[.126]"},
    {"f_upper_tail f=2;df1=30;df2=30", "[.031]"},    {"f_upper_tail f=0.2;df1=3;df2=20", "[.895]"},
};

TEST(AppendProb, AgreesWithReferenceValues) {
  std::ifstream in(ZV_REFERENCE_DIR "/distributions.csv");
  ASSERT_TRUE(in) << "reference file missing";
  std::string row;
  std::getline(in, row);  // header
  int checked = 0;
  while (std::getline(in, row)) {
    std::stringstream fields(row);
    std::string function, args, value_text;
    std::getline(fields, function, ',');
    std::getline(fields, args, ',');
    std::getline(fields, value_text, ',');
    ProbKind kind;
    if (function == "t_two_sided") kind = ProbKind::kStudentT;
    else if (function == "chisq_upper_tail") kind = ProbKind::kChiSquared;
    else if (function == "f_upper_tail") kind = ProbKind::kF;
    else if (function == "normal_upper_tail") kind = ProbKind::kNormal;
    else continue;
    std::map<std::string, double> a;
    std::stringstream pairs(args);
    for (std::string pair; std::getline(pairs, pair, ';');) {
      const auto eq = pair.find('=');
      a[pair.substr(0, eq)] = std::strtod(pair.c_str() + eq + 1, nullptr);
    }
    const std::string key = function + " " + args;
    const auto expected = kExpectedBrackets.find(key);
    ASSERT_NE(expected, kExpectedBrackets.end()) << "no expected bracket for " << key;

    // The bracket is the reference value (two-sided for the normal) rounded.
    double v = std::strtod(value_text.c_str(), nullptr);
    if (kind == ProbKind::kNormal) v = 2 * std::min(v, 1 - v);
    const std::string& bracket = expected->second;
    const double shown = std::strtod(bracket.c_str() + 1, nullptr);
    EXPECT_LE(std::fabs(v - shown), v > 0.999 ? 0.005 : 0.0005) << key;

    const double statistic = kind == ProbKind::kStudentT ? a["t"]
                             : kind == ProbKind::kF      ? a["f"]
                                                         : a["x"];
    const int df1 = static_cast<int>(kind == ProbKind::kF ? a["df1"] : a["df"]);
    const int df2 = static_cast<int>(a["df2"]);
    std::string line = line_of(" T-Ratio   2.0000", 30);
    EXPECT_TRUE(APPENDPROB(line, kind, statistic, df1, df2)) << key;
    EXPECT_EQ(line, line_of(" T-Ratio   2.0000" + bracket, 30)) << key;
    ++checked;
  }
  EXPECT_EQ(checked, static_cast<int>(kExpectedBrackets.size()));
}

TEST(AppendProb, EdgesOfTheField) {
  struct Case {
    ProbKind kind;
    double statistic;
    int df1, df2;
    const char* bracket;  // "" when nothing is placed
  };
  const Case cases[] = {
      {ProbKind::kStudentT, -2.0, 30, 0, "[.055]"},    // two-sided, not the upper tail
      {ProbKind::kChiSquared, 0.0, 3, 0, "[1.00]"},
      {ProbKind::kChiSquared, -1e-9, 3, 0, "[1.00]"},  // rounding noise below 0
      {ProbKind::kF, 0.0, 2, 30, "[1.00]"},
      {ProbKind::kNormal, 0.0, 0, 0, "[1.00]"},
      {ProbKind::kChiSquared, 8934567.0, 2, 0, ""},     // missing
      {ProbKind::kStudentT, std::nan(""), 5, 0, ""},
      {ProbKind::kF, HUGE_VAL, 2, 30, ""},
      {ProbKind::kStudentT, 2.0, 0, 0, ""},             // no degrees of freedom
      {ProbKind::kF, 2.0, 2, 0, ""},
  };
  for (const Case& c : cases) {
    std::string line = line_of(" Z", 12);
    EXPECT_EQ(APPENDPROB(line, c.kind, c.statistic, c.df1, c.df2), *c.bracket != '\0');
    EXPECT_EQ(line, line_of(std::string(" Z") + c.bracket, 12)) << c.statistic;
  }
}

}  // namespace
