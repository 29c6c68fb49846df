// The specification screen of a system of seemingly unrelated regressions: one equation
// per ";", each its dependent variable followed by its regressors.
#pragma once

#include <string>
#include <vector>

namespace qorv::multi {

/// One equation of a system: variable numbers and names, the dependent variable first.
struct SystemEquation {
  std::vector<int> numbers;        ///< dependent first, then the regressors
  std::vector<std::string> names;  ///< parallel to `numbers`
};

/// What the system screen returns.
struct SystemSpec {
  bool cancelled = true;                  ///< the user cancelled; no equations
  std::vector<SystemEquation> equations;  ///< in the order typed
};

/// The system's kind: 83 a restricted system (help kind 6), any other a plain one (60).
inline constexpr int kRestrictedSystem = 83;

/// Asks the equations of a system of at most `max_equations` equations. `text` in: the
/// text the editor starts from (a preset text in character setting 3 is taken instead,
/// once, without the editor, and the editor shown only when it fails); out: the text as
/// the user last typed it. Each attempt deletes the temporary lagged variables of the
/// previous one and asks for the equation-box file. Every refusal is shown and the editor
/// comes back with the text as typed. Cost: one list reading per equation and attempt.
SystemSpec SPECIFYSURE(std::string& text, int max_equations, int kind);

}  // namespace qorv::multi
