// The Wald test of restrictions and the functions of parameters: the statistic against
// the least-squares and sandwich reference values, the pages reached from the menus, the
// refusals of typed relations, and estimates filled by hand (logit, AR errors, a system).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/core/num/packed_index.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/parameter_relations.h"
#include "engine/diagnostics/post_regression.h"
#include "engine/diagnostics/wald_options.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/diagnostics/post_regression_fixture.h"
#include "tests/engine/single/macro_fixture.h"
#include "tests/engine/single/printed_numbers.h"
#include "tests/support/dialog_script/dialog_script.h"

using namespace qorv;
using diagnostics::RelationMode;
namespace macro = qorv::testing::macro;
namespace small = qorv::testing::small;
using qorv::testing::parse_number;
using qorv::testing::shows;
using qorv::testing::words;
using dialog_script::page_has;

namespace {

using Page = std::vector<std::string>;

/// The first line of `page` holding `text`; empty when none does.
std::string line_with(const Page& page, const std::string& text) {
  for (const auto& line : page)
    if (line.find(text) != std::string::npos) return line;
  return {};
}

/// The number printed after "=" on the Wald statistic line of `page`.
qorv::testing::Printed wald_value(const Page& page) {
  const std::string line = line_with(page, "Wald Statistic");
  const auto eq = line.find(")=");
  if (eq == std::string::npos) return {};
  return parse_number(line.substr(eq + 2, 9));
}

/// The messages shown so far, in order.
std::vector<std::string> messages() {
  std::vector<std::string> out;
  for (const auto& c : dialog_script::calls())
    if (c.kind == "message") out.push_back(c.text);
  return out;
}

/// The blocks the editor was handed, in order.
std::vector<std::string> editor_blocks() {
  std::vector<std::string> out;
  for (const auto& c : dialog_script::calls())
    if (c.kind == "text") out.push_back(c.block);
  return out;
}

std::size_t at(int i, int j) { return static_cast<std::size_t>(core::PACKEDINDEX(i, j) - 1); }

class WaldTest : public qorv::testing::PostRegressionTest {
 protected:
  /// The Post Regression Menu answered by `script` (strict); the pages it showed.
  static std::vector<Page> post_regression_pages(const std::string& script) {
    dialog_script::load("strict\n" + script);
    diagnostics::POSTREGRESSION();
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    return pages();
  }
  static void estimate_macro() {
    qorv::testing::install_macro_data();
    estimate({macro::kLc, macro::kIntercept, macro::kLy, macro::kInfl, macro::kR}, 1, 196);
  }

