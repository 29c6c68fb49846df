// The statements of the command interpreter, shared by its source files. Every step
// returns true when the statement failed (the interpreter then shows the failure of its
// regime); a statement that ends with a message of its own only returns false.
#pragma once

#include <string>
#include <string_view>

#include "engine/data/batch_file.h"

namespace qorv::data::commands {

/// What a statement runs in.
struct Statement {
  BatchRecords* batch = nullptr;  ///< the batch file the statement came from, if any
  int first = 1;                  ///< the command sample
  int last = 1;
  bool in_batch() const { return batch != nullptr; }
};

/// A formula NAME = expression (`simulation` 1 after SIM, -1 after SIMB, else 0), the
/// deletion NAME =, or a bare list of variables to show.
bool formula(std::string_view text, int simulation, const Statement& s);

/// One of the list commands (REORDER, SCATTER, HIST, SPECTRUM, ADF, KEEP, DELETE, PLOT,
/// XPLOT, EDIT, LIST, COR) with its arguments.
bool list_command(std::string_view keyword, std::string_view arguments, const Statement& s);

/// True when `keyword` is one of the list commands.
bool is_list_command(std::string_view keyword);

/// RESTORE: undoes the pending REORDER.
bool restore(const Statement& s);

/// TITLE or ENTITLE with an optional list.
bool titles(bool entitle, std::string_view arguments, const Statement& s);

/// The message of a statement that ends without running: an error box.
void refuse(std::string_view text);

}  // namespace qorv::data::commands
