#include "engine/multi/sure_spec.h"

#include <algorithm>
#include <optional>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/output_files.h"
#include "engine/core/report_writer.h"
#include "engine/core/screen_editor.h"
#include "engine/core/spec_panels.h"
#include "engine/core/temp_variables.h"
#include "engine/core/var_lists.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::multi {

using namespace core;

namespace {

/// List kind of the equations of a system: plain lists without an equation record.
constexpr int kSystemListKind = 83;

void write_sure_panel() {
  int status = 0;
  OPENTEMPFILE(kCreatePanel, status);
  for (const std::string_view line :
       {" For each equation in the SURE system list the endogenous variable followed by",
        " the regressors, separating the different equations by ;'s.", "", " Example: Y1 INPT Y1(-1) X1 X2;",
        "          Y2 INPT Y1(-1) Z1;", "          Y3 INPT Y3{1-3} Y1(-1) Y2(-1)"})
    WRITELINE(line, channel::kEditorPanel);
}

/// Reads every equation of `text`; empty with the refusal shown when one fails.
std::optional<std::vector<SystemEquation>> read_system(std::string_view text, int max_equations) {
  std::vector<SystemEquation> equations;
  std::string_view rest = text;
  while (!fixed_text::trim(rest).empty()) {
    const std::size_t semi = std::min(rest.find(';'), rest.size());
    const std::string_view piece = fixed_text::trim(rest.substr(0, semi));
    rest = semi < rest.size() ? rest.substr(semi + 1) : std::string_view{};
    if (piece.empty()) continue;
    const std::size_t end = std::min(piece.find(' '), piece.size());
    const std::string_view word = piece.substr(0, end);
    const std::string name = names::valid_name(word);
    const int number = name.empty() ? 0 : find_variable(name);
    if (number == 0) {
      SHOWMESSAGE(joined_words({std::string(word), "does not exist or is not valid!"}));
      return std::nullopt;
    }
    for (const SystemEquation& e : equations)
      if (e.numbers.front() == number) {
        SHOWMESSAGE(joined_words({name, "is chosen as the dependent variable more than once!"}));
        return std::nullopt;
      }
    if (static_cast<int>(equations.size()) >= max_equations) {
      SHOWMESSAGE("Too many equations!");
      return std::nullopt;
    }
    VarList list = VarList::with_dependent(name, number);
    if (PARSEVARLIST(piece.substr(end), list, kSystemListKind, globals().max_vars)) return std::nullopt;
    equations.push_back(SystemEquation{std::move(list.numbers), std::move(list.names)});
  }
  if (equations.empty()) return std::nullopt;
  for (const SystemEquation& e : equations)
    for (std::size_t i = 1; i < e.numbers.size(); ++i)
      for (const SystemEquation& other : equations)
        if (other.numbers.front() == e.numbers[i]) {
          SHOWMESSAGE(joined_words({e.names[i], "should not appear on the right hand side!"}));
          return std::nullopt;
        }
  return equations;
}

/// One attempt: the busy notice around the reading of the text.
std::optional<std::vector<SystemEquation>> attempt(std::string_view text, int max_equations) {
  SHOWCALCULATING();
  std::string typed(text);
  const std::size_t end = names::upper(typed).find("<END>");
  if (end != std::string::npos) typed.resize(end);
  auto equations = read_system(typed, max_equations);
  STOPCALC();
  return equations;
}

}  // namespace

SystemSpec SPECIFYSURE(std::string& text, int max_equations, int kind) {
  SystemSpec result;
  std::string session = fixed_text::pad(text, kEditorLength);
  const std::size_t mark = temporaries_registered();
  const std::string preset(char_setting(charset::kSpecification));
  if (!fixed_text::trim(preset).empty()) {
    set_char_setting(charset::kSpecification, "");
    session = fixed_text::pad(preset, kEditorLength);
    if (auto equations = attempt(session, max_equations)) {
      text = session;
      result.cancelled = false;
      result.equations = std::move(*equations);
      return result;
    }
  }
  write_sure_panel();
  SpecRequest title;
  title.kind = 17;
  title.sub_kind = kind == kRestrictedSystem ? 3 : 4;
  set_spec_title(title);
  EditorCursor cursor;
  while (true) {
    delete_temporaries(mark);
    set_slot(slots::kEquationBoxRequest, slots::kTrue);
    const int answer = SCREENEDITOR(session, cursor, 1, "EQU", kind == kRestrictedSystem ? 6 : 60);
    if (answer != kEditorAccepted) {
      delete_temporaries(mark);
      break;
    }
    if (auto equations = attempt(session, max_equations)) {
      result.cancelled = false;
      result.equations = std::move(*equations);
      break;
    }
  }
  text = session;
  return result;
}

}  // namespace qorv::multi
