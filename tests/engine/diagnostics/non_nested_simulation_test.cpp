// Non-nested tests of regressions with different dependent variables: the statistics
// against established software, the reduction to the tests of one dependent variable, the
// dialogue's forms and checks, the page, and the workspace after every way out.
#include "engine/diagnostics/non_nested_simulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/random_numbers.h"
#include "engine/core/screen_editor.h"
#include "engine/core/workspace.h"
#include "engine/diagnostics/dependent_forms.h"
#include "engine/diagnostics/non_nested_tests.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
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

std::vector<std::vector<double>> columns(const std::vector<int>& numbers) {
  std::vector<std::vector<double>> out;
  for (const int v : numbers) out.push_back(workspace_column(v));
  return out;
}

/// Everything of the workspace the test must leave as it found.
struct WorkspaceState {
  int nvars = 0;
  std::vector<std::string> names;
  std::vector<double> data;
  bool operator==(const WorkspaceState&) const = default;
};

WorkspaceState workspace_state() {
  WorkspaceState s;
  s.nvars = core::globals().nvars;
  for (int j = 1; j <= limits::kMaxVars; ++j) s.names.push_back(core::variable_name(j) + "|" + core::variable_desc(j));
  const auto work = core::work_array();
  s.data.assign(work.begin(), work.begin() + limits::kCapacity);
  return s;
}

class NonNestedGeneral : public qorv::testing::EstimateTest {
 protected:
  void SetUp() override {
    EstimateTest::SetUp();
    folder_.emplace("zv-nonnested-general");
    core::set_char_setting(charset::kTempFolder, folder_->string() + "/");
    // C = exp(LC), the level of which LC is the logarithm, and INC = exp(LY).
    auto& g = core::globals();
    c_ = ++g.nvars;
    core::set_variable(c_, "C", "");
    inc_ = ++g.nvars;
    core::set_variable(inc_, "INC", "");
    for (int t = 1; t <= g.nobs; ++t) {
      core::data_at(t, c_) = std::exp(core::data_at(t, kLc));
      core::data_at(t, inc_) = std::exp(core::data_at(t, kLy));
    }
  }

  /// Runs option 9 after OLS of `equation` over the whole sample, answering with `script`;
  /// returns the transcript.
  std::string run_option(const std::vector<int>& equation, const std::string& script) {
    estimate_ols(equation, 1, 196);
    dialog_script::reset();
    dialog_script::load(script);
    diagnostics::NONNESTEDGENERAL();
    return dialog_script::transcript_text();
  }

  int c_ = 0, inc_ = 0;
  std::optional<zv_test::ScratchFolder> folder_;
};

/// The link of two models of one dependent variable.
bool same_variable(int, std::span<const double> own, std::span<double> other, std::span<double> d1, std::span<double> d2) {
  for (std::size_t t = 0; t < own.size(); ++t) {
    other[t] = own[t];
    d1[t] = d2[t] = 1.0;
  }
  return true;
}

// With one dependent variable PE adds ŷ1 − ŷ2 to M1 and ŷ1 − ŷ2 to M2: J with its sign
// turned for M1 against M2, J itself for M2 against M1.
TEST_F(NonNestedGeneral, OneDependentVariableGivesTheTestsOfOptionEight) {
  const auto e = qorv::testing::reference_expected("nonnested", "LC_LY_INFL_VS_LY_R");
  const std::vector<double> ones(196, 1.0);
  const std::array<diagnostics::SimulatedModel, 2> models = {
      diagnostics::SimulatedModel{workspace_column(kLc), ones, columns({kIntercept, kLy, kInfl})},
      diagnostics::SimulatedModel{workspace_column(kLc), ones, columns({kIntercept, kLy, kR})}};
  const auto r = diagnostics::NNSIMULATE(models, 2, same_variable);
  ASSERT_EQ(r.failure, diagnostics::SimulationFailure::kNone);
  const std::pair<const char*, double> values[] = {
      {"LL1", r.models[0].loglik[0]}, {"LL2", r.models[1].loglik[0]}, {"J_12", -r.pe_test[0]},
      {"J_21", r.pe_test[1]},         {"JA_T_12", -r.bm_test[0]},     {"JA_T_21", -r.bm_test[1]}};
  for (const auto& [quantity, value] : values) {
    SCOPED_TRACE(quantity);
    EXPECT_TRUE(qorv::testing::agrees(value, e.at(quantity))) << value << " vs " << e.at(quantity).value;
  }
  EXPECT_NEAR(r.sargan, e.at("LL1").value - e.at("LL2").value, 1e-7);
}

