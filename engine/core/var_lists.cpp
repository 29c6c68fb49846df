#include "engine/core/var_lists.h"

#include <algorithm>
#include <optional>

#include "engine/core/dialog_bridge.h"
#include "engine/core/lag_lists.h"
#include "engine/core/temp_variables.h"
#include "engine/core/variable_deletion.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::core {

namespace {

constexpr int kMaxBraceLag = 99;
constexpr std::size_t kMaxWord = limits::kNameWidth;

/// Joins the pieces of a message with one blank between non-empty pieces.
std::string joined(std::initializer_list<std::string_view> pieces) {
  std::string out;
  for (const std::string_view p : pieces) {
    const std::string_view t = fixed_text::trim_right(p);
    if (t.empty() || fixed_text::trim(t).empty()) continue;
    if (!out.empty()) out += ' ';
    out += t;
  }
  return out;
}

std::string invalid_name(std::string_view word) {
  return joined({" Invalid or nonexistent variable name", word, "specified, try again!"});
}

ListOutcome refuse(std::string message = {}) { return ListOutcome{false, std::move(message)}; }

/// Splits the text into words at blanks; a "{" keeps the word open up to its "}".
struct Words {
  std::string_view text;
  std::size_t at = 0;
  /// The next word, empty at the end; `unclosed` when a "{" has no "}".
  std::string_view next(bool& unclosed) {
    unclosed = false;
    while (at < text.size() && text[at] == ' ') ++at;
    const std::size_t start = at;
    while (at < text.size() && text[at] != ' ') {
      if (text[at] == '{') {
        const std::size_t close = text.find('}', at);
        if (close == std::string_view::npos) {
          unclosed = true;
          at = text.size();
          return text.substr(start);
        }
        at = close;
      }
      ++at;
    }
    return text.substr(start, at - start);
  }
};

/// Reads one list of a call: the state that a refusal must undo is kept by the caller.
class ListReader {
 public:
  ListReader(VarList& list, int kind, int max_vars) : list_(list), kind_(kind), max_vars_(max_vars) {}

  const std::vector<int>& created() const { return created_; }

  ListOutcome word(std::string word) {
    const std::size_t brace = word.find('{');
    if (brace != std::string::npos) return braced(word, brace);
    if (word.size() > kMaxWord) return refuse("Variable name too long!");
    return item(word);
  }

 private:
  ListOutcome braced(const std::string& word, std::size_t brace) {
    const std::size_t close = word.find('}', brace);
    const std::string name = word.substr(0, brace);
    const std::string_view inside = std::string_view(word).substr(brace + 1, close - brace - 1);
    if (name.empty() || fixed_text::trim(inside).empty() || close + 1 != word.size()) return refuse();
    std::string valid = name;
    if (!names::VALIDNAME(valid)) return refuse();
    const LagList lags = PARSELAGRANGE(kMaxListed, inside);
    if (lags.error) return refuse(lags.message);
    for (const int k : lags.lags)
      if (k > kMaxBraceLag) return refuse();
    for (const int k : lags.lags) {
      const std::string expanded = k == 0 ? valid : shifted_name(ShiftedName{valid, -k});
      if (ListOutcome r = item(expanded); !r.ok) return r;
    }
    return {};
  }

  ListOutcome item(const std::string& word) {
    if (word.find('(') == std::string::npos) {
      const int j = find_variable(word);
      if (j == 0) return refuse(invalid_name(word));
      return store(word, j, 0);
    }
    if (kind_ == list_kind::kNoShifts) return refuse(invalid_name(word));
    const auto shift = parse_shifted_name(word);
    if (!shift || word.back() != ')') return refuse();
    const std::string canonical = shifted_name(*shift);
    if (duplicate(canonical, 0)) return refuse(twice(canonical));
    const int base = find_variable(shift->base);
    if (list_kind::is_drop_list(kind_)) {
      const int j = find_temporary(*shift);
      if (j == 0 || base == 0) return refuse(invalid_name(word));
      return store(variable_name(j), j, shift->offset, shift->base);
    }
    if (base == 0) return refuse(invalid_name(word));
    if (shift->offset > 0 && shift->offset >= globals().nobs) return refuse();
    if (list_full()) return refuse(too_many());
    const TemporaryResult t = make_temporary(base, *shift, max_vars_);
    if (t.error == TemporaryError::kNoRoom)
      return refuse("Not enough space for creating additional temporary lagged variables!");
    if (t.error == TemporaryError::kNoName) return refuse("Variable name too long!");
    if (t.created) created_.push_back(t.index);
    return store(variable_name(t.index), t.index, shift->offset, shift->base);
  }

