#include "engine/data/text_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

#include "engine/data/calendar.h"
#include "engine/data/date_token.h"
#include "engine/data/line_fields.h"
#include "engine/data/text_records.h"
#include "shared/digit_text.h"
#include "shared/fixed_text.h"
#include "shared/names.h"
#include "shared/obs_calendar.h"

namespace qorv::data {

namespace {

using namespace text_messages;

/// The date of one data row.
struct RowDate {
  DateToken date;      ///< the parsed date
  std::string text;    ///< the date as written
  std::size_t line;    ///< line number in the file (from 1)
};

/// A description cut to the width of the workspace's descriptions.
std::string description(std::string_view text) {
  return std::string(fixed_text::trim(text).substr(0, limits::kDescWidth));
}

enum class Cell { kNumber, kMissing, kBad };

/// Reads one data cell: missing markers, or a number in the "C" notation.
Cell read_cell(std::string_view text, double& value) {
  text = fixed_text::trim(text);
  if (text.empty() || text == "NA" || text == "#N/A" || text == ".") {
    value = limits::kMissing;
    return Cell::kMissing;
  }
  if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (ec != std::errc{} || ptr != end || !std::isfinite(value)) return Cell::kBad;
  return Cell::kNumber;
}

/// Index of the next non-blank record from `from`; `records.size()` when none.
std::size_t next_filled(const std::vector<std::string>& records, std::size_t from) {
  while (from < records.size() && is_blank_record(records[from])) ++from;
  return from;
}

/// How the dates of the rows map to the data set's frequency and start.
struct Dating {
  int frequency = obs_calendar::kUndated;
  int periods_per_year = 1;
  int start_year = 1;
  int start_period = 1;
  int century = 0;
  bool date_columns = false;  ///< DAY, MONTH and YEAR go in front of the variables
  /// Period of a day-date row within its year under the settled frequency: 0 takes the
  /// month as it stands, 2 halves, 4 quarters.
  int month_grouping = 0;
};

/// True for a plain observation number (undated data).
bool is_observation_number(const DateToken& d) { return d.kind == 1 && !d.is_day_date(); }

int full_year(const DateToken& d) { return d.kind == 2 ? d.year : d.century + d.year; }

/// Period of a dated row within its year under `dating`.
int period_in_year(const DateToken& d, const Dating& dating) {
  if (d.is_day_date() && dating.month_grouping > 0)
    return (d.period - 1) / (12 / dating.month_grouping) + 1;
  return d.period;
}

/// Position of a dated row on the time axis of `dating` (consecutive observations differ
/// by 1).
long time_index(const DateToken& d, const Dating& dating) {
  if (dating.frequency == obs_calendar::kAnnual) return full_year(d);
  return static_cast<long>(full_year(d)) * dating.periods_per_year + period_in_year(d, dating) -
         1;
}

/// Settles the frequency and start from the rows' dates and checks that the dates follow
/// one another. Empty message on success.
std::string settle_dates(const std::vector<RowDate>& rows, Dating& out) {
  const DateToken& first = rows.front().date;
  for (const auto& row : rows) {
    const bool same_form = is_observation_number(first)
                               ? digit_text::ISALLDIGITS(row.text)
                               : row.date.kind == first.kind &&
                                     row.date.is_day_date() == first.is_day_date();
    if (!same_form)
      return located(kErrorReading, row.line, 1,
                     "the date " + quoted(row.text) +
                         " is not written like the first date " + quoted(rows.front().text));
  }
  if (!first.is_day_date()) {
    out.frequency = first.kind;
    out.periods_per_year = first.frequency;
    if (first.kind == obs_calendar::kAnnual) {
      out.start_year = first.year;
    } else if (first.kind > obs_calendar::kAnnual) {
      out.start_year = first.year;
      out.start_period = first.period;
      out.century = first.century;
    }
  } else {
    int largest_month = 0, smallest_day = 32, largest_day = 0;
    for (const auto& row : rows) {
      largest_month = std::max(largest_month, row.date.period);
      smallest_day = std::min(smallest_day, row.date.day);
      largest_day = std::max(largest_day, row.date.day);
    }
    out.date_columns = smallest_day > 0 && largest_day - smallest_day > 3;
    const auto number = [](const DateToken& d) {
      return d.day > 0 ? DATEDAYNUMBER(d.day, d.period, d.year, d.century) : 0;
    };
    const int first_number = number(first);
    const int second_number = rows.size() > 1 ? number(rows[1].date) : 0;
    int periods = 0;  // 0 stands for undated
    if (first_number > 0 && second_number > 0) {
      const int g = second_number - first_number + 1;
      periods = g <= 20 ? 0 : g <= 35 ? 12 : g <= 100 ? 4 : g <= 200 ? 2 : 1;
      out.month_grouping = periods == 4 || periods == 2 ? periods : 0;
    } else {
      periods = largest_month <= 1 ? 1 : largest_month == 2 ? 2 : largest_month <= 4 ? 4 : 12;
      if (out.date_columns) periods = 0;
    }
    if (periods > 0) {
      out.frequency = periods == 1    ? obs_calendar::kAnnual
                      : periods == 2  ? obs_calendar::kHalfYearly
                      : periods == 4  ? obs_calendar::kQuarterly
                                      : obs_calendar::kMonthly;
      out.periods_per_year = periods;
      if (periods == 1) {
        out.start_year = full_year(first);
      } else {
        out.start_year = first.year;
        out.century = first.century;
        out.start_period = period_in_year(first, out);
      }
    }
  }

  if (out.frequency == obs_calendar::kUndated) {
    if (!first.is_day_date()) return {};
    for (std::size_t i = 1; i < rows.size(); ++i) {
      const DateToken& a = rows[i - 1].date;
      const DateToken& b = rows[i].date;
      const auto key = [](const DateToken& d) {
        return (static_cast<long>(full_year(d)) * 100 + d.period) * 100 + d.day;
      };
      if (key(b) < key(a))
        return located(kErrorReading, rows[i].line, 1,
                       "the dates run backwards at " + quoted(rows[i].text));
    }
    return {};
  }
  const long start = time_index(first, out);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (time_index(rows[i].date, out) != start + static_cast<long>(i))
      return located(kErrorReading, rows[i].line, 1,
                     "the date " + quoted(rows[i].text) + " does not follow " +
                         quoted(rows[i - 1].text));
  }
  return {};
}

}  // namespace