TEST_F(NonNestedGeneral, LinearFormsThroughTheMenusGiveOptionEightsPage) {
  const std::string seen = run_option({kLc, kIntercept, kLy, kInfl},
                                      "strict\nmenu 1042 -> 1\nmenu 1042 -> 1\ntext -> \"INPT LY R\"\ninteger -> 2\n"
                                      "results -> close\n");
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 1u) << seen;
  const auto has = [&](const std::string& text) { return dialog_script::page_has(pages[0], text); };
  // Option 8's J and JA lines and log-likelihoods (R, tests/reference/nonnested); PE's
  // term is M1's fit less M2's both ways, so M1 against M2 is J with its sign turned.
  EXPECT_TRUE(has("    PE-Test                     -10.5392[.000]                   -.49441[.621]"));
  EXPECT_TRUE(has("    BM-Test                     -10.5392[.000]                    .49441[.621]"));
  EXPECT_TRUE(has(" Adjusted Log-L  508.4831"));
  EXPECT_TRUE(has(" Adjusted Log-L  553.0936"));
  EXPECT_TRUE(has(" Dependent variable in model M2 is LC"));
}

TEST_F(NonNestedGeneral, FailuresOfTheSimulation) {
  const std::vector<double> ones(196, 1.0), y = workspace_column(kLc);
  const std::vector<double> exact = workspace_column(kLy);
  const struct {
    const char* what;
    std::vector<double> dependent1;
    std::vector<int> regressors2;
    int failing_call;  ///< the call of the link that fails (from 1), 0 for none
    diagnostics::SimulationFailure failure;
    int model;
  } rows[] = {
      {"M1 fits exactly", exact, {kIntercept, kR}, 0, diagnostics::SimulationFailure::kExactFit, 0},
      {"M2's regressors are collinear", y, {kIntercept, kR, kR}, 0, diagnostics::SimulationFailure::kSingular, 1},
      {"a fitted value cannot be mapped", y, {kIntercept, kR}, 1, diagnostics::SimulationFailure::kUndefined, 0},
      {"a simulated sample cannot be mapped", y, {kIntercept, kR}, 4, diagnostics::SimulationFailure::kBreakdown, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const std::array<diagnostics::SimulatedModel, 2> models = {
        diagnostics::SimulatedModel{row.dependent1, ones, columns({kIntercept, kLy})},
        diagnostics::SimulatedModel{y, ones, columns(row.regressors2)}};
    int calls = 0;
    const auto link = [&](int from, std::span<const double> own, std::span<double> other, std::span<double> d1,
                          std::span<double> d2) {
      return ++calls != row.failing_call && same_variable(from, own, other, d1, d2);
    };
    const auto r = diagnostics::NNSIMULATE(models, 5, link);
    EXPECT_EQ(r.failure, row.failure);
    if (row.failure == diagnostics::SimulationFailure::kExactFit || row.failure == diagnostics::SimulationFailure::kSingular) {
      EXPECT_EQ(r.failed_model, row.model);
    }
  }
}

TEST_F(NonNestedGeneral, LogAgainstLinearAgreesWithEstablishedSoftware) {
  // M1: LC = log C on INPT LY INFL; M2: C on INPT INC R.
  const std::vector<double> c = workspace_column(c_);
  std::vector<double> df(c.size());
  for (std::size_t t = 0; t < c.size(); ++t) df[t] = 1.0 / c[t];
  const std::array<diagnostics::SimulatedModel, 2> models = {
      diagnostics::SimulatedModel{workspace_column(kLc), df, columns({kIntercept, kLy, kInfl})},
      diagnostics::SimulatedModel{c, std::vector<double>(c.size(), 1.0), columns({kIntercept, inc_, kR})}};
  // `from` names the log model (0) or the linear one (1) in the link below.
  const auto link = [](int from, std::span<const double> own, std::span<double> other, std::span<double> d_log,
                       std::span<double> d_level) {
    for (std::size_t t = 0; t < own.size(); ++t) {
      if (from == 1 && !(own[t] > 0.0)) return false;
      other[t] = from == 0 ? std::exp(own[t]) : std::log(own[t]);
      const double y = from == 0 ? other[t] : own[t];
      d_log[t] = 1.0 / y;
      d_level[t] = 1.0;
    }
    return true;
  };
  const auto r = diagnostics::NNSIMULATE(models, 2, link);
  ASSERT_EQ(r.failure, diagnostics::SimulationFailure::kNone);
  const auto e = qorv::testing::reference_expected("nonnested-general", "LC_LY_INFL_VS_C_INC_R");
  const std::pair<const char*, double> values[] = {
      {"N", r.n},
      {"LL1", r.models[0].loglik[0]},
      {"LL2", r.models[1].loglik[0]},
      {"PE_12", r.pe_test[0]},
      {"PE_21", r.pe_test[1]},
      {"BM_12", r.bm_test[0]},
      {"BM_21", r.bm_test[1]},
      {"DL_12", r.dl_test[0]},
      {"DL_21", r.dl_test[1]},
      {"SARGAN", r.sargan},
      {"VUONG", r.vuong},
      {"S1", r.models[0].ml_standard_error[0]},
      {"S2", r.models[1].ml_standard_error[0]},
      {"SE1", r.models[0].standard_error[0]},
      {"SE2", r.models[1].standard_error[0]},
      {"B1_2", r.models[0].coefficients[1][0]},
      {"B2_3", r.models[1].coefficients[2][0]},
  };
  for (const auto& [quantity, value] : values) {
    SCOPED_TRACE(quantity);
    ASSERT_TRUE(e.count(quantity));
    EXPECT_TRUE(qorv::testing::agrees(value, e.at(quantity))) << value << " vs " << e.at(quantity).value;
  }
  // The linear model as M1: lmtest's petest as it stands, log(fit1) - fit2 added to M1 and
  // fit1 - exp(fit2) to M2.
  const std::array<diagnostics::SimulatedModel, 2> swapped = {models[1], models[0]};
  const auto swapped_link = [&link](int from, std::span<const double> own, std::span<double> other,
                                    std::span<double> d1, std::span<double> d2) { return link(1 - from, own, other, d2, d1); };
  const auto level_first = diagnostics::NNSIMULATE(swapped, 2, swapped_link);
  ASSERT_EQ(level_first.failure, diagnostics::SimulationFailure::kNone);
  const auto le = qorv::testing::reference_expected("nonnested-general", "LEVEL_C_INC_R_VS_LC_LY_INFL");
  EXPECT_TRUE(qorv::testing::agrees(level_first.pe_test[0], le.at("PE_12"))) << level_first.pe_test[0];
  EXPECT_TRUE(qorv::testing::agrees(level_first.pe_test[1], le.at("PE_21"))) << level_first.pe_test[1];
}

TEST(DependentForms, FormulaTextsOfTheStandardForms) {
  const struct {
    int form;
    diagnostics::DependentForm texts;
  } rows[] = {
      {diagnostics::kFormLinear, {"Y", "H", "1"}},
      {diagnostics::kFormLogarithm, {"LOG(Y)", "EXP(H)", "1/Y"}},
      {diagnostics::kFormRatio, {"Y/W", "H*W", "1/W"}},
      {diagnostics::kFormDifference, {"Y-Y(-1)", "H+Y(-1)", "1"}},
      {diagnostics::kFormLogDifference, {"LOG(Y)-LOG(Y(-1))", "EXP(H+LOG(Y(-1)))", "1/Y"}},
      {diagnostics::kFormGeneral, {"", "", ""}},
  };
  for (const auto& row : rows) {
    const diagnostics::DependentForm f = diagnostics::TRANSFORMTEXT(row.form, "Y", "W", "H");
    EXPECT_EQ(f.function, row.texts.function) << row.form;
    EXPECT_EQ(f.inverse, row.texts.inverse) << row.form;
    EXPECT_EQ(f.derivative, row.texts.derivative) << row.form;
  }
}

TEST(DependentForms, StatementsAreReadAndChecked) {
  const std::vector<std::string> workspace = {"LC", "C", "W", "G", "INC"};
  const auto exists = [&](std::string_view name) {
    return std::find(workspace.begin(), workspace.end(), name) != workspace.end();
  };
  const std::string good = "lc = log(c) ; c=exp(lc) ; df=1/c ;\n G=C/W ; C=G*W ; DG=1/W <end> anything ; after";
  diagnostics::DependentStatements s;
  ASSERT_TRUE(diagnostics::parse_statements(good, s));
  EXPECT_EQ(s.name[diagnostics::kG], "G");
  EXPECT_EQ(s.formula[diagnostics::kInverse2], "G*W");
  EXPECT_EQ(diagnostics::check_statements(s, "LC", exists), "");
  EXPECT_FALSE(diagnostics::parse_statements("LC=LOG(C) ; C=EXP(LC) ; DF=1/C <End>", s));
  EXPECT_FALSE(diagnostics::parse_statements("LC=LOG(C);C=EXP(LC);DF=1/C;G=C/W;C=G*W;DG=1/W;X=1", s));

  const struct {
    const char* text;
    const char* message;
  } refusals[] = {
      {"LC=LOG(C);C=EXP(LC);DF=1/C;G=C/V;C=G*V;DG=1/V", "Variable V is not on your workspace! Please create it."},
      {"LC=LOG(C);C=EXP(LC);W=1/C;G=C/W;C=G*W;DG=1/W", "Variable W should not exist on your workspace!"},
      {"LC=LOG(C);C=EXP(LC);DF=1/C;G=C/W;INC=G*W;DG=1/W",
       "The inverse functions for both models must map into (give) the same variable!"},
      {"LX=LOG(C);C=EXP(LX);DF=1/C;G=C/W;C=G*W;DG=1/W", "Variable LX is not on your workspace! Please create it."},
      {"INC=LOG(C);C=EXP(INC);DF=1/C;G=C/W;C=G*W;DG=1/W",
       "The first function must give LC, the dependent variable of model M1!"},
  };
  for (const auto& r : refusals) {
    ASSERT_TRUE(diagnostics::parse_statements(r.text, s)) << r.text;
    EXPECT_EQ(diagnostics::check_statements(s, "LC", exists), r.message) << r.text;
  }
}

TEST_F(NonNestedGeneral, ReplicationCountSharesTheStatisticLine) {
  const auto lines = page([] {
    diagnostics::WRITESTATLINE(" S-Test", 1.5, -2.0, core::channel::kResultsPage, 1000);
    diagnostics::WRITESTATLINE(" S-Test", 1.5, -2.0, core::channel::kResultsPage);
  });
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(0, 29), "     S-Test 1000 replications");
  EXPECT_EQ(lines[0].substr(29), lines[1].substr(29));
}

