// Hypothesis Testing Menu option 9: two regressions whose dependent variables are known
// functions of one variable, compared by simulation, and their results page.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dependent_questions.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/model_spec.h"
#include "engine/core/number_format.h"
#include "engine/core/output_files.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/screen_editor.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/data/dummy_variables.h"
#include "engine/data/formula_compiler.h"
#include "engine/data/formula_evaluator.h"
#include "engine/diagnostics/dependent_forms.h"
#include "engine/diagnostics/non_nested_simulation.h"
#include "engine/diagnostics/non_nested_tests.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/sample_check.h"
#include "engine/single/estimation_state.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::diagnostics {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr int kWidth = 79;
constexpr int kMaxReplications = 30000;
constexpr int kEditorHelpKind = 2042;  ///< the help topic of menu 1042

/// The temporary variables: M2's dependent variable and the two derivatives.
constexpr std::array<std::string_view, 3> kTemporaries = {"DEPTWO_1_", "DF1_1_1_1", "DG1_1_1_1"};

constexpr std::string_view kUndefined = " At least one derivative or fitted value is not defined! ";
constexpr std::string_view kBreakdown =
    "There is a small chance of the simulation method breaking down. At least one simulation test statistic cannot "
    "be calculated! At least one derivative or fitted value is not defined! ";

/// Puts back, whatever way the test ends, the variable count, the names, descriptions and
/// marks and the whole data matrix: the simulation writes into the dependent variable's
/// column and the temporaries come after the user's variables.
class WorkspaceGuard {
 public:
  WorkspaceGuard()
      : nvars_(core::globals().nvars),
        names_(core::exchange().names),
        descs_(core::exchange().descs),
        temporary_(core::exchange().temporary),
        data_(core::work_array().begin(), core::work_array().begin() + limits::kCapacity) {}
  ~WorkspaceGuard() {
    core::globals().nvars = nvars_;
    core::exchange().names = names_;
    core::exchange().descs = descs_;
    core::exchange().temporary = temporary_;
    std::copy(data_.begin(), data_.end(), core::work_array().begin());
  }
  WorkspaceGuard(const WorkspaceGuard&) = delete;
  WorkspaceGuard& operator=(const WorkspaceGuard&) = delete;

 private:
  int nvars_;
  decltype(core::Exchange::names) names_;
  decltype(core::Exchange::descs) descs_;
  decltype(core::Exchange::temporary) temporary_;
  std::vector<double> data_;
};

/// The panel beside the editor.
void write_panel() {
  int status = 0;
  core::OPENTEMPFILE(core::kCreatePanel, status);
  for (const std::string_view line :
       {" Use editor to specify/edit the known functions of your dependent variable",
        " (i.e. left-hand-side variables), inverse of these functions and their",
        " derivatives for each of the non-nested models separately. For example, if the",
        " LHS variables of your models are in log and ratio forms, you need to type:",
        "          F=LOG(Y) ; Y=EXP(F) ; DF=1/Y ;", "          G=Y/W    ; Y=G*W    ; DG=1/W  <End>",
        " Note the variables F, Y, G and W should exist on your workspace but the", " variables DF and DG should not."})
    core::WRITELINE(line, core::channel::kEditorPanel);
}

/// The statements typed in the editor, shown with `start` until they pass; false on cancel.
bool edit_statements(const std::string& dependent, std::string start, DependentStatements& out) {
  std::vector<std::string> lines;
  for (std::size_t from = 0; from <= start.size();) {
    const std::size_t to = std::min(start.find('\n', from), start.size());
    lines.push_back(start.substr(from, to - from));
    from = to + 1;
  }
  std::string session = core::PACKLINES(lines);
  core::EditorCursor cursor;
  // The editor's title is the engine's shared prompt field: put back what it held, so that
  // the editor of M2's regressors is not shown under this title.
  const std::string title = core::exchange().prompt;
  const struct TitleBack {
    const std::string& title;
    ~TitleBack() { core::exchange().prompt = title; }
  } title_back{title};
  for (;;) {
    write_panel();
    core::set_editor_title({"Specify the nature of the dependent variables of models M1 and M2"});
    if (core::SCREENEDITOR(session, cursor, 1, "EQU", kEditorHelpKind) != core::kEditorAccepted) return false;
    if (!parse_statements(session, out)) {
      core::SHOWMESSAGE("Type the function, its inverse and its derivative for each model, separated by ;'s!");
      continue;
    }
    const std::string refusal =
        check_statements(out, dependent, [](std::string_view name) { return core::find_variable(name) != 0; });
    if (refusal.empty()) return true;
    core::SHOWMESSAGE(refusal);
  }
}

