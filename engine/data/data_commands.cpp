#include "engine/data/data_commands.h"

#include <algorithm>
#include <optional>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/engine_state.h"
#include "engine/core/sample_period.h"
#include "engine/core/screen_editor.h"
#include "engine/core/temp_variables.h"
#include "engine/core/workspace.h"
#include "engine/data/batch_file.h"
#include "engine/data/command_steps.h"
#include "engine/core/file_names.h"
#include "engine/data/session_prompts.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::data {

namespace {

constexpr std::string_view kCommandError = "Error in formula or command OR \";\" missing!";
constexpr std::string_view kBatchError = "Error in batch file! Operations only partially completed!";
constexpr std::string_view kDosMessage =
    "DOS Command menu not implemented in Zelvorin for Windows. Please use the File Manager or other "
    "Windows program of your choice.";

CommandState g_state;

const core::ResetRegistration g_reset([] { g_state = CommandState{}; });

/// The keyword of a statement: its first word (letters, digits, "_", "."), upper-cased;
/// `rest` is the text after it without leading and trailing blanks.
std::string first_word(std::string_view statement, std::string_view& rest) {
  std::size_t end = 0;
  while (end < statement.size() && names::char_class(statement[end]) != names::kOther) ++end;
  rest = fixed_text::trim(statement.substr(end));
  return names::upper(statement.substr(0, end));
}

/// SAMPLE: a period of two date labels over the data set, no question asked.
bool sample(std::string_view arguments, commands::Statement& s) {
  if (arguments.empty()) return true;
  std::string text(arguments);
  int first = s.first, last = s.last;
  if (core::GETSAMPLE(1, core::globals().nobs, first, last, core::kSampleTextOnly, text)) return true;
  s.first = first;
  s.last = last;
  core::DriverState& d = core::driver_state();
  d.command_first = first;
  d.command_last = last;
  core::set_slot(slots::kSampleStart, first);
  core::set_slot(slots::kSampleEnd, last);
  return false;
}

/// ADD: a new variable, every observation missing.
bool add(std::string_view arguments) {
  std::string name(fixed_text::trim(arguments.substr(0, std::min<std::size_t>(arguments.size(), limits::kNameWidth))));
  if (!names::VALIDNAME(name)) return true;
  core::Globals& g = core::globals();
  if (core::find_variable(name) != 0) {
    commands::refuse("Variable already exists!");
    return false;
  }
  if (g.nvars >= g.max_vars) {
    commands::refuse("Too many variables!");
    return false;
  }
  const int j = g.nvars + 1;
  for (int t = 1; t <= g.nobs; ++t) core::data_at(t, j) = limits::kMissing;
  core::set_variable(j, name, "");
  g.nvars = j;
  core::SHOWOK(core::kInformation, core::kNoHelp,
               "The variable " + fixed_text::pad(name, limits::kNameWidth) + " has now been added to" +
                   " the variables on your workspace.To edit " + " the values, press OK here and go to the " +
                   "Data Editor in the main window. Enter the " + "data values for the new variable and then " +
                   "press GO.");
  return false;
}

/// BATCH: opens the named (or chosen) file; nullopt when cancelled or not readable.
std::optional<BatchRecords> open_batch(std::string_view arguments) {
  std::string name;
  if (arguments.empty()) {
    // The file dialog asks only while the data-file setting is blank; it keeps its name.
    const std::string data_file(core::char_setting(charset::kDataFile));
    core::set_char_setting(charset::kDataFile, "");
    const bool chosen = core::GETFILENAME(name, "BAT", core::kOpenFile);
    core::set_char_setting(charset::kDataFile, data_file);
    if (!chosen) return std::nullopt;
  } else {
    name = batch_file_path(arguments).string();
  }
  std::optional<BatchRecords> records = open_batch_file(name);
  if (!records) core::FILEREFUSED(name);
  return records;
}

/// The statements of a command text and of the batch file it may start.
class Interpreter {
 public:
  explicit Interpreter(std::string text) : text_(std::move(text)) {
    const core::DriverState& d = core::driver_state();
    const int nobs = core::globals().nobs;
    statement_.first = d.command_first;
    statement_.last = d.command_last;
    if (statement_.first < 1 || statement_.last > nobs || statement_.first > statement_.last) {
      statement_.first = 1;
      statement_.last = std::max(nobs, 1);
    }
  }