ImportResult read_delimited_text(const std::vector<std::string>& records) {
  if (is_utf16(records))
    return refusal(located(kErrorReading, 1, 0,
                           "the file is UTF-16 (Unicode) text; save it as CSV or as plain "
                           "text and read it again"));
  const std::size_t names_at = next_filled(records, 0);
  if (names_at == records.size()) return refusal(std::string(kUnableToRead));
  const std::size_t names_line = names_at + 1;
  const char delimiter = choose_delimiter(records[names_at]);
  auto header = split_fields(records[names_at], delimiter);
  if (!header) return refusal(located(kQuoteMissing, names_line));

  // An optional descriptions row: the next row, when its first field is blank.
  std::size_t row_at = next_filled(records, names_at + 1);
  std::optional<std::vector<std::string>> desc_row;
  if (row_at < records.size()) {
    auto fields = split_fields(records[row_at], delimiter);
    if (!fields) return refusal(located(kQuoteMissing, row_at + 1));
    if (!fields->empty() && fixed_text::trim(fields->front()).empty()) {
      desc_row = std::move(fields);
      row_at = next_filled(records, row_at + 1);
    } else if (delimiter == kBlankDelimiter && fields->size() == header->size() + 1) {
      header->insert(header->begin(), std::string());  // no heading over the dates
    }
  }

  while (header->size() > 1 && fixed_text::trim(header->back()).empty()) header->pop_back();
  std::vector<std::string> names, descs;
  for (std::size_t k = 1; k < header->size(); ++k) {
    if (names.size() == static_cast<std::size_t>(limits::kMaxVars))
      return refusal(located(kTooManyVariables, names_line));
    const std::string_view text = fixed_text::trim((*header)[k]);
    if (text.empty() || text == "<blank>")
      return refusal(located(kBlankName, names_line, k + 1));
    names::NameField field = names::SPLITFIELD(text);
    const bool valid = names::VALIDNAME(field.name);
    if (!valid || std::find(names.begin(), names.end(), field.name) != names.end())
      return refusal(located(field.name + std::string(kBadName), names_line, k + 1));
    names.push_back(field.name);
    descs.push_back(description(field.rest));
  }
  if (names.empty())
    return refusal(located(kErrorReading, names_line, 0, "the first row holds no names"));
  if (desc_row) {
    for (std::size_t k = 1; k < desc_row->size() && k <= names.size(); ++k)
      descs[k - 1] = description((*desc_row)[k]);
  }

  const std::size_t nvars = names.size();
  std::vector<RowDate> dates;
  std::vector<double> by_row;  // row after row, nvars values each
  for (std::size_t r = row_at; r < records.size(); r = next_filled(records, r + 1)) {
    const std::size_t line = r + 1;
    const auto fields = split_fields(records[r], delimiter);
    if (!fields) return refusal(located(kQuoteMissing, line));
    for (std::size_t k = nvars + 1; k < fields->size(); ++k) {
      if (!fixed_text::trim((*fields)[k]).empty())
        return refusal(located(kErrorReading, line, k + 1,
                               "the row has more values than there are names"));
    }
    const std::string date_text(fixed_text::trim(fields->front()));
    const DateToken date = PARSEDATE(date_text);
    // Observation numbers from 3000 up look like no date; they only have to be numbers.
    const bool numbered = !dates.empty() && is_observation_number(dates.front().date) &&
                          digit_text::ISALLDIGITS(date_text);
    if (date.kind == 0 && !numbered)
      return refusal(located(kErrorReading, line, 1,
                             quoted(date_text) + " is not a date or an observation number"));
    if (dates.size() == static_cast<std::size_t>(limits::kMaxObs) ||
        (dates.size() + 1) * nvars > static_cast<std::size_t>(limits::kCapacity))
      return refusal(located(kTooManyObservations, line));
    dates.push_back({date, date_text, line});
    for (std::size_t k = 1; k <= nvars; ++k) {
      double value = limits::kMissing;
      if (k < fields->size() && read_cell((*fields)[k], value) == Cell::kBad)
        return refusal(located(kErrorReading, line, k + 1,
                               quoted(fixed_text::trim((*fields)[k])) + " is not a number"));
      by_row.push_back(value);
    }
  }
  if (dates.empty())
    return refusal(located(kErrorReading, 0, 0, "The file holds no rows of data"));

  Dating dating;
  if (std::string problem = settle_dates(dates, dating); !problem.empty())
    return refusal(std::move(problem));

  ImportResult result;
  DataSet& data = result.data;
  data.nobs = static_cast<int>(dates.size());
  data.frequency = dating.frequency;
  data.periods_per_year = dating.periods_per_year;
  data.start_year = dating.start_year;
  data.start_period = dating.start_period;
  data.century = dating.century;
  if (dating.date_columns) {
    for (const char* name : {"DAY", "MONTH", "YEAR"}) {
      data.names.push_back(name);
      data.descs.emplace_back();
    }
  }
  for (std::size_t k = 0; k < nvars; ++k) {
    if (std::find(data.names.begin(), data.names.end(), names[k]) != data.names.end())
      return refusal(located(names[k] + std::string(kBadName), names_line, k + 2));
    if (data.names.size() == static_cast<std::size_t>(limits::kMaxVars))
      return refusal(located(kTooManyVariables, names_line));
    data.names.push_back(names[k]);
    data.descs.push_back(descs[k]);
  }
  if (static_cast<long>(data.nobs) * data.nvars() > limits::kCapacity)
    return refusal(located(kTooManyObservations, dates.back().line));

  data.values.assign(static_cast<std::size_t>(data.nobs) * data.nvars(), limits::kMissing);
  const int offset = dating.date_columns ? 3 : 0;
  for (int t = 1; t <= data.nobs; ++t) {
    const DateToken& d = dates[static_cast<std::size_t>(t - 1)].date;
    if (dating.date_columns) {
      data.at(t, 1) = d.day;
      data.at(t, 2) = d.period;
      data.at(t, 3) = d.century + d.year;
    }
    for (std::size_t k = 0; k < nvars; ++k)
      data.at(t, offset + static_cast<int>(k) + 1) =
          by_row[static_cast<std::size_t>(t - 1) * nvars + k];
  }
  result.ok = true;
  result.message = {core::kInformation, std::string(kImported)};
  return result;
}

}  // namespace qorv::data
