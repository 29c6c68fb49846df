#include "engine/core/screen_editor.h"

#include <filesystem>

#include "engine/core/dialog_bridge.h"
#include "engine/core/output_files.h"
#include "engine/core/workspace.h"
#include "shared/equation_box.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/temp_files.h"

namespace qorv::core {

namespace {

constexpr int kLineWidth = 78;
constexpr int kLines = 40;
static_assert(kLineWidth * kLines == kEditorLength, "the editor shows 40 lines of 78");

/// Writes the equation-box file when slot 31 asks for it.
void write_equation_box(std::string_view block) {
  if (slot(slots::kEquationBoxRequest) == 0) return;
  const std::filesystem::path folder(std::string(fixed_text::trim(char_setting(charset::kTempFolder))));
  set_slot(slots::kEquationBoxRequest, 0);
  if (!equation_box::write(folder / std::string(temp_files::kEquationBox), block)) {
    SHOWOK(kError, kNoHelp, kTempFileMessage);
    return;
  }
  set_slot(slots::kEquationBoxDone, slots::kTrue);
}

}  // namespace

int editor_help_context(int help_kind) {
  if (help_kind > 100) return help_kind;
  switch (help_kind) {
    case 14: return kNoHelp;
    case 8: return 121;
    case 9: return 115;
    case 10: return 114;
    case 1: return 20101;
    case 15: return 2011;
    default: return help_kind + 3000;
  }
}

void set_editor_title(std::initializer_list<std::string_view> lines) {
  std::string title;
  for (const std::string_view line : lines) {
    if (!title.empty()) title += "\r\n";
    title += line;
  }
  exchange().prompt = fixed_text::pad(title, charset::kPromptWidth);
}

int SCREENEDITOR(std::string& text, EditorCursor& /*cursor*/, int panel_mode, std::string_view extension,
                 int help_kind, std::span<const std::string> offered) {
  if (fixed_text::trimmed_length(text) > static_cast<std::size_t>(kEditorLength)) {
    SHOWOK(kError, kNoHelp, kTextTooLong);
    return kEditorCancelled;
  }
  const int help = editor_help_context(help_kind);
  std::string block = fixed_text::pad(text, kEditorLength);
  int status = kDialogCancel;
  EDITTEXTFILE(fixed_text::trim_right(exchange().prompt), kLineWidth, kLines, help, status, panel_mode, extension,
               block, offered);
  write_equation_box(block);
  text = std::move(block);
  return status == kDialogOk ? kEditorAccepted : kEditorCancelled;
}

bool CHECKBRACKETS(std::string& text) {
  while (true) {
    const std::size_t open = text.find('[');
    if (open == std::string::npos) return false;
    const std::size_t close = text.find(']');
    if (close == std::string::npos || close < open) {
      SHOWOK(kWarning, kNoHelp, " The commenting out square brackets are not properly positioned!");
      return true;
    }
    text.replace(open, close - open + 1, close - open + 1, ' ');
  }
}

}  // namespace qorv::core
