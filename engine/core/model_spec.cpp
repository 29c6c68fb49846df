#include "engine/core/model_spec.h"

#include <array>
#include <optional>

#include "engine/core/dialog_bridge.h"
#include "engine/core/engine_state.h"
#include "engine/core/screen_editor.h"
#include "engine/core/spec_panels.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::core {

namespace {

/// A family's text before its first visit: blank, the cursor at the start.
SavedSpec blank_spec() { return SavedSpec{std::string(kEditorLength, ' '), EditorCursor{}}; }

/// The saved texts of the three families, by `SpecFamily`.
std::array<SavedSpec, 3> g_saved = {blank_spec(), blank_spec(), blank_spec()};

void reset_saved() { g_saved = {blank_spec(), blank_spec(), blank_spec()}; }
const ResetRegistration g_reset(reset_saved);

/// `text` from the first "<END>" (any case) on blanked: the examples end with it.
std::string without_end_marker(std::string_view text) {
  std::string out(text);
  const std::string up = names::upper(text);
  const std::size_t end = up.find("<END>");
  if (end != std::string::npos) out.replace(end, out.size() - end, out.size() - end, ' ');
  return out;
}

/// The first word of `text` and the rest after it.
struct FirstWord {
  std::string word;
  std::string rest;
};
FirstWord first_word(std::string_view text) {
  text = fixed_text::trim(text);
  const std::size_t end = std::min(text.find(' '), text.size());
  return FirstWord{std::string(text.substr(0, end)), std::string(text.substr(end))};
}

std::string plural(const SpecRequest& r) { return r.item_word + "(s)"; }

/// One attempt at reading an accepted text; empty with the refusal shown when it fails.
std::optional<SpecResult> read_spec(const SpecRequest& r, std::string_view typed) {
  std::string text = without_end_marker(typed);
  LEFTJUSTIFY(text);
  const bool blank = fixed_text::trim(text).empty();
  if (blank) {
    if (r.kind != 25 && r.kind != 70) return std::nullopt;
    if (r.kind == 25 && r.required > 0) {
      SHOWMESSAGE(joined_words({" At least", std::to_string(r.required), "additional instruments needed!"}));
      return std::nullopt;
    }
    SpecResult empty;
    empty.cancelled = false;
    return empty;
  }
  const int max_vars = globals().max_vars;
  // A system list: the part before "&" (the endogenous part and, for cointegration, the
  // exogenous I(1) part after ";") and the part after it.
  std::string before = text;
  std::string after;
  std::string exogenous;
  if (r.kind == 17) {
    const std::size_t amp = text.find('&');
    if (amp != std::string::npos) {
      before = text.substr(0, amp);
      after = text.substr(amp + 1);
    }
    if (r.sub_kind == 2) {
      SemicolonSplit split = split_at_semicolon(before);
      before = std::move(split.endogenous);
      exogenous = std::move(split.exogenous);
    }
  }
  VarList list;
  std::string rest = before;
  if (has_dependent(r.kind)) {
    FirstWord first = first_word(before);
    const std::string name = names::valid_name(first.word);
    const int number = name.empty() ? 0 : find_variable(name);
    if (number == 0) {
      SHOWMESSAGE(joined_words({" Variable", first.word, "does not exist or is not valid!"}));
      return std::nullopt;
    }
    list = VarList::with_dependent(name, number);
    rest = std::move(first.rest);
  } else {
    list = VarList::with_dependent(r.model_dependent, find_variable(names::upper(fixed_text::trim(r.model_dependent))));
  }
  // A system's endogenous part may be the dependent variable alone ("Y1 & INPT").
  const bool parse_rest = r.kind != 17 || !fixed_text::trim(rest).empty();
  if (parse_rest && PARSEVARLIST(rest, list, r.kind, max_vars)) return std::nullopt;
  int exogenous_count = 0;
  if (r.kind == 17 && r.sub_kind == 2 && PARSEAFTERSEMICOLON(exogenous, list, exogenous_count)) return std::nullopt;
  const std::size_t counted = list.numbers.size();
  if (!fixed_text::trim(after).empty() && PARSEVARLIST(after, list, r.kind, max_vars)) return std::nullopt;

  const int listed = static_cast<int>(list.numbers.size()) - 1;
  if (is_instrument_kind(r.kind) && r.required > 0 && listed < r.required) {
    SHOWMESSAGE(joined_words({" List at least", std::to_string(r.required), plural(r) + "!"}));
    return std::nullopt;
  }
  if (r.kind == 24 && listed != r.required) {
    SHOWMESSAGE(joined_words({" Exactly", std::to_string(r.required), "variable(s) needed!"}));
    return std::nullopt;
  }
  if (r.kind == 25 && listed < r.required) {
    SHOWMESSAGE(joined_words({" At least", std::to_string(r.required), "additional instruments needed!"}));
    return std::nullopt;
  }

  SpecResult out;
  out.cancelled = false;
  const std::size_t from = has_dependent(r.kind) ? 0 : 1;
  out.numbers.assign(list.numbers.begin() + static_cast<long>(from), list.numbers.end());
  out.names.assign(list.names.begin() + static_cast<long>(from), list.names.end());
  if (list_kind::keeps_record(r.kind) && list.record.size() >= from)
    out.record.assign(list.record.begin() + static_cast<long>(from), list.record.end());
  if (r.kind == 17) {
    out.after_ampersand = static_cast<int>(list.numbers.size() - counted);
    if (r.sub_kind == 2) out.after_ampersand = 1000 * out.after_ampersand + exogenous_count;
  }
  return out;
}

}  // namespace

