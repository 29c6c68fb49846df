#include "engine/data/data_saving.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <utility>

#include "engine/core/channels.h"
#include "engine/core/obs_label.h"
#include "engine/core/output_files.h"
#include "engine/core/sample_period.h"
#include "engine/core/user_format.h"
#include "engine/core/workspace.h"
#include "engine/data/ascii_data.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::data {

namespace {

constexpr int kNameWidth = 14;         ///< stored width of a name
constexpr int kDescWidth = 80;         ///< stored width of a description
constexpr int kTsdField = 15;          ///< columns of a TSD value field
constexpr int kTsdValuesPerRecord = 5;
constexpr std::string_view kTsdLetters = "UAHQMWD";

bool is_missing(double v) { return v == limits::kMissing; }

/// A description as a text file holds it: its blanks trimmed and every control character
/// (TAB, line ends, NUL, DEL, ...) a "-", so no record is split and no delimiter appears.
std::string file_description(std::string_view desc) {
  std::string text(fixed_text::trim(desc));
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = '-';
  return text;
}

double value(const SaveBlock& b, int t, int j) {
  return b.values[static_cast<std::size_t>(j - 1) * static_cast<std::size_t>(b.header.nobs) +
                  static_cast<std::size_t>(t - 1)];
}

obs_calendar::DataStart start_of(const SaveBlock& b) {
  return obs_calendar::start_from_fields(b.header.frequency, b.header.start_year, b.header.start_period,
                                         b.header.century_base);
}

/// A value in at most `width` columns: the shortest exact text when it fits, else the
/// most significant digits that fit.
std::string fitted_text(double v, int width) {
  std::string text = shortest_text(v);
  for (int digits = 17; static_cast<int>(text.size()) > width && digits >= 1; --digits) {
    char buffer[40];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, digits);
    text.assign(buffer, r.ptr);
  }
  return text;
}

/// Year and period of observation t in the TSD convention (whole year; undated and
/// annual data period 1).
std::pair<int, int> tsd_date(long t, const obs_calendar::DataStart& start) {
  const obs_calendar::LabelDate d = obs_calendar::date_of(t, start);
  if (start.frequency <= obs_calendar::kAnnual) return {d.year, 1};
  return {d.century + d.year, d.period};
}

std::string int_field(int v, int width) {
  std::string text = std::to_string(v);
  if (static_cast<int>(text.size()) > width) return std::string(static_cast<std::size_t>(width), '*');
  return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

/// Writes `lines` to the open output channel; false at a write error.
bool write_lines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    if (!core::write_record(core::channel::kUserOutput, line)) return false;
  return true;
}

}  // namespace

