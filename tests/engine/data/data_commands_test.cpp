// The command interpreter over a small workspace with the scripted dialogs: the messages
// of each statement, the two failure regimes, and the workspace after each text.
#include "engine/data/data_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/driver_state.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/plot_file.h"
#include "shared/temp_files.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv;

constexpr double kMiss = limits::kMissing;
const std::string kGeneral = "message error 0 Error in formula or command OR \";\" missing!\n";
const std::string kBatchError = "message error 0 Error in batch file! Operations only partially completed!\n";

/// Everything a statement may change.
struct Snapshot {
  int nvars = 0;
  std::vector<std::string> names, descs;
  std::vector<double> values;
  bool operator==(const Snapshot&) const = default;
};

class Commands : public qorv::testing::EngineTest {
 protected:
  /// `nobs` undated observations of variables Y (t), X (10 - t) and C (constant 3).
  void SetUp() override {
    EngineTest::SetUp();
    workspace(10);
  }

  static void workspace(int nobs, int nvars = 3) {
    auto& g = core::globals();
    g.nobs = nobs;
    g.nvars = nvars;
    g.frequency = 1;
    g.periods_per_year = 1;
    g.start_year = 1;
    g.start_period = 1;
    g.century_base = 0;
    g.max_vars = limits::max_vars_for(nobs);
    for (int j = 1; j <= nvars; ++j) {
      const std::string name = j == 1 ? "Y" : j == 2 ? "X" : j == 3 ? "C" : "V" + std::to_string(j);
      core::set_variable(j, name, j == 1 ? "the y series" : "");
      for (int t = 1; t <= nobs; ++t) core::data_at(t, j) = j == 1 ? t : j == 2 ? 10.0 - t : j == 3 ? 3.0 : j * t;
    }
    core::driver_state().command_first = 1;
    core::driver_state().command_last = nobs;
  }

  /// Runs `text` and returns what the dialogs showed.
  static std::string run(std::string_view text, std::string_view script = "") {
    dialog_script::reset();
    dialog_script::load(script);
    data::run_commands(text);
    return dialog_script::transcript_text();
  }

  static Snapshot snapshot() {
    Snapshot s;
    const auto& g = core::globals();
    s.nvars = g.nvars;
    for (int j = 1; j <= g.nvars; ++j) {
      s.names.push_back(core::variable_name(j));
      s.descs.push_back(core::variable_desc(j));
      for (int t = 1; t <= g.nobs; ++t) s.values.push_back(core::data_at(t, j));
    }
    return s;
  }

  static std::vector<double> values(std::string_view name) {
    const int j = core::find_variable(name);
    std::vector<double> v;
    if (j == 0) return v;
    for (int t = 1; t <= core::globals().nobs; ++t) v.push_back(core::data_at(t, j));
    return v;
  }

  /// The plot file written last, and how many plots this request kept.
  static std::optional<plot_file::Plot> last_plot() {
    const auto counters = static_cast<uint32_t>(core::slot(slots::kPlotCounters));
    const std::filesystem::path folder(std::string(fixed_text::trim(core::char_setting(charset::kTempFolder))));
    return plot_file::read(folder / temp_files::plot_file_name(counters >> 16));
  }
  static int plots_kept() { return static_cast<int>(static_cast<uint32_t>(core::slot(slots::kPlotCounters)) & 0xFFFF); }
};

TEST_F(Commands, FormulaThenPlotAfterAComment) {
  EXPECT_EQ(run("Z = LOG(Y); [a comment] PLOT Z"), "");
  ASSERT_EQ(core::find_variable("Z"), 4);
  EXPECT_EQ(core::variable_desc(4), "LOG(Y)");
  EXPECT_DOUBLE_EQ(core::data_at(10, 4), std::log(10.0));
  EXPECT_EQ(plots_kept(), 1);
  const auto plot = last_plot();
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->series.front().name, "Z");
  EXPECT_EQ(plot->points, 10);
  // A text of blanks does nothing at all.
  EXPECT_EQ(run("    "), "");
}