  void run() {
    std::string statement;
    while (next(statement)) {
      if (statement.empty() || statement.front() == '$') continue;
      bool failed = false;
      {
        const core::TemporaryScope temporaries;
        failed = execute(statement);
      }
      if (failed && !regime_failure()) return;
    }
  }

 private:
  /// The next statement, from the batch file while one runs, else from the text. False
  /// when both are exhausted, or after a batch file failed.
  bool next(std::string& statement) {
    while (batch_) {
      switch (READCOMMANDLINE(*batch_, statement)) {
        case CommandLineStatus::kStatement:
          return true;
        case CommandLineStatus::kTooLong:
          regime_failure();
          return false;
        case CommandLineStatus::kEnd:
          core::SHOWMSGFILE(core::msg::kBatchFileEnd);
          batch_.reset();
          core::STOPCALC();
          break;
      }
    }
    if (position_ >= text_.size()) return false;
    const std::size_t end = std::min(text_.find(';', position_), text_.size());
    statement = std::string(fixed_text::trim(std::string_view(text_).substr(position_, end - position_)));
    position_ = end + 1;
    return true;
  }

  /// The failure of the current regime; false when nothing more may run.
  bool regime_failure() {
    if (!batch_) {
      core::SHOWOK(core::kError, core::kNoHelp, kCommandError);
      return true;
    }
    core::SHOWOK(core::kError, core::kNoHelp, kBatchError);
    batch_.reset();
    core::STOPCALC();
    return false;
  }

  bool execute(std::string_view statement) {
    statement_.batch = batch_ ? &*batch_ : nullptr;
    const bool in_batch = statement_.in_batch();
    std::string_view arguments;
    const std::string keyword = first_word(statement, arguments);
    if (keyword == "HELP" && arguments.empty()) {
      if (in_batch) return true;
      FUNCHELPHINT();
      return false;
    }
    if (keyword == "BATCH") {
      if (in_batch) return true;
      batch_ = open_batch(arguments);
      if (batch_) core::SHOWCALCULATING();
      return false;
    }
    if (keyword == "DOS") {
      if (in_batch || !arguments.empty()) return true;
      core::SHOWOK(core::kError, core::kNoHelp, kDosMessage);
      return false;
    }
    if (keyword == "RESTORE") return !arguments.empty() || commands::restore(statement_);
    if (commands::is_list_command(keyword)) return commands::list_command(keyword, arguments, statement_);
    if (keyword == "SAMPLE") return sample(arguments, statement_);
    if (keyword == "ADD") return in_batch || add(arguments);
    if (keyword == "TITLE" || keyword == "ENTITLE") {
      if (keyword == "TITLE" && in_batch) return true;
      return commands::titles(keyword == "ENTITLE", arguments, statement_);
    }
    if (keyword == "SIM" || keyword == "SIMB") {
      if (arguments.empty()) return true;
      return commands::formula(arguments, keyword == "SIM" ? 1 : -1, statement_);
    }
    return commands::formula(statement, 0, statement_);
  }

  std::string text_;
  std::size_t position_ = 0;
  std::optional<BatchRecords> batch_;
  commands::Statement statement_;
};

}  // namespace

CommandState& command_state() { return g_state; }

void run_commands(std::string_view text) {
  core::DriverState& d = core::driver_state();
  if (d.new_data) {
    g_state = CommandState{};
    d.new_data = false;
  }
  std::string copy(fixed_text::trim_right(text));
  if (fixed_text::trim(copy).empty()) return;
  if (core::CHECKBRACKETS(copy)) return;
  Interpreter(std::move(copy)).run();
}

bool prepare_formula(std::string_view text, const FormulaNames& names, FormulaProgram& program) {
  CompileResult compiled = compile_formula(fixed_text::trim(text), names);
  if (compiled.status != FormulaStatus::kOk) {
    if (!compiled.message.empty()) commands::refuse(compiled.message);
    return true;
  }
  program = std::move(compiled.program);
  return false;
}

void DATACOMMANDS(const std::string& text) { run_commands(text); }

}  // namespace qorv::data