/// Menu 1042 for each model and the questions of the chosen forms, or the editor; false
/// when the user goes back.
bool ask_forms(const std::string& dependent, DependentStatements& out) {
  int first = kFormLinear;
  core::DEPVARFORMMENU(first, 1);
  if (first <= kFormBack || first > kFormGeneral) return false;
  std::string y, start = dependent + "=";
  if (first != kFormGeneral) {
    const int base = core::ASKDEPNATURE(first, dependent);
    if (base == 0) return false;
    y = core::variable_name(base);
    std::string divisor;
    if (first == kFormRatio) {
      const int w = core::ASKDEPRATIO(core::RatioQuestion::kDenominator, 1, "");
      if (w == 0) return false;
      divisor = core::variable_name(w);
    }
    const DependentForm m1 = TRANSFORMTEXT(first, y, divisor, dependent);
    int second = kFormLinear;
    core::DEPVARFORMMENU(second, 2);
    if (second <= kFormBack || second > kFormGeneral) return false;
    DependentForm m2;
    if (second != kFormGeneral) {
      std::string divisor2;
      if (second == kFormRatio) {
        const int w = core::ASKDEPRATIO(core::RatioQuestion::kDivisor, 2, y);
        if (w == 0) return false;
        divisor2 = core::variable_name(w);
      }
      m2 = TRANSFORMTEXT(second, y, divisor2, kTemporaries[0]);
      out.name = {dependent, y, "DF", std::string(kTemporaries[0]), y, "DG"};
      out.formula = {m1.function, m1.inverse, m1.derivative, m2.function, m2.inverse, m2.derivative};
      return true;
    }
    start = statements_text(y, dependent, m1, "G", m2);
  }
  return edit_statements(dependent, start, out);
}

/// The statements compiled against the workspace and run on a copy of its data, so that
/// the simulation never writes into the user's columns. The copy has three more columns
/// holding Y, F and G as they are in the data: every lag or lead of Y, F or G in a
/// statement reads them there, so that a simulated observation is formed from the
/// observed past (each model's likelihood is conditional on it).
class Binding {
 public:
  /// Compiles the six statements; M2's inverse reads M2's dependent variable under the
  /// name the user gave it. False (after a message) when one cannot be compiled. Call
  /// after the temporaries were created.
  bool compile(const DependentStatements& s) {
    const auto& g = core::globals();
    nobs_ = g.nobs;
    nvars_ = g.nvars;
    column_f_ = core::find_variable(s.name[kF]);
    column_y_ = core::find_variable(s.name[kInverse1]);
    column_g_ = core::find_variable(kTemporaries[0]);
    column_df_ = core::find_variable(kTemporaries[1]);
    column_dg_ = core::find_variable(kTemporaries[2]);
    std::vector<std::string> names = core::variable_names(), renamed = names;
    if (s.name[kG] != kTemporaries[0]) {
      for (std::string& n : renamed)
        if (n == s.name[kG]) n.clear();
      renamed[static_cast<std::size_t>(column_g_ - 1)] = s.name[kG];
    }
    const std::array<int, 3> written = {column_y_, column_f_, column_g_};
    for (int i = 0; i < 6; ++i) {
      const data::FormulaNames bound{i == kInverse2 ? renamed : names, {}};
      data::CompileResult c = data::compile_formula(s.formula[static_cast<std::size_t>(i)], bound);
      if (c.status != data::FormulaStatus::kOk) {
        core::SHOWMESSAGE(c.message.empty() ? "Error in " + s.name[static_cast<std::size_t>(i)] + "=" +
                                                  s.formula[static_cast<std::size_t>(i)]
                                            : c.message);
        return false;
      }
      std::vector<data::FormulaOp>& ops = c.program.ops;
      for (std::size_t j = 2; j < ops.size(); ++j) {
        if (ops[j].kind != data::FormulaOp::kLag && ops[j].kind != data::FormulaOp::kLead) continue;
        data::FormulaOp& variable = ops[j - 2];
        for (std::size_t w = 0; w < written.size(); ++w)
          if (variable.kind == data::FormulaOp::kVariable && variable.index == written[w])
            variable.index = nvars_ + 1 + static_cast<int>(w);
      }
      programs_[static_cast<std::size_t>(i)] = std::move(c.program);
    }
    first_ = g.sample_start;
    last_ = g.sample_end;
    const auto cells = static_cast<std::size_t>(nobs_) * nvars_;
    buffer_.assign(core::work_array().begin(), core::work_array().begin() + static_cast<std::ptrdiff_t>(cells));
    for (const int v : written) {
      const std::span<const double> c = column(v);
      buffer_.insert(buffer_.end(), c.begin(), c.end());
    }
    capacity_ = data::formula_stack_capacity(data::FormulaCaller::kEstimation, g.nobs, g.nvars);
    result_.assign(static_cast<std::size_t>(nobs_), kMissing);
    return true;
  }