  /// The statistic of `text` on `request`, as the page computes it.
  static double statistic(const diagnostics::WaldRequest& request, const std::string& text) {
    const auto names = diagnostics::parameter_names(request.block_sizes);
    const auto parse = diagnostics::parse_relations(text, RelationMode::kRestrictions, names, request.limit);
    EXPECT_EQ(parse.error, diagnostics::RelationError::kNone) << text;
    const auto values = diagnostics::evaluate_relations(parse.relations, request.estimates);
    EXPECT_EQ(values.failed, 0) << text;
    const int r = static_cast<int>(parse.relations.size());
    const auto jvj = diagnostics::function_covariance(values.jacobian, r, request.variance,
                                                      static_cast<int>(request.estimates.size()), request.scale);
    return diagnostics::wald_statistic(values.f, jvj);
  }
};

TEST_F(WaldTest, ZeroRestrictionIsTheSquaredTRatioAndAFunctionRepeatsTheRow) {
  estimate_macro();
  const auto ref = qorv::testing::reference_expected("ols-macro", "S");
  const double t = ref.at("t:LY").value;
  const double w = statistic(diagnostics::single_equation_request(RelationMode::kRestrictions), "A2=0");
  EXPECT_NEAR(w, t * t, 2e-9 * t * t);

  const auto shown = post_regression_pages(
      "results -> close\nmenu 1002 -> 2\nmenu 1019 -> 7\ntext -> \"A2=0\"\n"
      "results -> close\nmenu 1019 -> 0\nmenu 1002 -> 5\ntext -> \"F1=A2\"\nresults -> close\n"
      "results -> close\nmenu 1002 -> 0\n");
  ASSERT_EQ(shown.size(), 4u);
  const Page& wald = shown[1];
  EXPECT_FALSE(line_with(wald, "Wald test of restriction(s) imposed on parameters").empty());
  EXPECT_FALSE(line_with(wald, " Coefficients A1 to A4 are assigned to the above regressors respectively.").empty());
  EXPECT_FALSE(line_with(wald, " List of restriction(s) for the Wald test:").empty());
  EXPECT_FALSE(line_with(wald, " A2=0").empty());
  EXPECT_NE(line_with(wald, "Wald Statistic").find("CHSQ(   1)="), std::string::npos);
  const auto printed = wald_value(wald);
  EXPECT_TRUE(shows(printed, {t * t, 2e-9, true}));
  EXPECT_NE(line_with(wald, "Wald Statistic").find("[.000]"), std::string::npos);

  const Page& functions = shown[2];
  EXPECT_FALSE(line_with(functions, "Analysis of Function(s) of Parameter(s)").empty());
  EXPECT_FALSE(line_with(functions, " List of specified functional relationship(s):").empty());
  const auto row = words(line_with(functions, " F1 "));
  ASSERT_EQ(row.size(), 4u);
  EXPECT_TRUE(shows(parse_number(row[1]), ref.at("coef:LY")));
  EXPECT_TRUE(shows(parse_number(row[2]), ref.at("se:LY")));
  EXPECT_TRUE(shows(parse_number(row[3].substr(0, row[3].find('['))), ref.at("t:LY")));
  EXPECT_EQ(row[3].substr(row[3].find('[')), "[.000]");  // tprob:LY is 7e-294
  // The covariance matrix of the function: se(LY) squared.
  const auto cell = words(line_with(shown[3], " F1 "));
  ASSERT_EQ(cell.size(), 2u);
  const double se = ref.at("se:LY").value;
  EXPECT_TRUE(shows(parse_number(cell[1]), {se * se, 2e-9, true}));
}

TEST_F(WaldTest, WhiteMatrixGivesTheSandwichStatistics) {
  estimate_macro();
  const auto ref = qorv::testing::reference_expected("single-extra", "HAC_S");
  const std::vector<std::string> labels = {"INPT", "LY", "INFL", "R"};
  std::vector<double> white(10);
  double v[5][5] = {};
  for (int i = 1; i <= 4; ++i)
    for (int j = 1; j <= i; ++j) {
      const double x = ref.at("WHITE:VCOV:" + labels[static_cast<std::size_t>(i - 1)] + ":" +
                              labels[static_cast<std::size_t>(j - 1)]).value;
      white[at(i, j)] = x;
      v[i][j] = v[j][i] = x;
    }
  const double b2 = ref.at("COEF:LY").value, b3 = ref.at("COEF:INFL").value;
  const auto request = diagnostics::single_equation_request(RelationMode::kRestrictions, white);
  const double linear = (b2 + b3 - 1) * (b2 + b3 - 1) / (v[2][2] + 2 * v[2][3] + v[3][3]);
  EXPECT_NEAR(statistic(request, "A2+A3=1"), linear, 1e-7 * linear);
  // J = (0, b3, b2, 0): J V J' = b3² V22 + 2 b2 b3 V23 + b2² V33.
  const double product = (b2 * b3) * (b2 * b3) / (b3 * b3 * v[2][2] + 2 * b2 * b3 * v[2][3] + b2 * b2 * v[3][3]);
  EXPECT_NEAR(statistic(request, "A2*A3=0"), product, 1e-7 * product);

  // The same through the adjusted-matrix menu.
  const auto shown = post_regression_pages(
      "results -> close\nmenu 1002 -> 4\nmenu 1003 -> 2\nmenu 1033 -> 3\ntext -> \"A2+A3=1\"\nresults -> close\n"
      "menu 1033 -> 0\nmenu 1003 -> 0\nmenu 1002 -> 0\n");
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(shows(wald_value(shown[1]), {linear, 1e-7, true}));
}

// A test or function on an adjusted matrix carries the note of the adjusted regression
// table; the same on the standard matrix carries none.
TEST_F(WaldTest, PagesOnAnAdjustedMatrixSaySo) {
  struct Case {
    const char* matrix;    ///< the answers choosing the adjusted matrix
    const char* adjusted;  ///< the test on it, from menu 1033
    const char* standard;  ///< the same test from the Post Regression Menu
    const char* title;
    const char* note;
  };
  const Case cases[] = {
      {"menu 1003 -> 2\n", "menu 1033 -> 3\ntext -> \"A2+A3=1\"\nresults -> close\n",
       "menu 1002 -> 2\nmenu 1019 -> 7\ntext -> \"A2+A3=1\"\nresults -> close\nmenu 1019 -> 0\n",
       "Wald test of restriction(s) imposed on parameters", "Based on White's Heteroscedasticity adjusted S.E.'s"},
      {"menu 1003 -> 4\ninteger -> 4\n", "menu 1033 -> 4\ntext -> \"F1=A2*A3\"\nresults -> close\nresults -> close\n",
       "menu 1002 -> 5\ntext -> \"F1=A2*A3\"\nresults -> close\nresults -> close\n",
       "Analysis of Function(s) of Parameter(s)",
       "Based on Newey-West adjusted S.E.'s Bartlett weights, truncation lag=4"},
  };
  estimate_macro();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    dialog_script::reset();
    const auto shown = post_regression_pages(std::string("results -> close\nmenu 1002 -> 4\n") + c.matrix +
                                             "menu 1033 -> 1\nresults -> close\n" + c.adjusted +
                                             "menu 1033 -> 0\nmenu 1003 -> 0\n" + c.standard + "menu 1002 -> 0\n");
    std::vector<Page> tests;
    for (const Page& page : shown)
      if (page_has(page, c.title)) tests.push_back(page);
    ASSERT_GT(shown.size(), 1u);
    ASSERT_EQ(tests.size(), 2u);
    const std::string note = line_with(shown[1], c.note);
    EXPECT_FALSE(note.empty());
    EXPECT_EQ(line_with(tests[0], c.note), note);
    EXPECT_FALSE(page_has(tests[1], "adjusted S.E.'s"));
  }
}