TEST_F(Commands, EachRefusalIsFollowedByTheGeneralMessageAndTheNextStatementRuns) {
  const struct {
    const char* text;
    std::string messages;
  } cases[] = {
      {"SAMPLE; A = 1", kGeneral},
      {"SAMPLE 3 2; A = 1", "beep\n" + kGeneral},
      {"RESTORE 1; A = 1", kGeneral},
      {"DOS X; A = 1", kGeneral},
      {"RESTORE; A = 1", "message error 0  A \"REORDER\" command has not been issued. CannotRESTORE!\n" + kGeneral},
      {"A = Q1 + 1; A = 1", kGeneral},
      {"A = Y Y; A = 1", kGeneral},
      {"SIMB Y = Y(1)*0.9; A = 1", kGeneral},
      {"PLOT Y; SCATTER Y; A = 1",
       "message error 0 You must specify exactly 2 variables for SCATTER!\n" + kGeneral},
      {"XPLOT Y; A = 1", "message error 0 You must specify between 2 and 51 variables for XPLOT!\n" + kGeneral},
      {"A = NORMAL(0)", "message error 0 Seed should be between 1 & 32000 inclusive!\n" + kGeneral},
      {"A = NORMAL(32001)", "message error 0 Seed should be between 1 & 32000 inclusive!\n" + kGeneral},
      {"A = NORMAL(2.5)", kGeneral},
      {"SIM Y = NORMAL(5)", "message error 0 NORMAL cannot be used when SIM or SIMB commands are in use!\n" + kGeneral},
      {"LOG = 1; A = 1", "message error 0 Left hand side variable LOG is not valid or is a reserved name!\n" + kGeneral},
      {"1X = 1; A = 1", "message error 0 Left hand side variable 1X is not valid or is a reserved name!\n" + kGeneral},
      {"NEW =", kGeneral},
  };
  for (const auto& c : cases) {
    SetUp();
    const std::string shown = run(c.text);
    EXPECT_EQ(shown, c.messages) << c.text;
    const bool runs_on = std::string_view(c.text).ends_with("A = 1");
    EXPECT_EQ(core::find_variable("A") != 0, runs_on) << c.text;
  }
}

TEST_F(Commands, HostileLinesChangeNothing) {
  const std::string long_expression = [] {
    std::string e = "Y";
    for (int i = 0; i < 300; ++i) e += "+Y";  // 601 tokens
    return e;
  }();
  const struct {
    std::string text;
    std::string messages;
  } cases[] = {
      {"Y = NOSUCH + 1", kGeneral},
      {"= 5", kGeneral},
      {"Y = " + long_expression, "message error 0 The expression is too long!\n" + kGeneral},
      {"Y = 1E308", kGeneral},
      {"Y = 1 [ comment", "message warning 0  The commenting out square brackets are not properly positioned!\n"},
      {std::string("Y = 1") + '\0' + "2", kGeneral},
      {"Y = 1 + \x80", kGeneral},
      {"Y = \xC3\xA9", kGeneral},
  };
  for (const auto& c : cases) {
    SetUp();
    const Snapshot before = snapshot();
    EXPECT_EQ(run(c.text), c.messages) << c.text;
    EXPECT_EQ(snapshot(), before) << c.text;
  }
}

TEST_F(Commands, AssignmentsDeletionAndDescriptions) {
  EXPECT_EQ(run("Y = 2*Y \"doubled\"; W = Y; HELP = 1"), "");
  EXPECT_EQ(values("Y")[2], 6.0);
  EXPECT_EQ(core::variable_desc(1), "2*Y \"doubled\"");
  EXPECT_EQ(core::variable_desc(core::find_variable("W")), "2*Y \"doubled\"");  // one variable: its description
  EXPECT_EQ(values("HELP"), std::vector<double>(10, 1.0));                      // HELP with "=" is a formula
  EXPECT_EQ(run("W ="), "");
  EXPECT_EQ(core::find_variable("W"), 0);
  EXPECT_EQ(core::globals().nvars, 4);
}

TEST_F(Commands, TheCommandSampleBoundsFormulasAndNewVariables) {
  EXPECT_EQ(run("SAMPLE 3 5; N = Y + 1; Y = 0"), "");
  EXPECT_EQ(values("N"), (std::vector<double>{kMiss, kMiss, 4, 5, 6, kMiss, kMiss, kMiss, kMiss, kMiss}));
  EXPECT_EQ(values("Y"), (std::vector<double>{1, 2, 0, 0, 0, 6, 7, 8, 9, 10}));
  EXPECT_EQ(core::slot(slots::kSampleStart), 3);
  EXPECT_EQ(core::slot(slots::kSampleEnd), 5);
  // Missing at the first observation of a whole-sample function: the notice, not a failure.
  EXPECT_EQ(run("SAMPLE 1 10; M = MEAN(N)"),
            "message information 0 One or more observations in the specified sample period are missing. Re-set "
            "the sample period and try again. This may have arisen because your formula contains one or more of "
            "the following functions: SUM, MEAN, STD, DIRACC, HPF\n");
  EXPECT_NE(core::find_variable("M"), 0);
}