  bool duplicate(const std::string& name, int number) const {
    for (std::size_t i = 0; i < list_.names.size(); ++i) {
      if (fixed_text::trim_right(list_.names[i]) == name) return true;
      if (number != 0 && i < list_.numbers.size() && list_.numbers[i] == number) return true;
    }
    return false;
  }

  static std::string twice(std::string_view name) {
    return joined({" Variable", name, "included more than once!"});
  }
  static std::string too_many() {
    return joined({"Too many variables. A max. of", std::to_string(kMaxListed), "allowed!"});
  }
  bool list_full() const { return static_cast<int>(list_.numbers.size()) - 1 >= kMaxListed; }

  ListOutcome store(const std::string& name, int number, int lag, std::string_view base = {}) {
    if (duplicate(name, number)) return refuse(twice(name));
    if (list_full()) return refuse(too_many());
    list_.names.push_back(name);
    list_.numbers.push_back(number);
    if (list_kind::keeps_record(kind_)) {
      const bool own_lag = lag != 0 && !list_.names.empty() && !base.empty() &&
                           fixed_text::trim_right(list_.names.front()) == base && !list_.numbers.empty() &&
                           list_.numbers.front() != 0;
      list_.record.push_back(RecordEntry{own_lag ? list_.numbers.front() : number, lag});
    }
    return {};
  }

  VarList& list_;
  int kind_;
  int max_vars_;
  std::vector<int> created_;  ///< temporaries this call appended
};

}  // namespace

VarList VarList::with_dependent(std::string_view name, int number) {
  VarList list;
  list.names.emplace_back(names::upper(fixed_text::trim(name)));
  list.numbers.push_back(number);
  list.record.push_back(RecordEntry{number, 0});
  return list;
}

ListOutcome read_var_list(std::string_view text, VarList& list, int kind, int max_vars) {
  if (list.names.empty()) list = VarList::with_dependent("", 0);
  const VarList on_entry = list;
  ListReader reader(list, kind, max_vars);
  ListOutcome outcome;
  Words words{text};
  bool any = false;
  while (true) {
    bool unclosed = false;
    const std::string_view w = words.next(unclosed);
    if (w.empty()) break;
    const std::string word = names::upper(w);
    if (word == "<END>") break;
    any = true;
    outcome = unclosed ? refuse() : reader.word(word);
    if (!outcome.ok) break;
  }
  if (outcome.ok && !any) outcome = refuse(invalid_name(""));
  if (!outcome.ok) {
    core::DELETEVARIABLES(reader.created());
    list = on_entry;
    return outcome;
  }
  register_temporaries(reader.created());
  return outcome;
}

namespace {
/// Tells the user why a list was refused; returns the error flag.
bool shown(const ListOutcome& outcome) {
  if (outcome.ok) return false;
  if (outcome.message.empty())
    BEEP();
  else
    SHOWMESSAGE(outcome.message);
  return true;
}
}  // namespace

bool PARSEVARLIST(std::string_view text, VarList& list, int kind, int max_vars) {
  return shown(read_var_list(text, list, kind, max_vars));
}

bool CHECKNEWNAMES(std::string_view text, std::vector<std::string>& names_list, int required) {
  return shown(check_new_names(text, names_list, required));
}

ListOutcome check_new_names(std::string_view text, std::vector<std::string>& names_list, int required) {
  std::vector<std::string> added;
  Words words{text};
  while (true) {
    bool unclosed = false;
    const std::string_view w = words.next(unclosed);
    if (w.empty()) break;
    std::string name(w);
    if (unclosed || !names::VALIDNAME(name))
      return refuse(joined({" Invalid variable name", w, "specified, try again!"}));
    const auto same = [&](const std::string& n) { return fixed_text::trim_right(n) == name; };
    if (std::any_of(names_list.begin(), names_list.end(), same) ||
        std::any_of(added.begin(), added.end(), same))
      return refuse(joined({" Variable", name, "included more than once!"}));
    added.push_back(std::move(name));
    if (static_cast<int>(added.size()) > required)
      return refuse(joined({" Too many variables. Only", std::to_string(required), "required!"}));
  }
  if (static_cast<int>(added.size()) < required)
    return refuse(joined({" Too few variables. You need", std::to_string(required), "variables!"}));
  names_list.insert(names_list.end(), added.begin(), added.end());
  return {};
}

}  // namespace qorv::core