/// The dialogue of a log model of C against a linear one, 20 replications.
const std::string kLogAgainstLinear =
    "strict\n"
    "menu 1042 -> 2\n"
    "string \"LC is the logarithm of which variable?\" -> \"c\"\n"
    "menu 1042 -> 1\n"
    "text -> \"INPT INC R\"\n"
    "integer \"How many replications (Maximum 30,000)?\" -> 1\n"
    "integer -> 20\n"
    "results -> close\n";

TEST_F(NonNestedGeneral, PageFromTheSeedsAtEntryAndTheWorkspaceAfterwards) {
  std::vector<std::vector<std::string>> pages;
  WorkspaceState before;
  for (int run = 0; run < 2; ++run) {
    core::set_random_seeds(11, 23, 73);
    estimate_ols({kLc, kIntercept, kLy, kInfl}, 1, 196);
    before = workspace_state();
    dialog_script::reset();
    dialog_script::load(kLogAgainstLinear);
    diagnostics::NONNESTEDGENERAL();
    EXPECT_TRUE(dialog_script::failures().empty()) << dialog_script::transcript_text();
    EXPECT_NE(dialog_script::transcript_text().find("beep"), std::string::npos);  // one replication is refused
    ASSERT_EQ(dialog_script::pages().size(), 1u) << dialog_script::transcript_text();
    pages.push_back(dialog_script::pages()[0]);
    EXPECT_TRUE(workspace_state() == before);
  }
  EXPECT_EQ(pages[0], pages[1]);
  const auto has = [&](const std::string& text) { return dialog_script::page_has(pages[0], text); };
  EXPECT_TRUE(has("Non-Nested Tests by Simulation"));
  EXPECT_TRUE(has(" Dependent variable in model M1 is LOG(C)"));
  EXPECT_TRUE(has(" Dependent variable in model M2 is C"));
  EXPECT_TRUE(has(" 196 observations used from 1960Q1 to 2008Q4. Number of replications 20"));
  EXPECT_TRUE(has("     S-Test   20 replications"));
  // Values rounded from the reference file (R).
  EXPECT_TRUE(has("    PE-Test                      -9.2426[.000]                    4.2623[.000]"));
  EXPECT_TRUE(has("    BM-Test                      -4.3914[.000]                   -2.9508[.003]"));
  EXPECT_TRUE(has("    DL-Test                       6.4096[.000]                    6.6318[.000]"));
  EXPECT_TRUE(has(" Sargan's Likelihood Criterion for M1 versus M2=  -4.6827 favours M2"));
  EXPECT_TRUE(has(" Vuong's  Likelihood Criterion for M1 versus M2=  -.45091[.652] favours M2"));
  EXPECT_TRUE(has(" INPT             -.37746 "));
  EXPECT_TRUE(has(" INC               .95015 "));
  EXPECT_TRUE(has(" Standard Error   .018215 "));
  EXPECT_TRUE(has(" Analytic  S.E.   .018075 "));
  EXPECT_TRUE(has(" Adjusted Log-L   -1131.7 "));
  EXPECT_TRUE(has(" Adjusted Log-L   -1127.0 "));
  EXPECT_TRUE(has(" the simple version of the simulated Cox test statistic."));
}