  /// Runs statement `i` into variable `into` of the copy; false when it cannot run.
  bool run(int i, int into) { return run_into(i, column(into)); }

  /// The sample rows of variable v of the copy.
  std::vector<double> sample(int v) {
    const std::span<double> c = column(v);
    return {c.begin() + (first_ - 1), c.begin() + last_};
  }

  /// Takes M2's dependent variable as built from the data as its observed values, and
  /// writes the temporaries into the workspace.
  void keep_data() {
    const std::span<const double> g = column(column_g_);
    std::copy(g.begin(), g.end(), column(nvars_ + 3).begin());
    for (const int v : {column_g_, column_df_, column_dg_}) {
      const std::span<const double> c = column(v);
      std::copy(c.begin(), c.end(), core::work_array().begin() + static_cast<std::ptrdiff_t>(v - 1) * nobs_);
    }
  }

  /// The link of the simulation: model `from`'s dependent variable `own` written into its
  /// column, Y from its inverse, then the other model's dependent variable and both
  /// derivatives.
  bool map(int from, std::span<const double> own, std::span<double> other, std::span<double> d1, std::span<double> d2) {
    const auto offset = static_cast<std::ptrdiff_t>(first_ - 1), rows = static_cast<std::ptrdiff_t>(last_ - first_ + 1);
    std::copy(own.begin(), own.end(), column(from == 0 ? column_f_ : column_g_).begin() + offset);
    if (!run_into(from == 0 ? kInverse1 : kInverse2, result_)) return false;
    std::copy(result_.begin() + offset, result_.begin() + offset + rows, column(column_y_).begin() + offset);
    const int other_column = from == 0 ? column_g_ : column_f_;
    if (!run(from == 0 ? kG : kF, other_column) || !run(kDF, column_df_) || !run(kDG, column_dg_)) return false;
    return copy_out(other_column, other) && copy_out(column_df_, d1) && copy_out(column_dg_, d2);
  }

  int column_f() const { return column_f_; }
  int column_g() const { return column_g_; }
  int column_df() const { return column_df_; }
  int column_dg() const { return column_dg_; }

 private:
  std::span<double> column(int v) {
    return std::span<double>(buffer_).subspan(static_cast<std::size_t>(v - 1) * nobs_, static_cast<std::size_t>(nobs_));
  }
  bool run_into(int i, std::span<double> into) {
    const data::FormulaData data{buffer_, nobs_, nvars_ + 3, {}, kMissing};
    return data::evaluate_formula(programs_[static_cast<std::size_t>(i)], data, first_, last_, into, scratch_, capacity_) ==
           data::FormulaStatus::kOk;
  }
  bool copy_out(int v, std::span<double> into) {
    const std::span<const double> c = column(v);
    for (int t = first_; t <= last_; ++t) {
      const double value = c[static_cast<std::size_t>(t - 1)];
      if (value == kMissing) return false;
      into[static_cast<std::size_t>(t - first_)] = value;
    }
    return true;
  }

