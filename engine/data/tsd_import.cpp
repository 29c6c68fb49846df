#include "engine/data/tsd_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "engine/core/name_shift.h"
#include "engine/data/calendar.h"
#include "engine/data/text_records.h"
#include "shared/digit_text.h"
#include "shared/fixed_text.h"
#include "shared/names.h"
#include "shared/obs_calendar.h"

namespace qorv::data {

namespace {

using namespace tsd_messages;

constexpr std::size_t kRecordWidth = 80;
constexpr int kNameFieldWidth = 16;
constexpr int kValueWidth = 15;
constexpr int kValuesPerRecord = 5;

/// `record` blank-padded to at least 80 columns.
std::string padded(std::string_view record) {
  std::string text(record);
  if (text.size() < kRecordWidth) text.resize(kRecordWidth, ' ');
  return text;
}

/// The whole number in columns first..first+width-1 (from 1); blanks read 0.
bool int_field(const std::string& record, int first, int width, int& value) {
  const auto number = digit_text::DIGITSTOINT(
      std::string_view(record).substr(static_cast<std::size_t>(first - 1),
                                      static_cast<std::size_t>(width)));
  if (!number) return false;
  value = static_cast<int>(*number);
  return true;
}

/// A real value field: Fortran forms "1.5", "-.25", "1.5E+02", "1.5D+02", "1.5+02".
bool real_field(std::string_view field, double& value) {
  field = fixed_text::trim(field);
  if (field.empty()) {
    value = limits::kMissing;
    return true;
  }
  std::string text(field);
  for (char& c : text)
    if (c == 'D' || c == 'd') c = 'E';
  for (std::size_t i = 1; i < text.size(); ++i) {
    if ((text[i] == '+' || text[i] == '-') && text[i - 1] != 'E' && text[i - 1] != 'e') {
      text.insert(i, 1, 'E');
      break;
    }
  }
  std::string_view view = text;
  if (view.size() > 1 && view.front() == '+') view.remove_prefix(1);
  const char* end = view.data() + view.size();
  const auto [ptr, ec] = std::from_chars(view.data(), end, value, std::chars_format::general);
  return ec == std::errc{} && ptr == end && std::isfinite(value);
}

/// The name field with "!" to "/" (but "."), ":" and a leading digit moved 32 places on.
std::string shifted_name_field(std::string_view field) {
  std::string text(field);
  const auto first = text.find_first_not_of(' ');
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool digit = c >= '0' && c <= '9';
    const bool shifted = (c >= '!' && c <= '/' && c != '.') || c == ':' || (digit && i == first);
    if (shifted) core::SHIFTCHARS(std::span<char>(&text[i], 1));
  }
  return text;
}

TsdSeriesRead refused(std::string text, int kind = core::kInformation) {
  TsdSeriesRead read;
  read.status = TsdSeriesRead::kRefused;
  read.message = {kind, std::move(text)};
  return read;
}

/// Position on the time axis (consecutive observations differ by 1).
long time_index(int year, int period, int periods_per_year) {
  return static_cast<long>(year) * periods_per_year + period - 1;
}

}  // namespace