TEST_F(WaldTest, DependentRestrictionsHaveNoStatistic) {
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  dialog_script::load("text -> \"A1=1 ; 2*A1=2\" once\ntext -> \"A1+A2=1\" once\nresults -> close\n");
  diagnostics::single_equation_wald(RelationMode::kRestrictions);
  diagnostics::single_equation_wald(RelationMode::kRestrictions);
  EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
  const auto shown = pages();
  ASSERT_EQ(shown.size(), 2u);
  const std::string line = line_with(shown[0], "Wald Statistic");
  EXPECT_NE(line.find("CHSQ(   2)=   *NONE*"), std::string::npos) << line;
  EXPECT_EQ(line.find('['), std::string::npos);
  EXPECT_FALSE(line_with(shown[0], " There is a possibility that restrictions are linearly dependent").empty());
  // A1 + A2 = 1 by hand: (b1 + b2 − 1)² / (V11 + 2 V12 + V22).
  const double b1 = single::coefficient(1), b2 = single::coefficient(2);
  const double w = (b1 + b2 - 1) * (b1 + b2 - 1) /
                   (single::coefficient_variance(1, 1) + 2 * single::coefficient_variance(1, 2) +
                    single::coefficient_variance(2, 2));
  EXPECT_NE(line_with(shown[1], "Wald Statistic").find("CHSQ(   1)="), std::string::npos);
  EXPECT_TRUE(shows(wald_value(shown[1]), {w, 1e-9, true}));
}

