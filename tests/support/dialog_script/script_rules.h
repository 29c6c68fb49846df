// The rules of a dialog script, read from text. See README.md for the language.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dialog_script::detail {

/// The kinds of dialog a rule can answer.
enum class Kind { kMenu, kChoices, kInteger, kReal, kString, kYesNo, kText, kValues, kFile, kResults, kGraph };

/// The script's word for `kind` ("menu", "choices", ...).
std::string_view kind_word(Kind kind);

/// What the results viewer does.
enum class ViewerAction { kClose, kSaveResults, kSaveModel };

/// A rule's answer, read for the rule's kind.
struct Answer {
  bool cancel = false;              ///< `cancel` (and yesno `no`, graph `close`: see `yes`/`keep`)
  long number = 0;                  ///< menu: option number; integer: the value
  std::optional<std::string> typed; ///< integer: text typed instead of a number; menu: the
                                    ///< option's own text, for lists whose lines show no number
  std::vector<long> ticks;          ///< choices: option positions from 1
  float real = 0.0f;                ///< real: the value
  std::string text;                 ///< string, text (lines joined by "\n"), file and viewer paths
  bool yes = false;                 ///< yesno: `yes`
  bool keep = false;                ///< values: `keep`; graph: `keep`
  std::vector<double> values;       ///< values: the new values
  ViewerAction action = ViewerAction::kClose;  ///< results
};

/// One line of a script.
struct Rule {
  Kind kind = Kind::kMenu;
  std::optional<long> number;        ///< menu and choices: menu number; others: help context
  std::optional<std::string> match;  ///< text to find in the title or prompt, lower case
  Answer answer;
  std::string answer_text;           ///< the answer as written, for the transcript
  bool once = false;                 ///< dropped after its first use
  int line = 0;                      ///< line in the script, from 1
  std::string source;                ///< the rule as written, comment removed
};

struct Script {
  bool strict = false;      ///< a list of expectations, each used once, in order
  std::vector<Rule> rules;
};

/// Reads a script; a line that is not a rule throws std::invalid_argument
/// ("line N: reason").
Script parse_script(std::string_view text);

/// `text` in lower case (single bytes, ASCII letters only).
std::string lower(std::string_view text);

}  // namespace dialog_script::detail