std::string shortest_text(double v) {
  char buffer[40];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

std::vector<std::string> csv_lines(const SaveBlock& b, int first, int last) {
  std::vector<std::string> lines;
  std::string head = "Date";
  for (int j = 0; j < b.header.nvars; ++j) {
    std::string field(fixed_text::trim(b.names[static_cast<std::size_t>(j)]));
    std::string desc = file_description(b.descs[static_cast<std::size_t>(j)]);
    std::replace(desc.begin(), desc.end(), ',', '-');
    if (!desc.empty()) field += " " + desc;
    head += "," + field;
  }
  lines.push_back(std::move(head));
  const obs_calendar::DataStart start = start_of(b);
  for (int t = first; t <= last; ++t) {
    std::string row = core::plain_label(core::OBSLABEL(t, start));
    for (int j = 1; j <= b.header.nvars; ++j) {
      row += ',';
      const double v = value(b, t, j);
      if (!is_missing(v)) row += shortest_text(v);
    }
    lines.push_back(std::move(row));
  }
  return lines;
}

std::vector<std::string> tsd_lines(const SaveBlock& b, int first, int last) {
  std::vector<std::string> lines;
  const obs_calendar::DataStart start = start_of(b);
  const auto [y0, p0] = tsd_date(first, start);
  const auto [y1, p1] = tsd_date(last, start);
  const int code = std::clamp(b.header.frequency, 1, 5);
  std::string dates = std::string(44, ' ') + int_field(y0, 4) + int_field(p0, 2) + int_field(0, 2) +
                      int_field(y1, 4) + int_field(p1, 2) + int_field(0, 2) + kTsdLetters[static_cast<std::size_t>(code - 1)];
  for (int j = 1; j <= b.header.nvars; ++j) {
    const std::string name(fixed_text::trim(b.names[static_cast<std::size_t>(j - 1)]));
    const std::string desc = file_description(b.descs[static_cast<std::size_t>(j - 1)]);
    lines.push_back(fixed_text::pad(name.substr(0, 9), 16) + desc.substr(0, 64));
    lines.push_back(dates);
    std::string record;
    for (int t = first; t <= last; ++t) {
      const double v = value(b, t, j);
      const std::string text = is_missing(v) ? std::string() : fitted_text(v, kTsdField);
      record += std::string(static_cast<std::size_t>(kTsdField) - text.size(), ' ') + text;
      if ((t - first + 1) % kTsdValuesPerRecord == 0 || t == last) lines.push_back(std::exchange(record, {}));
    }
  }
  return lines;
}

RawLines raw_lines(const SaveBlock& b, const AsciiLayout& layout, int first, int last) {
  RawLines out;
  std::optional<core::FormatProgram> program;
  if (layout.format == kFixedFormat) {
    program = core::parse_user_format(layout.format_text);
    if (!program) {
      out.unfit = {first, 1};
      return out;
    }
  }
  const bool by_observations = layout.structure == kByObservations;
  const int statements = by_observations ? last - first + 1 : b.header.nvars;
  std::vector<double> values;
  for (int s = 0; s < statements; ++s) {
    values.clear();
    if (by_observations) {
      for (int j = 1; j <= b.header.nvars; ++j) values.push_back(value(b, first + s, j));
    } else {
      for (int t = first; t <= last; ++t) values.push_back(value(b, t, s + 1));
    }
    if (!program) {  // free format: one line a statement; the missing code reads back as itself
      std::string line;
      for (const double v : values) line += (line.empty() ? "" : " ") + shortest_text(v);
      out.lines.push_back(std::move(line));
      continue;
    }
    core::FormatWriteResult written = core::write_formatted(*program, values);
    if (written.unfit) {
      const int at = static_cast<int>(*written.unfit);
      out.unfit = by_observations ? std::pair{first + s, at + 1} : std::pair{first + at, s + 1};
      return out;
    }
    for (std::string& record : written.records) out.lines.push_back(std::move(record));
  }
  return out;
}

void SAVEDATA(const SaveBlock& b, int format) {
  static constexpr std::string_view kExtensions[] = {"DAT", "ZVD", "CSV", "TSD"};
  if (format < kSaveRaw || format > kSaveTsd || b.header.nobs <= 0 || b.header.nvars <= 0) return;
  const std::size_t count = static_cast<std::size_t>(b.header.nobs) * static_cast<std::size_t>(b.header.nvars);
  if (b.values.size() < count || b.names.size() < static_cast<std::size_t>(b.header.nvars) ||
      b.descs.size() < static_cast<std::size_t>(b.header.nvars))
    return;

  int kind = format == kSaveZvd ? core::kZvdDataFile : core::kTextDataFile;
  std::string file;
  core::OPENFILE(kind, kExtensions[format - 1], file);
  if (kind == 0) return;
  const auto closed_unwritten = [] { core::close_channel(core::channel::kUserOutput, core::CloseMode::kDelete); };

  if (format == kSaveZvd) {
    std::string names, descs;
    for (int j = 0; j < b.header.nvars; ++j) {
      names += fixed_text::pad(b.names[static_cast<std::size_t>(j)], kNameWidth);
      descs += fixed_text::pad(b.descs[static_cast<std::size_t>(j)], kDescWidth);
    }
    core::STARTCALC(save_messages::kSaving);
    const int status = core::WRITEDATAFILE(b.header, names, kNameWidth, descs, kDescWidth, file,
                                           b.values.first(count));
    core::STOPCALC();
    if (status == 0) core::SHOWMESSAGE(std::string(save_messages::kSavedPrefix) + file + std::string(save_messages::kSavedSuffix));
    return;
  }

  int first = 1, last = b.header.nobs;
  std::string answer;
  if (core::GETSAMPLE(1, b.header.nobs, first, last, core::kSavedObservations, answer)) return closed_unwritten();
  std::optional<AsciiLayout> layout;
  if (format == kSaveRaw) {
    layout = ASKDATALAYOUT();
    if (!layout) return closed_unwritten();
  }
  core::STARTCALC(save_messages::kSaving);
  RawLines raw;
  if (format == kSaveRaw) {
    raw = raw_lines(b, *layout, first, last);
    if (raw.unfit) {
      core::STOPCALC();
      closed_unwritten();
      const auto [t, j] = *raw.unfit;
      core::SHOWOK(core::kError, core::kNoHelp,
                   std::string(save_messages::kUnfitPrefix) + std::string(fixed_text::trim(b.names[static_cast<std::size_t>(j - 1)])) +
                       " at " + core::plain_label(core::OBSLABEL(t, start_of(b))) + std::string(save_messages::kUnfitMiddle) +
                       layout->format_text + std::string(save_messages::kUnfitSuffix));
      return;
    }
  }
  const std::vector<std::string> lines = format == kSaveCsv   ? csv_lines(b, first, last)
                                         : format == kSaveTsd ? tsd_lines(b, first, last)
                                                              : std::move(raw.lines);
  const bool written = write_lines(lines) && core::close_channel(core::channel::kUserOutput);
  core::STOPCALC();
  if (!written) {
    closed_unwritten();
    core::SHOWMSGFILE(core::msg::kWriteError);
    return;
  }
  core::SHOWMESSAGE(std::string(save_messages::kSavedPrefix) + file + std::string(save_messages::kSavedSuffix));
}

SaveBlock workspace_block(std::vector<std::string>& names, std::vector<std::string>& descs) {
  const core::Globals& g = core::globals();
  SaveBlock b;
  b.header = core::DataFileHeader{g.nobs, g.nvars, g.frequency, g.periods_per_year, g.start_year, g.start_period, g.century_base};
  names.clear();
  descs.clear();
  for (int j = 1; j <= g.nvars; ++j) {
    names.push_back(core::variable_name(j));
    descs.push_back(core::variable_desc(j));
  }
  b.names = names;
  b.descs = descs;
  const std::span<const double> work = core::work_array();
  b.values = work.first(std::min(work.size(), static_cast<std::size_t>(std::max(g.nobs, 0)) * static_cast<std::size_t>(std::max(g.nvars, 0))));
  return b;
}

void SAVEDATA(int format) {
  std::vector<std::string> names, descs;
  SAVEDATA(workspace_block(names, descs), format);
}

std::vector<std::string> workspace_csv_lines() {
  std::vector<std::string> names, descs;
  return csv_lines(workspace_block(names, descs), 1, core::globals().nobs);
}

}  // namespace qorv::data
