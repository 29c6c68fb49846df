#include "shared/obs_calendar.h"

namespace obs_calendar {

namespace {

bool all_digits(std::string_view s) {
  if (s.empty()) return false;
  for (const char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

/// Value of a digit string of at most 4 characters (callers check the length).
int small_value(std::string_view s) {
  int v = 0;
  for (const char c : s) v = v * 10 + (c - '0');
  return v;
}

long floor_div(long a, long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

}  // namespace

int periods_per_year(int frequency) {
  switch (frequency) {
    case kUndated: return 1;
    case kAnnual: return 1;
    case kHalfYearly: return 2;
    case kQuarterly: return 4;
    case kMonthly: return 12;
    default: return 0;
  }
}

char period_letter(int frequency) {
  switch (frequency) {
    case kHalfYearly: return 'H';
    case kQuarterly: return 'Q';
    case kMonthly: return 'M';
    default: return '\0';
  }
}

std::optional<LabelDate> PARSEOBSLABEL(std::string_view label, int frequency) {
  if (frequency == kUndated || frequency == kAnnual) {
    if (label.size() > 4 || !all_digits(label)) return std::nullopt;
    const int v = small_value(label);
    if (v == 0) return std::nullopt;
    return LabelDate{0, v, 0};
  }
  const char letter = period_letter(frequency);
  if (letter == '\0') return std::nullopt;
  const int n = periods_per_year(frequency);
  if (frequency == kMonthly ? (label.size() < 4 || label.size() > 7)
                            : (label.size() != 4 && label.size() != 6))
    return std::nullopt;
  std::size_t at = label.find(letter);
  if (at == std::string_view::npos) at = label.find(static_cast<char>(letter - 'A' + 'a'));
  if (at != 2 && at != 4) return std::nullopt;
  const std::string_view year_text = label.substr(0, at);
  const std::string_view period_text = label.substr(at + 1);
  if (!all_digits(year_text) || !all_digits(period_text) || period_text.size() > 2)
    return std::nullopt;
  const int period = small_value(period_text);
  if (period < 1 || period > n) return std::nullopt;
  const int y = small_value(year_text);
  if (at == 4) return LabelDate{100 * (y / 100), y % 100, period};
  if (y == 0) return std::nullopt;
  return LabelDate{1900, y, period};
}

DataStart start_from_fields(int frequency, int start_year, int start_period, int century_base) {
  DataStart s;
  s.frequency = frequency;
  if (frequency == kUndated) return s;  // year 1, period 1, century 0
  if (frequency == kAnnual) {
    s.start_year = start_year;
    return s;
  }
  s.start_year = start_year;
  s.start_period = start_period == 0 ? 1 : start_period;
  s.century_base = century_base == 0 ? 1900 : century_base;
  return s;
}

int file_start_period(const DataStart& start) {
  return start.frequency <= kAnnual ? 0 : start.start_period;
}

long label_observation(const LabelDate& date, const DataStart& start) {
  if (start.frequency <= kAnnual)
    return static_cast<long>(date.year) - (start.century_base + start.start_year) + 1;
  const long n = periods_per_year(start.frequency);
  return (date.period - start.start_period) +
         (static_cast<long>(date.century) + date.year - start.century_base - start.start_year) * n + 1;
}

std::optional<long> observation_of(std::string_view label, const DataStart& start) {
  const auto date = PARSEOBSLABEL(label, start.frequency);
  if (!date) return std::nullopt;
  return label_observation(*date, start);
}

LabelDate date_of(long obs, const DataStart& start) {
  if (start.frequency <= kAnnual)
    return LabelDate{0, static_cast<int>(start.century_base + start.start_year + obs - 1), 0};
  const long n = periods_per_year(start.frequency);
  const long index = (static_cast<long>(start.century_base) + start.start_year) * n +
                     (start.start_period - 1) + (obs - 1);
  const long full_year = floor_div(index, n);
  const long century = 100 * floor_div(full_year, 100);
  return LabelDate{static_cast<int>(century), static_cast<int>(full_year - century),
                   static_cast<int>(index - full_year * n + 1)};
}

std::string sample_text(long first, long last, const DataStart& start) {
  const auto label = [&](long obs) {
    const LabelDate d = date_of(obs, start);
    if (start.frequency <= kAnnual) return std::to_string(d.year);
    return std::to_string(d.century + d.year) + period_letter(start.frequency) + std::to_string(d.period);
  };
  return label(first) + " " + label(last);
}

}  // namespace obs_calendar