TEST_F(Commands, SimulationRunsRowByRow) {
  workspace(6, 1);
  core::data_at(6, 1) = 10.0;
  EXPECT_EQ(run("SAMPLE 1 5; SIMB Y = Y(+1)*0.9"), "");
  const std::vector<double> y = values("Y");
  const double expected[] = {5.9049, 6.561, 7.29, 8.1, 9.0, 10.0};
  for (int t = 0; t < 6; ++t) EXPECT_NEAR(y[static_cast<std::size_t>(t)], expected[t], 1e-12) << t;
  EXPECT_EQ(core::variable_desc(1), "SIMB Y(+1)*0.9");
  EXPECT_EQ(run("SAMPLE 2 6; SIM Y = Y(-1) + 1"), "");
  EXPECT_NEAR(values("Y")[5], 5.9049 + 5, 1e-12);
  // Values beyond 2^505 are stored as missing, and the recursion carries the gap.
  workspace(3, 1);
  EXPECT_EQ(run("SIM Y = Y(-1)^600 + 2"), "");
  EXPECT_EQ(values("Y"), (std::vector<double>{kMiss, kMiss, kMiss}));
}

TEST_F(Commands, AddEditDosAndTheirMessagesAreNotFailures) {
  const std::string shown = run("ADD NEW; ADD Y; EDIT Y; DOS");
  EXPECT_EQ(shown,
            "message information 0 The variable NEW            has now been added to the variables on your "
            "workspace.To edit  the values, press OK here and go to the Data Editor in the main window. Enter the "
            "data values for the new variable and then press GO.\n"
            "message error 0 Variable already exists!\n"
            "message information 0 To edit data values, press OK here and go to the Data Editor in the main "
            "window. Press Go when you have made the changes you require.\n"
            "message error 0 DOS Command menu not implemented in Zelvorin for Windows. Please use the File "
            "Manager or other Windows program of your choice.\n");
  EXPECT_EQ(values("NEW"), std::vector<double>(10, kMiss));
}

TEST_F(Commands, HistogramBins) {
  const struct {
    int nobs;
    const char* text;
    int bins;
  } cases[] = {{200, "HIST Y", 15}, {30, "HIST Y", 6}, {200, "HIST Y(500)", 200}, {200, "HIST Y(7)", 7}};
  for (const auto& c : cases) {
    workspace(c.nobs);
    EXPECT_EQ(run(c.text), "") << c.text;
    const auto plot = last_plot();
    ASSERT_TRUE(plot) << c.text;
    EXPECT_EQ(plot->points, c.bins) << c.text;
    EXPECT_EQ(plot->title, "Histogram and Normal curve for variable Y");
  }
}

/// The answer to the results pages the statistics commands write.
constexpr std::string_view kClosePages = "results -> close\n";

/// Whether a statistics command got past the interpreter's checks to its routine, which
/// writes its results page (or its own refusal) and never the general error.
bool reached_routine(const std::string& shown) {
  return !shown.empty() && shown.find(kGeneral) == std::string::npos;
}

TEST_F(Commands, TrailingOrderForms) {
  const struct {
    const char* text;
    bool accepted;
  } cases[] = {
      {"COR Y(12)", true}, {"COR Y X", true},  {"COR Y X(12)", false}, {"COR Y()", false},
      {"COR (12)", false}, {"COR Y(1234)", false}, {"COR", false},
  };
  for (const auto& c : cases) {
    const std::string shown = run(c.text, kClosePages);
    if (c.accepted) EXPECT_TRUE(reached_routine(shown)) << c.text << "\n" << shown;
    else EXPECT_EQ(shown, kGeneral) << c.text;
  }
}

TEST_F(Commands, ReorderTwiceThenRestore) {
  workspace(5, 2);
  const double y[] = {3, kMiss, 1, 2, 5};
  for (int t = 1; t <= 5; ++t) core::data_at(t, 1) = y[t - 1];
  const Snapshot before = snapshot();
  EXPECT_EQ(run("REORDER Y"), "");
  EXPECT_EQ(values("Y"), (std::vector<double>{1, 2, 3, 5, kMiss}));  // the missing key goes last
  EXPECT_EQ(values("X"), (std::vector<double>{7, 6, 9, 5, 8}));      // rows move whole
  EXPECT_EQ(run("REORDER X"), "");
  EXPECT_EQ(run("RESTORE"), "");
  EXPECT_EQ(snapshot(), before);
  // A new data set forgets a pending REORDER.
  EXPECT_EQ(run("REORDER Y"), "");
  core::driver_state().new_data = true;
  EXPECT_EQ(run("RESTORE"), "message error 0  A \"REORDER\" command has not been issued. CannotRESTORE!\n" + kGeneral);
}

