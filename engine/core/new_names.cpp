#include "engine/core/new_names.h"

#include <algorithm>
#include <array>

#include "engine/core/dialog_bridge.h"
#include "engine/core/variable_list.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::core {

namespace {

constexpr int kNameAnswerWidth = 127;
constexpr int kPageLength = charset::kSpecLineWidth * 8;  // 624
constexpr std::string_view kNotValid = " is not a valid name, try again!";

/// Method codes whose model has a second name list (instruments, the other equations).
constexpr std::array<int, 9> kSecondListMethods = {5, 8, 9, 12, 13, 15, 19, 61, 80};

/// The first word of `text` (up to its first blank) and what follows it.
std::pair<std::string_view, std::string_view> first_word(std::string_view text) {
  const std::size_t blank = std::min(text.find(' '), text.size());
  return {text.substr(0, blank), text.substr(blank)};
}

bool listed(std::span<const std::string> list, std::string_view name) {
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& n) { return fixed_text::trim(n) == name; });
}

}  // namespace

NewNameOutcome ASKNEWVARNAME(std::vector<std::string>& names_list, std::string_view prompt) {
  int status = kDialogOk;
  std::string answer;
  ASKSTRING(kNoHelp, status, prompt, answer, kNameAnswerWidth);
  if (status != kDialogOk) return NewNameOutcome::kCancelled;
  const std::string_view typed = fixed_text::trim(answer);
  if (typed.empty()) {
    core::LISTVARIABLES(core::kChooseVariable);
    return NewNameOutcome::kChooser;
  }
  std::string name(first_word(typed).first);
  if (!names::VALIDNAME(name)) {
    SHOWMESSAGE(std::string(typed) + std::string(kNotValid));
    return NewNameOutcome::kRefused;
  }
  if (listed(names_list, name)) {
    SHOWMESSAGE(" Variable " + name + " already exists!");
    return NewNameOutcome::kRefused;
  }
  names_list.push_back(std::move(name));
  return NewNameOutcome::kAdded;
}

int ASKSERIESNAME(std::string_view answer, int method, std::span<const std::string> model_names,
                  std::span<const std::string> second_names, SeriesName& out) {
  const std::string_view typed = fixed_text::trim(answer);
  if (typed == "Q" || typed == "q") return kSeriesNameGiveUp;
  if (typed.empty()) {
    core::show_variable_list();
    return kSeriesNameAgain;
  }
  const auto [word, rest] = first_word(typed);
  std::string name(word);
  if (!names::VALIDNAME(name)) {
    SHOWOK(kError, kNoHelp, std::string(word) + std::string(kNotValid));
    return kSeriesNameAgain;
  }
  const bool second = std::find(kSecondListMethods.begin(), kSecondListMethods.end(), method) !=
                      kSecondListMethods.end();
  if (listed(model_names, name) || (second && listed(second_names, name))) {
    SHOWOK(kError, kNoHelp, " " + fixed_text::pad(name, limits::kNameWidth) + " is used in your current model!");
    return kSeriesNameAgain;
  }
  out.name = std::move(name);
  out.description = std::string(fixed_text::trim(rest));
  out.position = find_variable(out.name);
  return kSeriesNameAccepted;
}

void EDITORINSERTVAR(std::string_view name, std::string& text, EditorCursor& cursor) {
  const std::string_view word = fixed_text::trim(name);
  if (word.empty()) return;
  const int width = charset::kSpecWidth;
  text = fixed_text::pad(text, static_cast<std::size_t>(width));
  const int length = static_cast<int>(word.size());
  const int used = static_cast<int>(fixed_text::trimmed_length(text));
  // The character under the cursor, with every part of the cursor kept in its range.
  const int page = std::clamp(cursor.page, 1, 5);
  const int row = std::clamp(cursor.row, 1, 8);
  const int column = std::clamp(cursor.column, 1, charset::kSpecLineWidth);
  const int at = used == 0 ? 0 : (page - 1) * kPageLength + (row - 1) * charset::kSpecLineWidth + column;
  const int end = used == 0 ? length : std::max(at, used) + 1 + length;
  if (used + length + 1 > width || end > width) {
    SHOWOK(kInformation, kNoHelp, "No room left in editor. Variable not inserted!");
    return;
  }
  int last = length;  // 1-based offset of the name's last character
  if (used == 0) {
    text.replace(0, static_cast<std::size_t>(length), word);
  } else {
    if (used > at) {
      const std::string moved = text.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(used - at));
      text.replace(static_cast<std::size_t>(at + length + 1), moved.size(), moved);
    }
    text[static_cast<std::size_t>(at)] = ' ';
    text.replace(static_cast<std::size_t>(at + 1), static_cast<std::size_t>(length), word);
    last = at + 1 + length;
  }
  cursor.page = (last + kPageLength - 1) / kPageLength;
  cursor.position = last - (cursor.page - 1) * kPageLength;
  cursor.row = (cursor.position + charset::kSpecLineWidth - 1) / charset::kSpecLineWidth;
  cursor.column = cursor.position - (cursor.row - 1) * charset::kSpecLineWidth;
}

}  // namespace qorv::core