  std::array<data::FormulaProgram, 6> programs_;
  int nobs_ = 0, nvars_ = 0;
  int column_f_ = 0, column_y_ = 0, column_g_ = 0, column_df_ = 0, column_dg_ = 0;
  int first_ = 0, last_ = 0, capacity_ = 0;
  std::vector<double> buffer_, result_;
  data::FormulaScratch scratch_;
};

/// Creates the temporaries (missing everywhere); false after a message when they cannot be.
bool create_temporaries() {
  auto& g = core::globals();
  const int count = static_cast<int>(kTemporaries.size());
  // The variables the data matrix holds at most, as for any new variable.
  const int room = std::min({g.max_vars, limits::kMaxVars, limits::kCapacity / std::max(g.nobs, 1)});
  if (g.nvars + count > room) {
    core::SHOWMESSAGE(std::string(data::dummy_messages::kSeasonalNoRoom) + " " + std::to_string(g.nvars + count - room) +
                      " " + std::string(data::dummy_messages::kSeasonalNoRoomEnd));
    return false;
  }
  for (const std::string_view name : kTemporaries)
    if (core::find_variable(name) != 0) {
      core::SHOWMESSAGE("Variable " + std::string(name) + " should not exist on your workspace!");
      return false;
    }
  for (const std::string_view name : kTemporaries) {
    const int j = ++g.nvars;
    core::set_variable(j, name, "");
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = kMissing;
  }
  return true;
}

/// Builds M2's dependent variable and the derivatives over the sample (step 3); false
/// after the message that says why it cannot.
bool build_data(Binding& b, const DependentStatements& s) {
  b.run(kG, b.column_g());
  const std::vector<double> g = b.sample(b.column_g());
  const int first = core::globals().sample_start;
  for (std::size_t t = 0; t < g.size(); ++t) {
    if (g[t] != kMissing) continue;
    // Every value the formula reads is there (a lag may reach before the data): a value
    // that is still missing comes from a logarithm.
    bool inputs = true;
    for (const VariableRead& read : formula_reads(s.formula[kG])) {
      const int number = core::find_variable(read.name);
      const long at = static_cast<long>(first) + static_cast<long>(t) + read.offset;
      inputs = inputs && number != 0 && at >= 1 && at <= core::globals().nobs &&
               core::data_at(static_cast<int>(at), number) != kMissing;
    }
    core::SHOWMESSAGE(inputs && s.formula[kG].find("LOG(") != std::string::npos
                          ? " The dependent variable in model M2 cannot be created. Log of -ve values!"
                          : " Dependent variable in model M2 is not defined overyour sample period!");
    return false;
  }
  for (const auto& [statement, column] : {std::pair{kDF, b.column_df()}, std::pair{kDG, b.column_dg()}}) {
    b.run(statement, column);
    for (const double v : b.sample(column))
      if (v == kMissing || !(std::fabs(v) >= std::numeric_limits<double>::min())) {
        core::SHOWMESSAGE(" Small or missing value for " + s.name[static_cast<std::size_t>(statement)]);
        return false;
      }
  }
  b.keep_data();
  return true;
}

/// The number of replications: 0 ends the test; 1, a negative count or more than 30000
/// beeps and asks again.
int ask_replications() {
  for (;;) {
    int value = 0;
    int status = 1;  // no Cancel button
    core::ASKINTEGER(core::kNoHelp, value, status, "How many replications (Maximum 30,000)?");
    if (status != core::kDialogOk) return 0;
    if (value == 0 || (value >= 2 && value <= kMaxReplications)) return value;
    core::BEEP();
  }
}

void show_failure(const SimulationResult& r) {
  const std::string model = r.failed_model == 0 ? "M1" : "M2";
  switch (r.failure) {
    case SimulationFailure::kExactFit:
      core::SHOWMESSAGE("Model " + model + " fits exactly  Check your model specification and try again!");
      break;
    case SimulationFailure::kSingular:
      core::SHOWMESSAGE("Model " + model +
                        " fits exactly and/or the regressors are multicollinear. Check your model specification and "
                        "try again!");
      break;
    case SimulationFailure::kUndefined: core::SHOWMESSAGE(kUndefined); break;
    case SimulationFailure::kBreakdown: core::SHOWMESSAGE(kBreakdown); break;
    case SimulationFailure::kNone: break;
  }
}

// The results page.

