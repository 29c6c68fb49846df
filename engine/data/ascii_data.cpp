#include "engine/data/ascii_data.h"

#include <algorithm>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/list_directed.h"
#include "engine/core/menu_system.h"
#include "engine/core/obs_label.h"
#include "engine/core/user_format.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::data {

namespace {

constexpr int kFileStructureMenu = 1015;
constexpr int kDataFormatMenu = 1048;

/// A menu of options 1 and 2; a preset outside them is dropped and the menu shown.
int ask_one_or_two(int menu) {
  const core::MenuTable& table = *core::find_menu_table(menu);
  int choice = 1;
  do {
    choice = 1;
    core::show_menu_table(table, choice);
  } while (choice < 0 || choice > 2);
  return choice;
}

/// Asks the format text until it is usable; empty on cancel.
std::optional<std::string> ask_format_text() {
  for (;;) {
    std::string answer = "()";
    int status = core::kDialogOk;
    core::ASKSTRING(core::kNoHelp, status, ascii_messages::kFormatPrompt, answer, kFormatTextWidth);
    if (status != core::kDialogOk) return std::nullopt;
    const std::string text(fixed_text::trim(answer));
    if (text.size() <= 2 || text.front() != '(' || text.back() != ')') {
      core::BEEP();
      continue;
    }
    std::string why;
    if (!core::parse_user_format(text, &why)) {
      core::BEEP();
      core::SHOWOK(core::kError, core::kNoHelp, " The format " + text + " cannot be used: " + why + "!");
      continue;
    }
    return text;
  }
}

/// Closes a channel when it goes out of scope.
struct ChannelCloser {
  int unit;
  ~ChannelCloser() { core::close_channel(unit); }
};

/// One read statement of `out.size()` values, free or fixed format.
bool read_statement(int unit, const AsciiLayout& layout, const core::FormatProgram* program, std::span<double> out) {
  std::fill(out.begin(), out.end(), limits::kMissing);
  if (layout.format == kFreeFormat) return core::read_numbers(unit, out).status == core::ListStatus::kOk;
  const core::RecordSource next = [unit](std::string& record) {
    return core::read_record(unit, record) == core::ReadStatus::kOk;
  };
  return core::read_formatted(*program, next, out) == core::FormatReadStatus::kOk;
}

}  // namespace

std::optional<AsciiLayout> ASKDATALAYOUT() {
  AsciiLayout layout;
  layout.structure = ask_one_or_two(kFileStructureMenu);
  if (layout.structure == 0) return std::nullopt;
  layout.format = ask_one_or_two(kDataFormatMenu);
  if (layout.format == 0) return std::nullopt;
  if (layout.format == kFixedFormat) {
    auto text = ask_format_text();
    if (!text) return std::nullopt;
    layout.format_text = std::move(*text);
  }
  return layout;
}

bool READTEXTDATA(std::span<double> values, int nobs, int nvars, std::span<const std::string> names,
                  const obs_calendar::DataStart& start, int unit) {
  const ChannelCloser closer{unit};
  if (nobs < 1 || nvars < 1 || values.size() < static_cast<std::size_t>(nobs) * static_cast<std::size_t>(nvars))
    return false;
  const std::optional<AsciiLayout> layout = ASKDATALAYOUT();
  if (!layout) return false;
  std::optional<core::FormatProgram> program;
  if (layout->format == kFixedFormat) program = core::parse_user_format(layout->format_text);
  if (layout->format == kFixedFormat && !program) return false;

  core::STARTCALC(ascii_messages::kReading);
  std::string failed;
  if (layout->structure == kByVariables) {
    for (int j = 1; j <= nvars && failed.empty(); ++j) {
      const std::span<double> column = values.subspan(static_cast<std::size_t>(j - 1) * nobs, static_cast<std::size_t>(nobs));
      if (!read_statement(unit, *layout, program ? &*program : nullptr, column)) {
        const std::string name = j <= static_cast<int>(names.size()) ? std::string(fixed_text::trim(names[j - 1])) : "";
        failed = std::string(ascii_messages::kVariableError) + (name.empty() ? std::to_string(j) : name) + "!";
      }
    }
  } else {
    std::vector<double> row(static_cast<std::size_t>(nvars));
    for (int t = 1; t <= nobs && failed.empty(); ++t) {
      if (!read_statement(unit, *layout, program ? &*program : nullptr, row)) {
        failed = std::string(ascii_messages::kObservationError) + core::plain_label(core::OBSLABEL(t, start)) + "!";
        break;
      }
      for (int j = 1; j <= nvars; ++j)
        values[static_cast<std::size_t>(j - 1) * nobs + static_cast<std::size_t>(t - 1)] = row[static_cast<std::size_t>(j - 1)];
    }
  }
  core::STOPCALC();
  if (!failed.empty()) core::SHOWOK(core::kError, core::kNoHelp, failed);
  return failed.empty();
}

}  // namespace qorv::data
