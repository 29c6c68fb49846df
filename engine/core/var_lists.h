// Variable lists typed by the user: workspace variables with lags, leads and lag ranges
// ("Y INPT Y(-1) Y{2 5 7-9} X{0-2}"), and lists of new names.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

/// List kinds with rules of their own (every other kind reads lists the plain way).
namespace list_kind {
inline constexpr int kNoShifts = -1;  ///< any word holding "(" is refused
/// Drop lists: a lag or lead must already exist as a variable.
inline constexpr bool is_drop_list(int kind) { return kind == 23 || kind == 123 || kind == 223; }
/// Kinds that keep the equation record (variable number and lag of every entry).
inline constexpr bool keeps_record(int kind) {
  return kind == 0 || kind == 22 || kind == 26 || kind == 81 || kind == 92 || kind == 93;
}
}  // namespace list_kind

/// One entry of the equation record.
struct RecordEntry {
  int number = 0;  ///< variable number; a lag of the dependent variable names the dependent
  int lag = 0;     ///< 0 plain, -k a lag of k, +k a lead of k
};

/// A variable list. Entry 0 is the dependent variable (its name may be blank); parsed
/// words are added behind it.
struct VarList {
  std::vector<std::string> names;    ///< upper-case names, entry 0 the dependent variable's
  std::vector<int> numbers;          ///< variable numbers, entry 0 the dependent's (or 0)
  std::vector<RecordEntry> record;   ///< parallel to `numbers` for the record kinds
  /// A list holding only the dependent variable `name` with number `number`.
  static VarList with_dependent(std::string_view name, int number);
};

/// The outcome of reading a list: on refusal `message` is what the user is told (empty:
/// only a beep).
struct ListOutcome {
  bool ok = true;
  std::string message;
};

/// The most variables one list may hold behind the dependent variable.
inline constexpr int kMaxListed = 102;

/// Reads `text` into `list` and creates the lags and leads that the workspace lacks as
/// temporary variables (registered as such on success). `max_vars` bounds NVARS. On
/// refusal `list`, NVARS and the registry are as they were on entry, and the temporaries
/// this call created are gone. A word "<END>" (any case) ends the text.
/// Cost O(words * (NVARS + NOBS)).
ListOutcome read_var_list(std::string_view text, VarList& list, int kind, int max_vars);

/// `read_var_list` that shows a refusal: its message with `SHOWMESSAGE`, else a beep.
/// Returns the error flag: false on success.
bool PARSEVARLIST(std::string_view text, VarList& list, int kind, int max_vars);

/// Reads exactly `required` new names into `names` (appended behind its current entries):
/// each must pass the name rule and none may repeat a name of the list. On refusal the
/// list is unchanged and the outcome says why.
ListOutcome check_new_names(std::string_view text, std::vector<std::string>& names, int required);

/// `check_new_names` that shows a refusal with `SHOWMESSAGE`. Returns the error flag.
bool CHECKNEWNAMES(std::string_view text, std::vector<std::string>& names, int required);

}  // namespace qorv::core