void write_centred(std::string_view text, int channel) {
  std::string line(text);
  core::JUSTIFYTEXT(line, kWidth, 'C');
  core::WRITELINE(line, channel);
}

/// Places a 9-column value field at column `at` (from 0) of `line`.
void put_value(std::string& line, std::size_t at, double value) { line.replace(at, 9, core::FORMATREAL9(value)); }

/// The parameter block: M1's rows from column 1, M2's from column 41, each a name and the
/// two 9-column values "Under" its own model (the estimates on the data) and the other one
/// (their means over the samples simulated under the other model). The rows: the
/// coefficients; " Standard Error" s = sqrt(RSS/(n − k)), the scale of the simulated
/// errors; " Analytic  S.E." the maximum-likelihood σ̃ = sqrt(RSS/n) that the likelihoods
/// use; " Adjusted Log-L" the log-likelihood with the Jacobian terms.
void write_parameters(const SimulationResult& r, std::span<const std::string> names1, std::span<const std::string> names2,
                      int channel) {
  constexpr std::size_t kHalf = 40, kValue1 = 16, kValue2 = 26;
  std::string line(kWidth, ' ');
  line.replace(0, 32, "   Estimates of parameters of M1");
  line.replace(kHalf + 4, 29, "Estimates of parameters of M2");
  core::WRITELINE(line, channel);
  line.assign(kWidth, ' ');
  line.replace(kValue1 + 1, 18, "Under M1  Under M2");
  line.replace(kHalf + kValue1 + 1, 18, "Under M2  Under M1");
  core::WRITELINE(line, channel);
  const auto half = [&](std::string& l, std::size_t at, std::string_view label, const std::array<double, 2>& v) {
    l.replace(at, std::min<std::size_t>(label.size(), kValue1 - 1), label.substr(0, kValue1 - 1));
    put_value(l, at + kValue1, v[0]);
    put_value(l, at + kValue2, v[1]);
  };
  const std::size_t rows = std::max(names1.size(), names2.size());
  for (std::size_t j = 0; j < rows; ++j) {
    line.assign(kWidth, ' ');
    if (j < names1.size()) half(line, 0, " " + names1[j], r.models[0].coefficients[j]);
    if (j < names2.size()) half(line, kHalf, " " + names2[j], r.models[1].coefficients[j]);
    core::WRITELINE(line, channel);
  }
  const struct {
    std::string_view label;
    std::array<double, 2> SimulatedEstimates::*value;
  } summary[] = {{" Standard Error", &SimulatedEstimates::standard_error},
                 {" Analytic  S.E.", &SimulatedEstimates::ml_standard_error},
                 {" Adjusted Log-L", &SimulatedEstimates::loglik}};
  for (const auto& s : summary) {
    line.assign(kWidth, ' ');
    half(line, 0, s.label, r.models[0].*s.value);
    half(line, kHalf, s.label, r.models[1].*s.value);
    core::WRITELINE(line, channel);
  }
}

void write_criterion(std::string_view text, double value, bool probability, int channel) {
  std::string line(kWidth, ' ');
  core::APPENDTEXT(line, 0, text);
  core::APPENDREAL(line, 0, '=', value);
  if (value != kMissing) {
    if (probability) core::APPENDPROB(line, core::ProbKind::kNormal, value, 1, 0);
    core::APPENDTEXT(line, 1, "favours");
    core::APPENDTEXT(line, 1, value >= 0.0 ? "M1" : "M2");
  }
  core::WRITELINE(line, channel);
}