TEST_F(Commands, PlotsAgainstTheLastVariable) {
  EXPECT_EQ(run("XPLOT Y C"), "message error 0 C has no variation!\n");
  EXPECT_EQ(plots_kept(), 0);
  core::data_at(5, 2) = kMiss;
  EXPECT_EQ(run("XPLOT Y X"), "message error 0 Missing value for variable X at observation 5\n");
  core::data_at(5, 2) = 5;
  EXPECT_EQ(run("SCATTER Y X"), "");
  const auto plot = last_plot();
  ASSERT_TRUE(plot);
  EXPECT_EQ(plot->title, "Scatter plot of Y on X");
  EXPECT_EQ(plot->series.back().values.front(), 0.0);  // sorted by X
  // A lagged variable lives only while its statement runs.
  EXPECT_EQ(run("PLOT X(-1) Y; DELETE X(-1)"), "");
  EXPECT_EQ(snapshot().names, (std::vector<std::string>{"Y", "X", "C"}));
  EXPECT_EQ(run("KEEP C Y(-1)"), "");
  EXPECT_EQ(snapshot().names, (std::vector<std::string>{"C"}));
}

TEST_F(Commands, StatisticsCommandsCheckTheirArguments) {
  EXPECT_EQ(run("SPECTRUM Y X"), kGeneral);
  EXPECT_TRUE(reached_routine(run("ADF Y(4)", kClosePages)));
  const std::string listed = run("LIST", kClosePages);
  EXPECT_TRUE(reached_routine(listed));
  // LIST alone lists every variable.
  EXPECT_NE(listed.find(" Y "), std::string::npos) << listed;
  EXPECT_NE(listed.find(" X "), std::string::npos) << listed;
}

TEST_F(Commands, FullWorkspace) {
  workspace(3100, 40);
  ASSERT_EQ(core::globals().max_vars, 40);
  const Snapshot before = snapshot();
  EXPECT_EQ(run("NEW = X + 1"), "message error 0 Too many variables!\n");
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(run("REORDER X; RESTORE; X = X + 1; PLOT X(-1)"),
            "message information 0 Not enough space for creating additional temporary lagged variables!\n");
  EXPECT_EQ(core::data_at(1, 2), 10.0);
  EXPECT_EQ(core::globals().nvars, 40);
  // A formula deeper than the evaluator's stack (69 levels here) fails before SIM stores
  // anything: the variable stays whole.
  std::string deep = "1";
  for (int i = 0; i < 80; ++i) deep = "1+(" + deep + ")";
  const Snapshot full = snapshot();
  EXPECT_EQ(run("SIM X = X(-1) + " + deep),
            "message information 0 The formula is too complex for the evaluator's stack: split it into steps.\n" +
                kGeneral);
  EXPECT_EQ(snapshot(), full);
}

TEST_F(Commands, TextsAtTheStatementLimit) {
  std::string text = "A = 1";
  while (text.size() < 3120) text += ' ';
  text.back() = '2';  // "A = 1 ... 2": two operands in a row
  EXPECT_EQ(run(text), kGeneral);
  text = "A = 1" + std::string(3114, ' ') + "+";
  text += "1";
  ASSERT_EQ(text.size(), 3121u);
  text.erase(5, 1);
  EXPECT_EQ(run(text), "");
  EXPECT_EQ(values("A")[0], 2.0);
}

TEST_F(Commands, PrepareModeCompilesWithoutRunning) {
  const std::vector<std::string> names = {"Y"};
  data::FormulaProgram program;
  EXPECT_FALSE(data::prepare_formula(" LOG(Y) + 1 ", data::FormulaNames{names, {}}, program));
  EXPECT_EQ(program.ops.size(), 4u);
  EXPECT_TRUE(data::prepare_formula("NORMAL(0)", data::FormulaNames{names, {}}, program));
  EXPECT_EQ(dialog_script::transcript_text(), "message error 0 Seed should be between 1 & 32000 inclusive!\n");
}

}  // namespace
