#include "engine/core/results_page.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/engine_state.h"
#include "engine/core/output_files.h"
#include "engine/core/report_writer.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"
#include "shared/temp_files.h"

namespace qorv::core {

namespace {

const ResetRegistration kReset{[] { results_page() = ResultsPageState{}; }};

constexpr std::string_view kEditorTitle =
    "Use the editor to edit equation specification. Press OK to add to model file.";
constexpr int kModelFormatHelp = 129;

std::filesystem::path temp_path(std::string_view name) {
  return std::filesystem::path(std::string(fixed_text::trim(char_setting(charset::kTempFolder)))) / name;
}

void delete_file(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

void delete_page_files() {
  delete_file(results_page_path());
  delete_file(model_page_path());
}

/// Opens `unit` on a new, empty file at `path`. The page files are deleted when a page is
/// shown, so one is there only when a session ended without showing its page: it is
/// deleted only then, which spares a request two deletions of files that are not there.
bool create_page_file(int unit, const std::filesystem::path& path) {
  if (open_channel(unit, path, OpenMode::kNew)) return true;
  delete_file(path);
  return open_channel(unit, path, OpenMode::kNew);
}

/// The file-exists question and the opening of channel 10 on `name`: a new file, or an
/// existing one overwritten or appended to. False when the user quit or the file cannot
/// be written (the user has been told).
bool open_saved_file(const std::string& name) {
  std::error_code ec;
  OpenMode mode = OpenMode::kReplaceSafely;
  // A folder, FIFO or device is refused before the question of overwriting it.
  const bool writable = file_reading::writable_target(name) == file_reading::Failure::kNone;
  if (writable && std::filesystem::exists(name, ec)) {
    const std::array<std::string, 3> options = {"Quit", "Overwrite existing file", "Append to existing file"};
    int status = kDialogCancel;
    int index = 2;
    ASKONEOPTION(kNoHelp, status, index, "File " + std::string(fixed_text::trim(name)) + " exists", options);
    if (status != kDialogOk || index == 0) return false;
    mode = index == 1 ? OpenMode::kReplaceSafely : OpenMode::kAppendSafely;
  }
  if (writable && open_channel(channel::kSavedResults, name, mode)) return true;
  SHOWOK(kError, kNoHelp, "Could not save to this file\r" + name);
  return false;
}

/// Closes channel 10, telling the user when the file could not be completed.
void close_saved_file(const std::string& name) {
  if (!close_channel(channel::kSavedResults)) SHOWOK(kError, kNoHelp, "Could not save to this file\r" + name);
}

/// Up to `most` records of `path`, each padded or cut to `width` columns.
std::vector<std::string> read_page(const std::filesystem::path& path, std::size_t most, int width) {
  std::vector<std::string> lines;
  if (!open_channel(channel::kResultsPage, path, OpenMode::kOld)) return lines;
  std::string record;
  while (lines.size() < most && read_record(channel::kResultsPage, record) == ReadStatus::kOk) {
    lines.push_back(fixed_text::pad(record, static_cast<std::size_t>(width)));
  }
  close_channel(channel::kResultsPage);
  return lines;
}

void save_results_file() {
  const std::string name = results_page().results_file;
  if (!open_saved_file(name)) return;
  for (const std::string& line : read_page(results_page_path(), SIZE_MAX, kResultsRecordWidth)) {
    write_record(channel::kSavedResults, line);
  }
  close_saved_file(name);
}

void save_model_file() {
  const std::array<std::string, 5> options = {
      "0. Quit", "1. Save in MOD Zelvorin model file format", "2. Save in TXT Winsolve model file format",
      "3. Save in MOD National Institute model file format",
      "4. Save in MOD London Business School model file format"};
  int status = kDialogCancel;
  int format = kModelOwn;
  ASKONEOPTION(kModelFormatHelp, status, format, "Model file format", options);
  if (status != kDialogOk || format < kModelOwn || format > kModelLondon) return;

  std::string text = PACKLINES(read_page(model_page_path(), kBlockLines, kBlockWidth));
  exchange().prompt = fixed_text::pad(kEditorTitle, charset::kPromptWidth);
  EDITTEXTFILE(kEditorTitle, kBlockWidth, kBlockLines, kNoHelp, status, 0, "EQU", text);

  const std::string name = results_page().model_file;
  if (!open_saved_file(name)) return;
  for (const std::string& record : model_file_records(text, format)) write_record(channel::kSavedResults, record);
  close_saved_file(name);
}

void open_page() {
  ResultsPageState& s = results_page();
  if (report_writer().copy_flag) SHOWRESULTS(kShowPage);
  report_writer().copy_flag = true;
  const bool page = create_page_file(channel::kResultsPage, results_page_path());
  const bool model = create_page_file(channel::kModelPage, model_page_path());
  s.lost_page = !page || !model;
  if (s.lost_page) {
    close_channel(channel::kResultsPage, CloseMode::kDelete);
    close_channel(channel::kModelPage, CloseMode::kDelete);
    SHOWOK(kError, kNoHelp, kTempFileMessage);
  }
}

void close_page() {
  close_channel(channel::kResultsPage);
  close_channel(channel::kModelPage);
  report_writer().copy_flag = false;
}

void show_page(int mode) {
  ResultsPageState& s = results_page();
  const bool was_open = report_writer().copy_flag;
  write_record(channel::kResultsPage, "\f");
  close_page();
  if (!was_open || s.lost_page) {
    s.lost_page = false;
    return;
  }
  const int action = SHOWRESULTSPAGE(results_page_path().string(), s.results_file, s.model_file,
                                     mode == kShowPageWithModel ? 1 : 0);
  if (action == 3) {
    save_results_file();
  } else if (action == 2) {
    save_model_file();
  }
}

/// True when `text[a..b]` (from 1) is all blank.
bool all_blank(std::string_view text, int a, int b) {
  return text.substr(static_cast<std::size_t>(a - 1), static_cast<std::size_t>(b - a + 1)).find_first_not_of(' ') ==
         std::string_view::npos;
}

}  // namespace

ResultsPageState& results_page() {
  static ResultsPageState state;
  return state;
}

std::filesystem::path results_page_path() { return temp_path(temp_files::kResultsPage); }
std::filesystem::path model_page_path() { return temp_path(temp_files::kModelPage); }

void SHOWRESULTS(int mode) {
  set_slot(slots::kEquationBoxRequest, 0);
  std::string folder(char_setting(charset::kTempFolder));
  LEFTJUSTIFY(folder);
  set_char_setting(charset::kTempFolder, folder);

  if (mode == kOpenPage) {
    open_page();
    return;
  }
  if (mode == kShowPage || mode == kShowPageWithModel) {
    show_page(mode);
  } else {
    close_page();
    results_page().lost_page = false;
  }
  delete_page_files();
}

std::vector<std::string> cut_model_text(std::string_view text) {
  const std::string block = PACKLINES(UNPACKLINES(text));
  constexpr int kLast = kBlockLength;
  std::vector<std::string> pieces;
  int s = 1;
  while (s <= kLast) {
    int e = std::min(s + kModelPieceWidth - 1, kLast);
    if (all_blank(block, s, e)) {
      if (e == kLast) break;
      s = e + 1;
      continue;
    }
    if (e < kLast) {
      const std::size_t blank = block.rfind(' ', static_cast<std::size_t>(e - 1));
      if (blank != std::string::npos && static_cast<int>(blank) >= s - 1) {
        e = static_cast<int>(blank) + 1;
        if (all_blank(block, s, e)) {
          s = e + 1;
          continue;
        }
      }
    }
    pieces.push_back(block.substr(static_cast<std::size_t>(s - 1), static_cast<std::size_t>(e - s + 1)));
    s = e + 1;
  }
  return pieces;
}

std::vector<std::string> model_file_records(std::string_view text, int format) {
  const std::vector<std::string> pieces = cut_model_text(text);
  const std::string first_mark = "*" + std::string(9, ' ');
  const std::string next_mark = "*    &    ";
  std::vector<std::string> records;
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const bool last = k + 1 == pieces.size();
    const std::string& piece = pieces[k];
    switch (format) {
      case kModelOwn: records.push_back(" " + piece + (last ? " ;" : "")); break;
      case kModelWinsolve: records.push_back(first_mark + piece + (last ? " ;" : "")); break;
      default: records.push_back((k == 0 ? first_mark : next_mark) + piece); break;
    }
  }
  records.emplace_back(" ");
  return records;
}

}  // namespace qorv::core