void NNSIMRESULTS(const SimulationResult& r, const DependentStatements& s, std::span<const std::string> names1,
                  std::span<const std::string> names2) {
  const int page = core::channel::kResultsPage;
  const auto& g = core::globals();
  core::SHOWRESULTS(core::kOpenPage);
  write_centred("Non-Nested Tests by Simulation", page);
  core::WRITESTARS(kWidth, page);
  for (const auto& [model, formula] : {std::pair{"M1", s.formula[kF]}, std::pair{"M2", s.formula[kG]}}) {
    std::string line(kWidth, ' ');
    core::APPENDTEXT(line, 0, " Dependent variable in model");
    core::APPENDTEXT(line, 1, model);
    core::APPENDTEXT(line, 1, "is");
    core::APPENDTEXT(line, 1, formula);
    core::WRITELINE(line, page);
  }
  std::string line(kWidth, ' ');
  core::APPENDINTEGER(line, 1, r.n);
  core::APPENDTEXT(line, 1, "observations used from");
  core::APPENDOBSLABEL(line, 1, g.sample_start);
  core::APPENDTEXT(line, 1, "to");
  core::APPENDOBSLABEL(line, 1, g.sample_end);
  core::APPENDTEXT(line, 0, ". Number of replications");
  core::APPENDINTEGER(line, 1, r.replications);
  core::WRITELINE(line, page);
  core::WRITESTARS(kWidth, page);
  write_parameters(r, names1, names2, page);
  core::WRITESTARS(kWidth, page);
  write_centred("Non-Nested Test Statistics and Choice Criteria", page);
  core::WRITESTARS(kWidth, page);
  line.assign(kWidth, ' ');
  core::APPENDTEXT(line, 0, " Test Statistic");
  core::APPENDTEXT(line, 18, "M1 against M2");
  core::APPENDTEXT(line, 19, "M2 against M1");
  core::WRITELINE(line, page);
  WRITESTATLINE(" S-Test", r.s_test[0], r.s_test[1], page, r.replications);
  WRITESTATLINE("PE-Test", r.pe_test[0], r.pe_test[1], page);
  WRITESTATLINE("BM-Test", r.bm_test[0], r.bm_test[1], page);
  WRITESTATLINE("DL-Test", r.dl_test[0], r.dl_test[1], page);
  write_criterion(" Sargan's Likelihood Criterion for M1 versus M2", r.sargan, false, page);
  write_criterion(" Vuong's  Likelihood Criterion for M1 versus M2", r.vuong, true, page);
  core::WRITESTARS(kWidth, page);
  for (const std::string_view note :
       {" S-Test is the Cox-type statistic whose mean under the null is simulated;",
        " the simple version of the simulated Cox test statistic.",
        " PE-Test is the PE test due to MacKinnon, White and Davidson.", " BM-Test is due to Bera and McAleer.",
        " DL-Test is the double-length regression test statistic due to Davidson", " and MacKinnon."})
    core::WRITELINE(note, page);
  core::SHOWRESULTS(core::kShowPage);
}

/// The columns of variables `numbers` over the sample.
std::vector<std::vector<double>> columns(Binding& b, std::span<const int> numbers) {
  std::vector<std::vector<double>> out;
  for (const int v : numbers) out.push_back(b.sample(v));
  return out;
}

}  // namespace

void NONNESTEDGENERAL() {
  const auto& est = single::estimation();
  if (est.eqvarlist.size() < 2 || est.eqvarnames.size() != est.eqvarlist.size()) return;
  const WorkspaceGuard workspace;
  const SampleGuard sample;
  const std::string dependent = names::upper(fixed_text::trim(est.eqvarnames.front()));
  DependentStatements statements;
  if (!ask_forms(dependent, statements)) return;

  RivalModel rival;
  if (!ask_rival_model(rival)) return;
  if (CHECKSAMPLE(rival.all, static_cast<int>(rival.all.size()) - 1, "the non-nested models")) return;

  if (!create_temporaries()) return;
  Binding binding;
  if (!binding.compile(statements) || !build_data(binding, statements)) return;
  const int replications = ask_replications();
  if (replications == 0) return;

  const std::array<SimulatedModel, 2> models = {
      SimulatedModel{binding.sample(binding.column_f()), binding.sample(binding.column_df()), columns(binding, rival.regressors1)},
      SimulatedModel{binding.sample(binding.column_g()), binding.sample(binding.column_dg()), columns(binding, rival.regressors2)}};
  SimulationResult result;
  {
    BusyNotice busy;
    result = NNSIMULATE(models, replications,
                        [&binding](int from, std::span<const double> own, std::span<double> other, std::span<double> d1,
                                   std::span<double> d2) { return binding.map(from, own, other, d1, d2); });
  }
  if (result.failure != SimulationFailure::kNone) {
    show_failure(result);
    return;
  }
  const std::vector<std::string> names1(est.eqvarnames.begin() + 1, est.eqvarnames.end());
  NNSIMRESULTS(result, statements, names1, rival.names2);
}

}  // namespace qorv::diagnostics
