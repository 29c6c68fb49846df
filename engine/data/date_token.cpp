#include "engine/data/date_token.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "engine/data/calendar.h"
#include "shared/digit_text.h"
#include "shared/names.h"
#include "shared/obs_calendar.h"

namespace qorv::data {

namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

/// Value of a digit string of at most 18 digits.
int64_t digits_value(std::string_view text) {
  int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

std::string_view trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

/// A year field of 1-2 digits completed to 19yy/20yy, or of 4 digits; -1 otherwise.
int full_year(std::string_view field) {
  const int value = static_cast<int>(digits_value(field));
  if (field.size() <= 2) return value < 40 ? 2000 + value : 1900 + value;
  if (field.size() == 4 && value >= 1000) return value;
  return -1;
}

/// Fills `out` with a day-date form: the year split into century and two digits.
void set_day_date(DateToken& out, int year, int month, int day) {
  out.kind = 1;
  out.frequency = -1;
  out.century = (year / 100) * 100;
  out.year = year % 100;
  out.period = month;
  out.day = day;
}

}  // namespace

std::string DATETODIGITS(std::string_view token) {
  const std::string unchanged(token);
  if (token.find('-', 1) == std::string_view::npos) return unchanged;
  std::vector<std::string_view> fields;
  std::size_t from = 0;
  while (true) {
    const auto dash = token.find('-', from);
    fields.push_back(token.substr(from, dash == std::string_view::npos ? dash : dash - from));
    if (dash == std::string_view::npos) break;
    from = dash + 1;
  }
  if (fields.size() < 2 || fields.size() > 3) return unchanged;
  for (auto f : fields)
    if (!digit_text::ISALLDIGITS(f) || f.size() > 4) return unchanged;
  const int a = static_cast<int>(digits_value(fields[0]));
  std::string_view year_field;
  std::string_view month_field = fields[1];
  int day = 0;
  if (fields.size() == 3) {
    const bool day_first = a < 32;
    year_field = day_first ? fields[2] : fields[0];
    const std::string_view day_field = day_first ? fields[0] : fields[2];
    if (day_field.size() > 2) return unchanged;
    day = static_cast<int>(digits_value(day_field));
  } else {
    const bool month_first = a < 32;
    year_field = month_first ? fields[1] : fields[0];
    month_field = month_first ? fields[0] : fields[1];
  }
  if (month_field.size() > 2) return unchanged;
  const int month = static_cast<int>(digits_value(month_field));
  const int year = full_year(year_field);
  if (year < 0) return unchanged;
  if (fields.size() == 3) {
    if (!is_calendar_day(day, month, year)) return unchanged;
    return std::to_string(static_cast<int64_t>(year) * 10000 + month * 100 + day);
  }
  if (month < 1 || month > 12) return unchanged;
  return std::to_string(year * 100 + month);
}

DateToken PARSEDATE(std::string_view token) {
  DateToken out;
  const std::string_view trimmed = trim(token);
  if (trimmed.empty() || trimmed.size() > 11) return out;
  std::string text = names::upper(trimmed);

  for (int code = obs_calendar::kHalfYearly; code <= obs_calendar::kMonthly; ++code) {
    if (const auto label = obs_calendar::PARSEOBSLABEL(text, code)) {
      out.kind = code;
      out.frequency = obs_calendar::periods_per_year(code);
      out.century = label->century;
      out.year = label->year;
      out.period = label->period;
      return out;
    }
  }

  std::replace(text.begin(), text.end(), '/', '-');
  std::replace(text.begin(), text.end(), ':', '-');
  for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
    const auto at = text.find(kMonthNames[m]);
    if (at != std::string::npos) {
      text.replace(at, kMonthNames[m].size(), std::to_string(m + 1));
      break;
    }
  }
  text = DATETODIGITS(text);
  if (!digit_text::ISALLDIGITS(text)) return out;
  const int64_t v = digits_value(text);  // at most 11 digits
  if (v == 0) return out;

  const std::size_t length = text.size();
  out.kind = 1;
  out.frequency = 1;
  out.year = 1;
  if (length == 5 || length == 7 || length < 4 || length > 8) return out;
  if (v < 3000) {
    out.kind = 2;
    out.year = static_cast<int>(v);
    return out;
  }
  const int value = static_cast<int>(v);  // at most 8 digits
  if (length == 4) {
    const int month = value % 100;
    if (month < 1 || month > 12) return DateToken{};
    set_day_date(out, 1900 + value / 100, month, 0);
    return out;
  }
  if (length == 6) {
    const int month = value % 100;
    if (month < 1 || month > 12) return DateToken{};
    set_day_date(out, value / 100, month, 0);
    return out;
  }
  // Eight digits: yyyymmdd when that is a real day, else ddmmyyyy.
  const int y1 = value / 10000, m1 = (value / 100) % 100, d1 = value % 100;
  if (is_calendar_day(d1, m1, y1)) {
    set_day_date(out, y1, m1, d1);
    return out;
  }
  const int d2 = value / 1000000, m2 = (value / 10000) % 100, y2 = value % 10000;
  if (is_calendar_day(d2, m2, y2)) {
    set_day_date(out, y2, m2, d2);
    return out;
  }
  return DateToken{};
}

}  // namespace qorv::data
