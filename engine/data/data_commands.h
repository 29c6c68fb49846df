// The command interpreter: the data-processing language typed in the command editor or
// read from a batch file. A command text is split at ";" into statements; each is a
// command (a keyword and its arguments) or a formula NAME = expression.
//
// Outside a batch file a refused statement shows its own message (where it has one), then
// "Error in formula or command OR ";" missing!", and the next statement runs. Inside a
// batch file it shows "Error in batch file! Operations only partially completed!", the
// file is closed and nothing more runs; what was done stays done. A refused statement
// changes nothing, and the temporary lagged variables a statement lists go when it ends.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/data/formula_compiler.h"

namespace qorv::data {

/// The interpreter's words kept between calls.
struct CommandState {
  std::vector<int32_t> order;   ///< REORDER's order record: the original row of each row
  bool reorder_pending = false; ///< a REORDER has not been undone by RESTORE
};

/// The interpreter's state (reset with the engine; a new data set forgets a pending
/// REORDER).
CommandState& command_state();

/// Runs every statement of `text` over the command sample of the request driver.
void run_commands(std::string_view text);

/// `DATACOMMANDS` of the request road: `run_commands` over the command editor's text.
void DATACOMMANDS(const std::string& text);

/// The prepare-only use: checks the expression `text` (no left-hand side) and puts it in
/// postfix form into `program` without running it. A refusal shows the expression's own
/// message where it has one. Returns the error flag: false when prepared.
bool prepare_formula(std::string_view text, const FormulaNames& names, FormulaProgram& program);

}  // namespace qorv::data
