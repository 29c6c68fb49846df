#include "engine/road/nonlinear_spec.h"

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/engine_state.h"
#include "engine/core/initial_values.h"
#include "engine/core/screen_editor.h"
#include "engine/core/workspace.h"
#include "engine/data/formula_evaluator.h"
#include "engine/single/nonlinear_estimate.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::road {

namespace {

using single::NonLinearFormula;

constexpr std::string_view kRefused = "Error in non-linear regression formula!";

/// Where the editor's caret stood when the formula was last edited.
core::EditorCursor g_cursor;
const core::ResetRegistration kReset{[] { g_cursor = core::EditorCursor{}; }};

/// Reads `text` and runs it once over the whole data set at zero parameters: a formula the
/// evaluator refuses (too deep for its stack) is refused here. Missing values are not.
bool read_formula(const std::string& text, NonLinearFormula& formula) {
  const auto& g = core::globals();
  const std::vector<std::string> names = core::variable_names();
  if (single::read_nonlinear_formula(text, names, formula) != single::NonLinearFormulaStatus::kOk || g.nobs < 1)
    return false;
  const std::vector<double> zeros(formula.parameters.size(), 0.0);
  const data::FormulaData data{core::work_array().first(static_cast<std::size_t>(g.nobs) * static_cast<std::size_t>(g.nvars)),
                               g.nobs, g.nvars, zeros, limits::kMissing};
  std::vector<double> column(static_cast<std::size_t>(g.nobs));
  data::FormulaScratch scratch;
  return data::evaluate_formula(formula.program, data, 1, g.nobs, column, scratch,
                                data::formula_stack_capacity(data::FormulaCaller::kEstimation, g.nobs, g.nvars)) ==
         data::FormulaStatus::kOk;
}

/// The formula from the estimation window's box (used once) or from the editor.
bool enter_formula(std::string& text, NonLinearFormula& formula) {
  const std::string preset(fixed_text::trim(core::char_setting(charset::kSpecification)));
  if (!preset.empty()) {
    core::set_char_setting(charset::kSpecification, "");
    if (read_formula(preset, formula)) {
      text = preset;
      return true;
    }
    core::SHOWOK(core::kError, core::kNoHelp, kRefused);
  }
  std::string edited = text;
  while (true) {
    core::set_editor_title({"Use the screen editor to specify/edit non-linear regression:",
                            "Example: Y=A1*X^A2. Y and X are variables for which data should be available.",
                            "A1 and A2 are parameters to be estimated."});
    if (core::SCREENEDITOR(edited, g_cursor, 0, "EQU", 15) != core::kEditorAccepted) return false;
    if (read_formula(edited, formula)) {
      text = std::string(fixed_text::trim_right(edited));
      return true;
    }
    core::SHOWOK(core::kError, core::kNoHelp, kRefused);
  }
}

/// The initial-value grid of the equation's parameters; false when cancelled.
bool edit_values() {
  single::NonLinearEquation& eq = single::nonlinear_equation();
  std::vector<std::string> names = eq.formula.parameters;
  std::vector<double> values = eq.values;
  int flag = 0;
  const std::vector<std::string> lines = single::formula_lines();
  core::EDITINITVALUES(values, names, core::kNonLinearFormula, flag, lines);
  if (flag != 0) return false;
  eq.values = values;
  return true;
}

/// The request's equation: the dependent variable, then every variable the formula reads.
void take_request_equation(const NonLinearFormula& formula) {
  core::DriverState& d = core::driver_state();
  d.equation.assign(1, formula.dependent);
  for (const data::FormulaOp& op : formula.program.ops)
    if (op.kind == data::FormulaOp::kVariable &&
        std::find(d.equation.begin(), d.equation.end(), op.index) == d.equation.end())
      d.equation.push_back(op.index);
  d.regressor_count = static_cast<int>(formula.parameters.size());
}

}  // namespace

bool NONLINSPEC(int keep_equation) {
  single::NonLinearEquation& eq = single::nonlinear_equation();
  const bool kept = !eq.formula.parameters.empty() && (keep_equation == 1 || keep_equation == 2);
  if (!kept) {
    std::string text = eq.text;
    NonLinearFormula formula;
    if (!enter_formula(text, formula)) {
      core::driver_state().cancelled = true;
      return false;
    }
    single::set_nonlinear_equation(text, std::move(formula));
  }
  if (!(kept && keep_equation == 1) && !edit_values()) {
    core::driver_state().cancelled = true;
    return false;
  }
  take_request_equation(eq.formula);
  return true;
}

}  // namespace qorv::road
