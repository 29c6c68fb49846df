#include "engine/data/calendar.h"

#include <chrono>

namespace qorv::data {

namespace {

/// Day 0 of the numbering: 30 December 1899.
constexpr std::chrono::sys_days kEpoch =
    std::chrono::year{1899} / std::chrono::December / std::chrono::day{30};

}  // namespace

bool is_calendar_day(int day, int month, int year) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
  const std::chrono::year_month_day date{std::chrono::year{year},
                                         std::chrono::month{static_cast<unsigned>(month)},
                                         std::chrono::day{static_cast<unsigned>(day)}};
  return date.ok();
}

int day_number(int day, int month, int year) {
  if (!is_calendar_day(day, month, year)) return 0;
  const std::chrono::sys_days date = std::chrono::year{year} /
                                     std::chrono::month{static_cast<unsigned>(month)} /
                                     std::chrono::day{static_cast<unsigned>(day)};
  const int number = static_cast<int>((date - kEpoch).count());
  return number >= kFirstDayNumber && number <= kLastDayNumber ? number : 0;
}

int DATEDAYNUMBER(int day, int month, int year2, int century) {
  return day_number(day, month, century + year2);
}

int weekday(int day_number) {
  const int w = day_number % 7;
  return w <= 0 ? w + 7 : w;
}

int OBSBETWEENDATES(char letter, const std::array<int, 7>& weekdays, int start_year,
                    int start_period, int start_day, int end_year, int end_period,
                    int end_day) {
  const auto at = kFrequencyLetters.find(letter);
  if (at == std::string_view::npos) return 0;
  if (letter != 'D') {
    const long count = static_cast<long>(kLetterPeriods[at]) * (end_year - start_year) +
                       end_period - start_period + 1;
    return count > 0 && count < 1'000'000'000 ? static_cast<int>(count) : 0;
  }
  const int first = day_number(start_day, start_period, start_year);
  const int last = day_number(end_day, end_period, end_year);
  if (first == 0 || last == 0 || last < first) return 0;
  int flagged_per_week = 0;
  for (int flag : weekdays) flagged_per_week += flag != 0 ? 1 : 0;
  const int days = last - first + 1;
  int count = (days / 7) * flagged_per_week;
  for (int d = first + (days / 7) * 7; d <= last; ++d)
    count += weekdays[static_cast<std::size_t>(weekday(d) - 1)] != 0 ? 1 : 0;
  return count;
}

}  // namespace qorv::data
