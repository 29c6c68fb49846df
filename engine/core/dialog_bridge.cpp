#include "engine/core/dialog_bridge.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"
#include "shared/pravel_api.h"
#include "shared/temp_files.h"

namespace qorv::core {

namespace {

constexpr int kMaxMessageLines = 20;  ///< lines of the message file shown at once
constexpr int kNameWidth = limits::kNameWidth;

/// `v` clamped into a 16-bit integer.
int16_t to16(long v) {
  return static_cast<int16_t>(std::clamp<long>(v, std::numeric_limits<int16_t>::min(),
                                               std::numeric_limits<int16_t>::max()));
}

/// A text as the library takes it: without trailing blanks, at most `limit` characters,
/// with its length.
struct TrimmedText {
  std::string text;
  int16_t length;
  TrimmedText(std::string_view t, std::size_t limit = std::numeric_limits<int16_t>::max())
      : text(fixed_text::trim_right(t).substr(0, std::min(fixed_text::trimmed_length(t), limit))),
        length(static_cast<int16_t>(text.size())) {
    if (text.empty()) text = " ";  // never pass a null pointer
  }
};

/// `items` each blank-padded or cut to `width`, one after the other.
std::string item_block(std::span<const std::string> items, int width) {
  return fixed_text::join_items(items, width, static_cast<int>(items.size()));
}

std::string lines_text(int first, int last) {
  return first == last ? "line " + std::to_string(first)
                       : "lines " + std::to_string(first) + " to " + std::to_string(last);
}

}  // namespace

void SHOWOK(int kind, int help_context, std::string_view text) {
  const TrimmedText t(text, kMessageWidth);
  const int16_t len = t.length, help = to16(help_context), k = to16(kind);
  GetOKP(&len, &help, &k, t.text.data());
}

void ASKINTEGER(int help_context, int& value, int& status, std::string_view prompt) {
  const TrimmedText t(prompt);
  const int16_t help = to16(help_context);
  int16_t v = to16(value), s = to16(status);
  GetIntegerP(&t.length, &help, &v, &s, t.text.data());
  status = s;
  value = s == kDialogOk ? v : 0;
}

void ASKREAL(int help_context, float& value, int& status, std::string_view prompt) {
  const TrimmedText t(prompt);
  const int16_t help = to16(help_context);
  int16_t s = to16(status);
  float v = value;
  GetRealP(&t.length, &help, &s, &v, t.text.data());
  status = s;
  value = s == kDialogOk ? v : 0.0f;
}

bool ASKYESNO(int help_context, std::string_view prompt) {
  const TrimmedText t(prompt);
  const int16_t help = to16(help_context);
  int16_t answer = 0, status = 0;
  GetLogP(&t.length, &answer, &help, &status, t.text.data());
  return answer != 0;
}

void ASKSTRING(int help_context, int& status, std::string_view prompt, std::string& answer, int width) {
  const TrimmedText t(prompt);
  const int16_t help = to16(help_context), len = to16(std::max(width, 1));
  std::string buffer = fixed_text::pad(answer, static_cast<std::size_t>(len));
  int16_t s = 0;
  GetStringP(&t.length, &len, &help, &s, t.text.data(), buffer.data());
  status = s;
  if (s == kDialogOk) answer = std::move(buffer);
}

void EDITTEXTFILE(std::string_view title, int line_length, int lines, int help_context, int& status,
                  int mode, std::string_view extension, std::string& text,
                  std::span<const std::string> offered) {
  const TrimmedText t(title);
  const int16_t linelen = to16(std::max(line_length, 1)), nlines = to16(std::max(lines, 1));
  const int16_t help = to16(help_context), m = to16(mode);
  std::string block = fixed_text::pad(text, static_cast<std::size_t>(linelen) * static_cast<std::size_t>(nlines));
  const int nvars = offered.empty() ? std::clamp(globals().nvars, 0, limits::kMaxVars)
                                    : static_cast<int>(std::min<std::size_t>(offered.size(), INT16_MAX));
  std::string names;
  for (int i = 1; i <= nvars; ++i)
    names += fixed_text::pad(offered.empty() ? exchange().names[static_cast<std::size_t>(i)]
                                             : offered[static_cast<std::size_t>(i - 1)],
                             kNameWidth);
  names += ' ';  // never a null pointer
  const int16_t nnames = static_cast<int16_t>(nvars);
  const std::string ext = fixed_text::pad(extension, 3);

  // The editor reads the panel file itself: it must be complete on disk while it runs.
  const bool panel_open = channel_is_open(channel::kEditorPanel);
  const std::filesystem::path panel = channel_path(channel::kEditorPanel);
  if (panel_open) close_channel(channel::kEditorPanel);
  int16_t s = 0;
  GetTextP(&t.length, &linelen, &nlines, &help, &s, &nnames, t.text.data(), block.data(), names.data(), &m,
           ext.data());
  if (panel_open) open_channel(channel::kEditorPanel, panel, OpenMode::kAppend);
  status = s;
  if (s == kDialogOk) text = std::move(block);
}

void ASKONEOPTION(int help_context, int& status, int& index, std::string_view title,
                  std::span<const std::string> options) {
  const TrimmedText t(title);
  const std::string block = item_block(options, kOptionWidth) + " ";
  const int16_t n = to16(static_cast<long>(options.size())), width = kOptionWidth, help = to16(help_context);
  int16_t s = 0, i = to16(index);
  GET1OPTIONP(&t.length, &n, &width, &help, &s, &i, t.text.data(), block.data());
  status = s;
  if (s == kDialogOk) index = i;
}

void ASKSOMEOPTIONS(int help_context, int& status, std::span<int> flags, std::string_view title,
                    std::span<const std::string> options) {
  const TrimmedText t(title);
  const std::size_t count = std::min(options.size(), flags.size());
  const std::string block = item_block(options.first(count), kOptionWidth) + " ";
  const int16_t n = to16(static_cast<long>(count)), width = kOptionWidth, help = to16(help_context);
  std::vector<int16_t> f(count + 1, 0);
  for (std::size_t i = 0; i < count; ++i) f[i] = flags[i] != 0 ? 1 : 0;
  int16_t s = 0;
  GETSOMEOPTIONSP(&t.length, &n, &width, &help, &s, f.data(), t.text.data(), block.data());
  status = s;
  if (s == kDialogOk)
    for (std::size_t i = 0; i < count; ++i) flags[i] = f[i];
}

void ASKVALUES(std::span<double> values, std::span<const std::string> names, int help_context, int& status,
               std::string_view prompt) {
  const TrimmedText t(prompt);
  const std::size_t count = std::min(values.size(), names.size());
  std::size_t width = kNameWidth;
  for (std::size_t i = 0; i < count; ++i) width = std::max(width, fixed_text::trimmed_length(names[i]));
  const std::string block = item_block(names.first(count), static_cast<int>(width)) + " ";
  std::vector<double> v(values.begin(), values.begin() + static_cast<long>(count));
  v.push_back(0.0);  // never a null pointer
  const int16_t n = to16(static_cast<long>(count)), w = to16(static_cast<long>(width)), help = to16(help_context);
  int16_t s = 0;
  GetValuesP(v.data(), t.text.data(), block.data(), &s, &t.length, &n, &w, &help);
  status = s;
  if (s == kDialogOk) std::copy_n(v.begin(), count, values.begin());
}

void ASKFILE(std::string& name, int mode, std::string_view extension, int& result) {
  const int16_t len = charset::kPathWidth, unused = 0;
  std::string buffer = fixed_text::pad(name, charset::kPathWidth);
  const std::string ext = fixed_text::pad(extension, 3);
  int16_t m = to16(mode);
  GetFileP(&len, &unused, &m, buffer.data(), ext.data());
  result = m;
  if (m == kDialogOk) name = std::string(fixed_text::trim_right(buffer));
}

void STARTCALC(std::string_view text) {
  const TrimmedText t(text);
  StartCalcP(&t.length, t.text.data());
}

void STOPCALC() { StopCalcP(); }

void BEEP() { DoBeepP(); }

int WRITEDATAFILE(const DataFileHeader& header, std::string_view names, int name_stride,
                  std::string_view descriptions, int description_stride, std::string_view file_name,
                  std::span<const double> data) {
  const auto fits16 = [](long v) {
    return v >= std::numeric_limits<int16_t>::min() && v <= std::numeric_limits<int16_t>::max();
  };
  const long nobs = header.nobs, nvars = header.nvars;
  const TrimmedText file(file_name);
  if (nobs <= 0 || nvars <= 0 || name_stride <= 0 || description_stride <= 0 || file.length == 0 ||
      static_cast<long>(data.size()) < nobs * nvars)
    return 1;
  for (const long v : {nobs, nvars, long{header.frequency}, long{header.periods_per_year}, long{header.start_year},
                       long{header.start_period}, long{header.century_base}, long{name_stride},
                       long{description_stride}})
    if (!fits16(v)) return 1;
  // The library reads 14 characters of each name and 80 of each description from its
  // start: pad the copies so that it never reads past them.
  const auto padded = [](std::string_view text, long stride, long count, long entry) {
    return fixed_text::pad(text, static_cast<std::size_t>((count - 1) * stride + std::max(stride, entry)));
  };
  const std::string n = padded(names, name_stride, nvars, kNameWidth);
  const std::string d = padded(descriptions, description_stride, nvars, limits::kDescWidth);
  const int16_t h[7] = {to16(nobs), to16(nvars), to16(header.frequency), to16(header.periods_per_year),
                        to16(header.start_year), to16(header.start_period), to16(header.century_base)};
  const int16_t ns = to16(name_stride), ds = to16(description_stride);
  int16_t status = 1;
  writefit(&h[0], &h[1], &h[2], &h[3], &h[4], &h[5], &h[6], &ns, &ds, &file.length, n.data(), d.data(),
           file.text.data(), data.data(), &status);
  return status == 0 ? 0 : 1;
}

void SHOWOKLONG(std::span<const std::string> lines, int width) {
  if (lines.empty()) return;
  const int16_t n = to16(static_cast<long>(lines.size())), w = to16(std::max(width, 1));
  const std::string block = item_block(lines, w);
  GetOKLongP(&n, &w, block.data());
}

int SHOWRESULTSPAGE(std::string_view page_file, std::string& results_file, std::string& model_file, int action) {
  const TrimmedText page(page_file);
  const int16_t width = charset::kPathWidth;
  std::string results = fixed_text::pad(results_file, charset::kPathWidth);
  std::string model = fixed_text::pad(model_file, charset::kPathWidth);
  int16_t a = to16(action);
  ShowResultsP(page.text.data(), &page.length, results.data(), &width, model.data(), &width, &a);
  results_file = std::string(fixed_text::trim_right(results));
  model_file = std::string(fixed_text::trim_right(model));
  return a;
}

bool SHOWPLOTFILE(std::string_view plot_file) {
  const TrimmedText plot(plot_file);
  int16_t keep = 0;
  ShowGraphP(plot.text.data(), &plot.length, &keep);
  return keep == 1;
}

void SHOWMESSAGE(std::string_view text) { SHOWOK(kInformation, kNoHelp, fixed_text::trim(text)); }

void SHOWMSGLINES(int first, int last) { SHOWMSGFILE(first, last); }

void SHOWMSGFILE(int first, int last) {
  first = std::max(first, 1);
  last = std::clamp(last, first, first + kMaxMessageLines - 1);
  const std::filesystem::path path =
      std::filesystem::path(std::string(fixed_text::trim(char_setting(charset::kProgramFolder)))) /
      temp_files::kMessageFile;
  const file_reading::Contents file = file_reading::read_all(path);
  if (file.failure != file_reading::Failure::kNone) {
    SHOWOK(kError, kNoHelp, "The message file " + path.string() + " cannot be opened to show " + lines_text(first, last) + ".");
    return;
  }
  std::vector<std::string> shown;
  std::string_view rest = file.bytes;
  for (int number = 1; number <= last && !rest.empty(); ++number) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    std::string_view line = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (number >= first) shown.push_back(fixed_text::pad(line, kMessageLineWidth));
  }
  if (static_cast<int>(shown.size()) < last - first + 1) {
    const int missing = first + static_cast<int>(shown.size());
    SHOWOK(kError, kNoHelp, "The message file " + path.string() + " has no " + lines_text(missing, last) + ".");
    return;
  }
  if (first == last) {
    SHOWOK(kInformation, kNoHelp, shown.front());
  } else {
    SHOWOKLONG(shown, kMessageLineWidth);
  }
}

void SHOWMSGFILE(MessageLines lines) { SHOWMSGFILE(lines.first, lines.last); }

void DISKSPACEMESSAGE() {
  SHOWOK(kError, kNoHelp, " There is not enough free hard disk to carry out computations! ");
}

void SHOWCALCULATING() { STARTCALC("Calculating or writing to file! Please wait... "); }

}  // namespace qorv::core