TEST_F(WaldTest, RefusedTextsReopenTheEditorAndChangeNothing) {
  estimate_macro();
  const std::string long_sum = [] {
    std::string s = "A1=0";
    for (int i = 0; i < 300; ++i) s += "+A1";
    return s;
  }();
  struct Case {
    RelationMode mode;
    std::string text;
    std::string message;
  };
  const std::string first = " Error while processing the first! Correct it using the editor.";
  const std::vector<Case> cases = {
      {RelationMode::kRestrictions, "A1+A2", " Equality sign is missing or misplaced!"},
      {RelationMode::kRestrictions, "=1", " Equality sign is missing or misplaced!"},
      {RelationMode::kRestrictions, "A1=1=2", " Equality sign is missing or misplaced!"},
      {RelationMode::kFunctions, "F1=A1 ; F1=A2", "F1 is included twice! Try again."},
      {RelationMode::kFunctions, "1F=A1", "1F is not a valid name! Try again."},
      {RelationMode::kFunctions, "LOG=A1", "LOG is not a valid name! Try again."},
      {RelationMode::kFunctions, "ABCDEFGHIJ=A1", "ABCDEFGHIJ is not a valid name! Try again."},
      {RelationMode::kRestrictions, "A1=LC", first},
      {RelationMode::kRestrictions, "A9=0", first},
      {RelationMode::kRestrictions, "A1=0 ; B1=0", " Error while processing the second! Correct it using the editor."},
      {RelationMode::kRestrictions, "A1=0;A2=0;A3=0;A4=0;A1+A2=0", "Too many restrictions/relationships!"},
      {RelationMode::kRestrictions, long_sum, first},
      {RelationMode::kRestrictions, "A1=\xE9", first},
      {RelationMode::kRestrictions, "LOG(A4)=0", first},  // A4 (R) is negative
      {RelationMode::kFunctions, "F1=A1/(A2-A2)", first},
      {RelationMode::kRestrictions, "A1=UNIFORM(5)", first},
  };
  const auto& g = core::globals();
  std::vector<double> column_before;
  for (int t = 1; t <= g.nobs; ++t) column_before.push_back(core::data_at(t, macro::kLc));
  const int nvars = g.nvars;
  const std::vector<double> result_before = single::estimation().result;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    dialog_script::reset();
    std::string quoted;
    for (const char ch : c.text) quoted += ch == '"' ? std::string("\\\"") : std::string(1, ch);
    dialog_script::load("text -> \"" + quoted + "\" once\ntext -> cancel\n");
    diagnostics::single_equation_wald(c.mode);
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    EXPECT_EQ(messages(), std::vector<std::string>{qorv::testing::trim(c.message)});  // boxes drop the lead blank
    const auto blocks = editor_blocks();
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[1].substr(0, c.text.size()), c.text);
    EXPECT_TRUE(pages().empty());
    EXPECT_EQ(g.nvars, nvars);
    for (int t = 1; t <= g.nobs; ++t) ASSERT_EQ(core::data_at(t, macro::kLc), column_before[static_cast<std::size_t>(t - 1)]);
    EXPECT_EQ(single::estimation().result, result_before);
  }
}

TEST_F(WaldTest, AcceptedSpellingsAndAVariableNamedLikeAParameter) {
  // The fourth variable is named A1: the relation still means the intercept.
  const auto& g = core::globals();
  std::vector<std::vector<double>> columns(4);
  for (int v = 1; v <= 4; ++v)
    for (int t = 1; t <= g.nobs; ++t) columns[static_cast<std::size_t>(v - 1)].push_back(core::data_at(t, v));
  install(columns, {"C", "X", "Y", "A1"});
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  const double b1 = single::coefficient(1), b2 = single::coefficient(2);
  const double v11 = single::coefficient_variance(1, 1), v12 = single::coefficient_variance(1, 2),
               v22 = single::coefficient_variance(2, 2);
  const double sum = (b1 + b2 - 1) * (b1 + b2 - 1) / (v11 + 2 * v12 + v22);
  struct Case {
    const char* script_text;  ///< the editor answer as the script writes it
    double expected;
  };
  const Case cases[] = {
      {"a1+a2=1", sum},
      {"A1+A2=1;", sum},
      {"A1+\\nA2=1", sum},
      {"A1=0", b1 * b1 / v11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script_text);
    dialog_script::reset();
    dialog_script::load(std::string("text -> \"") + c.script_text + "\"\nresults -> close\n");
    diagnostics::single_equation_wald(RelationMode::kRestrictions);
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    EXPECT_TRUE(messages().empty());
    const auto shown = pages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(line_with(shown[0], "Wald Statistic").find("CHSQ(   1)="), std::string::npos);
    EXPECT_TRUE(shows(wald_value(shown[0]), {c.expected, 1e-9, true}));
  }
  // A text without a relation is a cancel.
  dialog_script::reset();
  dialog_script::load("text -> \" ; ; \"\n");
  diagnostics::single_equation_wald(RelationMode::kRestrictions);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(pages().empty());
  EXPECT_EQ(editor_blocks().size(), 1u);
}