TEST_F(NonNestedGeneral, EveryOtherWayOutLeavesTheWorkspaceAsItWas) {
  const struct {
    const char* what;
    std::vector<int> equation;
    std::string script;
    const char* seen;  ///< a text of the transcript
  } rows[] = {
      {"back from the first menu", {kLc, kIntercept, kLy}, "menu 1042 -> 0\n", "menu 2042"},
      {"no replications", {kLc, kIntercept, kLy},
       "menu 1042 -> 2\nstring -> \"C\"\nmenu 1042 -> 1\ntext -> \"INPT R\"\ninteger -> 0\n", "integer"},
      {"log of negative values", {kInfl, kIntercept, kLy}, "menu 1042 -> 1\nmenu 1042 -> 2\ntext -> \"INPT R\"\n",
       "The dependent variable in model M2 cannot be created. Log of -ve values!"},
      {"a lag of M2's dependent variable before the data", {kLc, kIntercept, kLy},
       "menu 1042 -> 1\nmenu 1042 -> 5\ntext -> \"INPT R\"\n",
       "Dependent variable in model M2 is not defined overyour sample period!"},
      {"an undefined dependent variable of M2", {kLc, kIntercept, kLy},
       "menu 1042 -> 6\ntext -> \"LC=LC;LC=LC;DF=1;G=LC/(LC-LC);LC=G;DG=1\"\ntext -> \"INPT R\"\n",
       "Dependent variable in model M2 is not defined overyour sample period!"},
      {"a derivative that is zero", {kLc, kIntercept, kLy},
       "menu 1042 -> 6\ntext -> \"LC=LOG(C);C=EXP(LC);DF=0*C;G=C;C=G;DG=1\"\ntext -> \"INPT R\"\n",
       "Small or missing value for DF"},
      {"the editor: an unknown variable, then cancel", {kLc, kIntercept, kLy},
       "menu 1042 -> 6\ntext -> \"LC=LOG(C);C=EXP(LC);DF=1/C;G=C/V;C=G*V;DG=1/V\"\ntext -> cancel\n",
       "Variable V is not on your workspace! Please create it."},
      {"M2's regressors cancelled", {kLc, kIntercept, kLy},
       "menu 1042 -> 2\nstring -> \"C\"\nmenu 1042 -> 1\ntext -> cancel\n", "text"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    estimate_ols(row.equation, 1, 196);
    const WorkspaceState before = workspace_state();
    const std::string seen = run_option(row.equation, "strict\n" + row.script);
    EXPECT_NE(seen.find(row.seen), std::string::npos) << seen;
    EXPECT_TRUE(dialog_script::pages().empty()) << seen;
    EXPECT_TRUE(workspace_state() == before);
    EXPECT_EQ(core::globals().sample_start, 1);
    EXPECT_EQ(core::globals().sample_end, 196);
    EXPECT_TRUE(dialog_script::take_failures().empty()) << seen;
  }
  // No room for the three temporaries.
  auto& g = core::globals();
  const int max_vars = g.max_vars;
  g.max_vars = g.nvars + 2;
  estimate_ols({kLc, kIntercept, kLy}, 1, 196);
  const WorkspaceState before = workspace_state();
  const std::string seen = run_option({kLc, kIntercept, kLy}, "strict\nmenu 1042 -> 2\nstring -> \"C\"\nmenu 1042 -> 1\n"
                                                               "text -> \"INPT R\"\n");
  g.max_vars = max_vars;
  EXPECT_NE(seen.find("Not enough store on workspace, you must delete at least 1 variable(s)!"), std::string::npos) << seen;
  EXPECT_TRUE(workspace_state() == before);
}

TEST_F(NonNestedGeneral, GeneralFormsFromTheEditorRunLikeTheMenuForms) {
  // The same two models typed in the editor, G named by the user.
  const std::string script =
      "strict\n"
      "menu 1042 -> 6\n"
      "text -> \"LC=LOG(C) ; C=EXP(LC) ; DF=1/C ;\\nLEVEL=C ; C=LEVEL ; DG=1 <End>\"\n"
      "text -> \"INPT INC R\"\n"
      "integer -> 2\n"
      "results -> close\n";
  const WorkspaceState before = (estimate_ols({kLc, kIntercept, kLy, kInfl}, 1, 196), workspace_state());
  core::set_editor_title({"The title before the test"});
  const std::string seen = run_option({kLc, kIntercept, kLy, kInfl}, script);
  // The editor of M2's regressors, and what comes after, see the title the field held.
  std::vector<std::string> titles;
  for (const auto& call : dialog_script::calls())
    if (call.kind == "text") titles.emplace_back(fixed_text::trim(call.text));
  ASSERT_EQ(titles.size(), 2u) << seen;
  EXPECT_EQ(titles[0], "Specify the nature of the dependent variables of models M1 and M2");
  EXPECT_EQ(titles[1], "The title before the test");
  EXPECT_EQ(fixed_text::trim(core::exchange().prompt), "The title before the test");
  const auto pages = dialog_script::pages();
  ASSERT_EQ(pages.size(), 1u) << seen;
  bool pe = false;
  for (const auto& line : pages[0])
    pe = pe || line.find("    PE-Test                      -9.2426[.000]                    4.2623[.000]") != std::string::npos;
  EXPECT_TRUE(pe);
  EXPECT_TRUE(workspace_state() == before);
}

}  // namespace