bool is_instrument_kind(int kind) {
  switch (kind) {
    case 5: case 8: case 9: case 12: case 13: case 15: case 19: case 61: return true;
    default: return false;
  }
}

SpecFamily spec_family(int kind) {
  if (is_instrument_kind(kind) || kind == 70) return kInstrumentFamily;
  if ((kind >= 21 && kind <= 26) || kind == 123 || kind == 223) return kVarFamily;
  return kGeneralFamily;
}

SavedSpec& saved_spec(SpecFamily family) { return g_saved[static_cast<std::size_t>(family)]; }

bool has_dependent(int kind) {
  return kind == 0 || kind == 17 || kind == 26 || kind == 81 || kind == 92 || kind == 93;
}

SemicolonSplit split_at_semicolon(std::string_view text) {
  const std::size_t semi = text.find(';');
  if (semi == std::string_view::npos) return SemicolonSplit{std::string(text), {}};
  return SemicolonSplit{std::string(text.substr(0, semi)), std::string(text.substr(semi + 1))};
}

bool PARSEAFTERSEMICOLON(std::string_view exogenous, VarList& list, int& count) {
  count = 0;
  if (fixed_text::trim(exogenous).empty()) return false;
  const std::size_t before = list.numbers.size();
  if (PARSEVARLIST(exogenous, list, 17, globals().max_vars)) return true;
  count = static_cast<int>(list.numbers.size() - before);
  return false;
}

SpecResult SPECIFYMODEL(const SpecRequest& request) {
  const SpecFamily family = spec_family(request.kind);
  SavedSpec session = request.kind == 70 ? blank_spec() : saved_spec(family);
  SpecResult result;
  // A preset text from the main program is taken once, without the editor.
  const std::string preset(char_setting(charset::kSpecification));
  bool show_editor = true;
  if (!fixed_text::trim(preset).empty()) {
    set_char_setting(charset::kSpecification, "");
    session.text = fixed_text::pad(preset, kEditorLength);
    if (std::optional<SpecResult> r = read_spec(request, session.text)) {
      result = std::move(*r);
      show_editor = false;
    }
  }
  if (show_editor) {
    write_spec_panel(request);
    set_spec_title(request);
    while (true) {
      switch (spec_box_request(request.kind)) {
        case BoxRequest::kSet: set_slot(slots::kEquationBoxRequest, slots::kTrue); break;
        case BoxRequest::kClear: set_slot(slots::kEquationBoxRequest, 0); break;
        case BoxRequest::kLeave: break;
      }
      const int answer = SCREENEDITOR(session.text, session.cursor, 1, "LST", spec_help_kind(request.kind, request.sub_kind));
      if (answer != kEditorAccepted) {
        result = SpecResult{};
        break;
      }
      if (std::optional<SpecResult> r = read_spec(request, session.text)) {
        result = std::move(*r);
        break;
      }
    }
  }
  saved_spec(family) = std::move(session);
  return result;
}

}  // namespace qorv::core
