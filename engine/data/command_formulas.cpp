// Formulas of the command interpreter: NAME = expression, SIM and SIMB, NAME = (deletion)
// and bare lists.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/engine_state.h"
#include "engine/core/results_page.h"
#include "engine/core/var_lists.h"
#include "engine/core/workspace.h"
#include "engine/data/command_steps.h"
#include "engine/data/formula_compiler.h"
#include "engine/data/formula_evaluator.h"
#include "engine/core/variable_deletion.h"
#include "engine/core/variable_list.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::data::commands {

namespace {

/// A simulated value beyond 2^505 in magnitude is stored as missing.
const double kSimulationBound = std::ldexp(1.0, 505);

constexpr std::string_view kWholeSampleNotice =
    "One or more observations in the specified sample period are missing. Re-set the sample period and try "
    "again. This may have arisen because your formula contains one or more of the following functions: SUM, "
    "MEAN, STD, DIRACC, HPF";

/// The columns the formulas work in, kept from statement to statement so that a long batch
/// file neither allocates nor hands memory back to the system at every line. Nothing in
/// them outlives a statement: each statement writes every value it reads.
struct FormulaBuffers {
  std::vector<double> result;  ///< the new values of the statement's variable
  std::vector<double> before;  ///< a simulated variable as it was, to put back on failure
  FormulaScratch scratch;
};

FormulaBuffers& buffers() {
  static FormulaBuffers b;
  return b;
}

const core::ResetRegistration kReset{[] { buffers() = FormulaBuffers{}; }};

/// The upper-case names of variables 1..NVARS.
std::vector<std::string> workspace_names() {
  std::vector<std::string> names;
  for (int j = 1; j <= core::globals().nvars; ++j) names.push_back(core::variable_name(j));
  return names;
}

std::span<double> column(int j) {
  const int nobs = core::globals().nobs;
  return core::work_array().subspan(static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(nobs),
                                    static_cast<std::size_t>(nobs));
}

/// A statement without "=": the listed variables and their descriptions.
bool bare_list(std::string_view text) {
  core::VarList list = core::VarList::with_dependent("", 0);
  if (core::PARSEVARLIST(text, list, 1, core::globals().max_vars)) return true;
  core::SHOWRESULTS(core::kOpenPage);
  core::list_descriptions(std::span<const int>(list.numbers).subspan(1));
  core::SHOWRESULTS(core::kShowPage);
  return false;
}

/// Runs `program` into the existing variable `j` one observation at a time (forwards for
/// SIM, backwards for SIMB), so that each value is seen by the later ones. On failure the
/// variable is put back as it was.
FormulaStatus simulate(const FormulaProgram& program, int j, int simulation, const Statement& s) {
  const core::Globals& g = core::globals();
  const std::span<double> values = column(j);
  std::vector<double>& before = buffers().before;
  before.assign(values.begin(), values.end());
  const FormulaData data{core::work_array().first(static_cast<std::size_t>(g.nobs) * static_cast<std::size_t>(g.nvars)),
                         g.nobs, g.nvars, {}, limits::kMissing};
  const int capacity = formula_stack_capacity(FormulaCaller::kCommands, g.nobs, g.nvars);
  FormulaScratch& scratch = buffers().scratch;
  for (int step = 0; step <= s.last - s.first; ++step) {
    const int t = simulation > 0 ? s.first + step : s.last - step;
    const FormulaStatus status = evaluate_formula(program, data, t, t, values, scratch, capacity);
    if (status != FormulaStatus::kOk) {
      std::copy(before.begin(), before.end(), values.begin());
      return status;
    }
    double& v = values[static_cast<std::size_t>(t - 1)];
    if (v != limits::kMissing && std::abs(v) > kSimulationBound) v = limits::kMissing;
  }
  return FormulaStatus::kOk;
}

}  // namespace

void refuse(std::string_view text) { core::SHOWOK(core::kError, core::kNoHelp, text); }

bool formula(std::string_view text, int simulation, const Statement& s) {
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return s.in_batch() || simulation != 0 || bare_list(text);
  if (equals == 0) return true;
  core::Globals& g = core::globals();
  const std::string_view left = fixed_text::trim(text.substr(0, equals));
  const std::string_view right = fixed_text::trim(text.substr(equals + 1));
  if (right.empty()) {
    // NAME = deletes the variable NAME.
    if (simulation != 0) return true;
    const int j = core::find_variable(names::upper(left));
    if (j == 0) return true;
    core::DELETEVARIABLE(j);
    return false;
  }
  const std::string_view expression = right.substr(0, right.find('"'));
  const std::string description(right.substr(0, std::min<std::size_t>(right.size(), limits::kDescWidth)));
  const std::vector<std::string> names = workspace_names();
  const CompileResult compiled = compile_formula(expression, FormulaNames{names, {}}, simulation != 0);
  if (compiled.status != FormulaStatus::kOk) {
    const bool silent = s.in_batch() && compiled.status == FormulaStatus::kRandomInSimulation;
    if (!compiled.message.empty() && !silent) refuse(compiled.message);
    return true;
  }
  std::string name(left.substr(0, std::min<std::size_t>(left.size(), limits::kNameWidth)));
  if (!names::VALIDNAME(name)) {
    refuse("Left hand side variable " + name + " is not valid or is a reserved name!");
    return true;
  }
  const FormulaProgram& program = compiled.program;
  const int j = core::find_variable(name);
  if (j == 0 && g.nvars >= g.max_vars) {
    refuse("Too many variables!");
    return false;
  }
  const int single = program.single_variable();
  if (j != 0 && simulation != 0) {
    if (simulate(program, j, simulation, s) != FormulaStatus::kOk) return true;
    core::set_variable(j, name, std::string(simulation > 0 ? "SIM " : "SIMB ") + description);
  } else {
    std::vector<double>& result = buffers().result;
    result.assign(static_cast<std::size_t>(g.nobs), limits::kMissing);
    FormulaScratch& scratch = buffers().scratch;
    const FormulaData data{core::work_array().first(static_cast<std::size_t>(g.nobs) * static_cast<std::size_t>(g.nvars)),
                           g.nobs, g.nvars, {}, limits::kMissing};
    const FormulaStatus status = evaluate_formula(program, data, s.first, s.last, result, scratch,
                                                  formula_stack_capacity(FormulaCaller::kCommands, g.nobs, g.nvars));
    if (status != FormulaStatus::kOk) return true;
    const std::string desc = single != 0 ? core::variable_desc(single) : description;
    if (j != 0) {
      std::copy(result.begin() + s.first - 1, result.begin() + s.last, column(j).begin() + s.first - 1);
      core::set_variable(j, name, desc);
    } else {
      const int k = g.nvars + 1;
      std::copy(result.begin(), result.end(), column(k).begin());
      core::set_variable(k, name, desc);
      g.nvars = k;
    }
  }
  if (program.whole_sample && column(core::find_variable(name))[static_cast<std::size_t>(s.first - 1)] == limits::kMissing)
    core::SHOWOK(core::kInformation, core::kNoHelp, kWholeSampleNotice);
  return false;
}

}  // namespace qorv::data::commands