TsdSeriesRead READTSDSERIES(const std::vector<std::string>& records, std::size_t& at) {
  std::size_t next = at;
  while (next < records.size() && is_blank_record(records[next])) ++next;
  if (next == records.size()) {
    at = next;
    return {};
  }
  const std::size_t name_line = at + 1;
  const std::string name_record = padded(records[at]);
  const std::string_view name_field = std::string_view(name_record).substr(0, kNameFieldWidth);
  if (fixed_text::trim(name_field).empty())
    return refused(located(kBlankName, name_line), core::kError);
  const std::string shifted = shifted_name_field(name_field);
  std::string name(fixed_text::trim(std::string_view(shifted).substr(0, limits::kNameMax)));
  if (!names::VALIDNAME(name))
    return refused(located(name + std::string(kNotValidName), name_line));

  TsdSeriesRead read;
  TsdSeries& s = read.series;
  s.name = name;
  s.desc = std::string(fixed_text::trim_right(std::string_view(name_record).substr(16, 64)));

  const std::size_t header_line = at + 2;
  if (at + 1 >= records.size())
    return refused(located(kReadError, header_line, 0, "the header record of " + name + " is missing"));
  const std::string header = padded(records[at + 1]);
  int ignored = 0;
  bool ok = int_field(header, 33, 2, ignored) && int_field(header, 36, 2, ignored) &&
            int_field(header, 39, 2, ignored) && int_field(header, 41, 4, ignored) &&
            int_field(header, 45, 4, s.start_year) && int_field(header, 49, 2, s.start_period) &&
            int_field(header, 51, 2, s.start_day) && int_field(header, 53, 4, s.end_year) &&
            int_field(header, 57, 2, s.end_period) && int_field(header, 59, 2, s.end_day) &&
            int_field(header, 62, 1, ignored) && int_field(header, 64, 1, ignored);
  for (int d = 0; d < 7 && ok; ++d)
    ok = int_field(header, 74 + d, 1, s.weekdays[static_cast<std::size_t>(d)]);
  if (!ok)
    return refused(located(kReadError, header_line, 0, "the header record of " + name + " is not readable"));

  s.letter = names::to_upper(header[60]);
  const auto letter_at = kFrequencyLetters.find(s.letter);
  if (s.letter == ' ' || letter_at == std::string_view::npos)
    return refused(located(kUnknownFrequency, header_line));
  if (s.letter == 'W' || s.letter == 'D') return refused(located(kWeeklyOrDaily, header_line));
  s.frequency = static_cast<int>(letter_at) + 1;
  s.periods_per_year = kLetterPeriods[letter_at];
  if (s.periods_per_year == 1) {
    s.start_period = std::max(s.start_period, 1);
    s.end_period = std::max(s.end_period, 1);
  } else if (s.start_period < 1 || s.start_period > s.periods_per_year || s.end_period < 1 ||
             s.end_period > s.periods_per_year) {
    return refused(located(kReadError, header_line, 0, "a period of " + name + " is out of range"));
  }
  const int nobs = OBSBETWEENDATES(s.letter, s.weekdays, s.start_year, s.start_period,
                                   s.start_day, s.end_year, s.end_period, s.end_day);
  if (nobs < 1)
    return refused(located(kReadError, header_line, 0, name + " ends before it starts"));
  if (nobs > limits::kMaxObs) return refused(located(kTooManyObservations, header_line));

  std::size_t record = at + 2;
  s.values.reserve(static_cast<std::size_t>(nobs));
  while (static_cast<int>(s.values.size()) < nobs) {
    if (record >= records.size())
      return refused(located(kReadError, record + 1, 0, "the values of " + name + " end early"));
    // Every field a record supplies is whole: a value record cut short loses values that
    // would otherwise read as missing.
    const int fields = std::min(kValuesPerRecord, nobs - static_cast<int>(s.values.size()));
    if (records[record].size() < static_cast<std::size_t>(fields * kValueWidth))
      return refused(located(kReadError, record + 1, records[record].size() + 1,
                             "the record ends before its " + std::to_string(fields) + " values of " +
                                 std::to_string(kValueWidth) + " columns"));
    const std::string values = padded(records[record]);
    for (int k = 0; k < fields; ++k) {
      const std::string_view field = std::string_view(values).substr(
          static_cast<std::size_t>(k * kValueWidth), static_cast<std::size_t>(kValueWidth));
      double value = 0.0;
      if (!real_field(field, value))
        return refused(located(kReadError, record + 1, static_cast<std::size_t>(k * kValueWidth + 1),
                               quoted(fixed_text::trim(field)) + " is not a number"));
      s.values.push_back(value);
    }
    ++record;
  }
  at = record;
  read.status = TsdSeriesRead::kSeries;
  return read;
}

ImportResult read_tsd(const std::vector<std::string>& records, std::string_view file_name) {
  std::vector<TsdSeries> series;
  std::size_t at = 0;
  while (true) {
    const std::size_t line = at + 1;
    TsdSeriesRead read = READTSDSERIES(records, at);
    if (read.status == TsdSeriesRead::kEnd) break;
    if (read.status == TsdSeriesRead::kRefused) {
      ImportResult result;
      result.message = std::move(read.message);
      return result;
    }
    const TsdSeries& s = read.series;
    if (series.size() == static_cast<std::size_t>(limits::kMaxVars))
      return refusal(located(kTooManyVariables, line));
    for (const auto& earlier : series)
      if (earlier.name == s.name) return refusal(located(s.name + std::string(kDuplicate), line));
    if (!series.empty() && series.front().frequency != s.frequency)
      return refusal(located(kMixedFrequencies, line));
    series.push_back(std::move(read.series));
  }
  if (series.empty())
    return refusal(located(kReadError, 0, 0, "The file holds no series"));

  const int ppy = series.front().periods_per_year;
  long first = 0, last = 0;
  for (std::size_t j = 0; j < series.size(); ++j) {
    const long start = time_index(series[j].start_year, series[j].start_period, ppy);
    const long end = start + static_cast<long>(series[j].values.size()) - 1;
    first = j == 0 ? start : std::min(first, start);
    last = j == 0 ? end : std::max(last, end);
  }
  const long span = last - first + 1;
  if (span > limits::kMaxObs || span * static_cast<long>(series.size()) > limits::kCapacity)
    return refusal(std::string(kTooManyObservations));

  ImportResult result;
  DataSet& data = result.data;
  data.nobs = static_cast<int>(span);
  data.frequency = series.front().frequency;
  data.periods_per_year = ppy;
  if (data.frequency == obs_calendar::kAnnual) {
    data.start_year = static_cast<int>(first);
  } else if (data.frequency > obs_calendar::kAnnual) {
    const long year = first / ppy;
    data.start_period = static_cast<int>(first % ppy) + 1;
    data.start_year = static_cast<int>(year % 100);
    data.century = static_cast<int>(year - year % 100);
  }
  data.values.assign(static_cast<std::size_t>(span) * series.size(), limits::kMissing);
  for (std::size_t j = 0; j < series.size(); ++j) {
    const TsdSeries& s = series[j];
    data.names.push_back(s.name);
    data.descs.push_back(s.desc);
    const long offset = time_index(s.start_year, s.start_period, ppy) - first;
    for (std::size_t t = 0; t < s.values.size(); ++t)
      data.at(static_cast<int>(offset + static_cast<long>(t)) + 1, static_cast<int>(j) + 1) =
          s.values[t];
  }
  result.ok = true;
  result.message = {core::kInformation, " TSD File " + std::string(file_name) +
                                      " imported successfully. Please check the imported "
                                      "data carefully before using it!"};
  return result;
}

}  // namespace qorv::data