TEST_F(WaldTest, EstimatesFilledByHand) {
  auto& s = single::estimation();
  // Logit: an absolute matrix and no SIGMA; never refused as an exact fit.
  estimate({small::kY, small::kC, small::kX}, 1, small::kObs);
  s.method = single::method::kLogit;
  s.scale = single::VarianceScale::kAbsolute;
  s.sigma = 0.0;
  single::coefficient(1) = 0.5;
  single::coefficient(2) = -1.0;
  s.variance = {0.04, 0.01, 0.09};
  dialog_script::load("text -> \"A1+A2=1\"\nresults -> close\n");
  diagnostics::single_equation_wald(RelationMode::kRestrictions);
  ASSERT_EQ(pages().size(), 1u);
  EXPECT_TRUE(shows(wald_value(pages()[0]), {15.0, 1e-12, true}));  // (−1.5)² / (.04 + .02 + .09)

  // The same numbers by least squares with SIGMA at zero: an almost exact relationship.
  dialog_script::reset();
  s.method = single::method::kOls;
  s.scale = single::VarianceScale::kScaled;
  diagnostics::single_equation_wald(RelationMode::kRestrictions);
  EXPECT_EQ(messages(), std::vector<std::string>{"An almost exact relationship!"});
  EXPECT_TRUE(editor_blocks().empty());

  // AR errors: block B holds the error parameter.
  dialog_script::reset();
  s.method = single::method::kCochraneOrcutt;
  s.sigma = 1.0;
  s.arma_lags = {1};
  single::coefficient(3) = 0.7;
  s.variance = {0.04, 0.01, 0.09, 0.0, 0.0, 0.01};
  dialog_script::load("text -> \"B1=0.5\"\nresults -> close\n");
  diagnostics::single_equation_wald(RelationMode::kRestrictions);
  ASSERT_EQ(pages().size(), 1u);
  const Page page = pages()[0];
  EXPECT_FALSE(line_with(page, " Coeffs. B1 to B1 are assigned to AR error parameters respectively").empty());
  EXPECT_TRUE(shows(wald_value(page), {4.0, 1e-9, true}));  // .2² / .01
  // GARCH(1,1): block B holds the constant, the MA and the AR lag of the variance equation.
  dialog_script::reset();
  s.method = single::method::kGarch;
  s.scale = single::VarianceScale::kAbsolute;
  s.arma_lags.clear();
  s.garch.ma_lags = {1};
  s.garch.ar_lags = {1};
  single::coefficient(3) = 0.1;
  single::coefficient(4) = 0.05;
  single::coefficient(5) = 0.9;
  s.variance.assign(15, 0.0);
  for (int i = 1; i <= 5; ++i) s.variance[static_cast<std::size_t>(i * (i + 1) / 2 - 1)] = 0.01;
  dialog_script::load("text -> \"B2+B3=1\"\nresults -> close\n");
  diagnostics::single_equation_wald(RelationMode::kRestrictions);
  ASSERT_EQ(pages().size(), 1u);
  EXPECT_FALSE(line_with(pages()[0], " Coeffs. B1 to B3 are assigned to ARCH parameters respectively").empty());
  EXPECT_TRUE(shows(wald_value(pages()[0]), {0.125, 1e-9, true}));  // .05² / (.01 + .01)
}

TEST_F(WaldTest, SystemBlocksGetTheirOwnTexts) {
  diagnostics::WaldRequest request;
  request.system = true;
  request.block_sizes = {2, 2, 1};
  request.estimates = {1.0, 2.0, 3.0, 4.0, 5.0};
  request.variance.assign(15, 0.0);
  for (int i = 1; i <= 5; ++i) request.variance[at(i, i)] = 1.0;
  request.limit = 200;
  dialog_script::load("text -> \"C1=A1 ; D1=0\" once\ntext -> \"C1=A1+B1\" once\nresults -> close\n");
  std::string text;
  EXPECT_TRUE(diagnostics::WALDTEST(request, text));
  EXPECT_EQ(messages(), std::vector<std::string>{"Error while processing the second! Correct it using the editor."});
  const Page page = pages().at(0);
  EXPECT_FALSE(line_with(page, " A1 to A2 are assigned to parameters of equation 1").empty());
  EXPECT_FALSE(line_with(page, " B1 to B2 are assigned to parameters of equation 2 and so on.").empty());
  // The system's heading stands from the first column, unlike the single-equation one.
  EXPECT_EQ(line_with(page, "List of restrictions imposed on the coefficients of the SURE model:")
                .rfind("List of restrictions imposed on the coefficients of the SURE model:", 0),
            0u);
  EXPECT_TRUE(shows(wald_value(page), {1.0 / 3.0, 1e-9, true}));  // f = 5 − 1 − 3, J V J' = 3
  // The editor offers the parameter names for insertion, not the workspace's variables.
  for (const auto& c : dialog_script::calls()) {
    if (c.kind != "text") continue;
    std::vector<std::string> offered;
    for (const auto& item : c.items) offered.push_back(qorv::testing::trim(item));
    EXPECT_EQ(offered, (std::vector<std::string>{"A1", "A2", "B1", "B2", "C1"}));
  }
}

}  // namespace
