// The calendar of the data importers: day numbers counted as spreadsheets count them
// (days since 30 December 1899, so 1 January 2000 is day 36526), weekdays, and the number
// of observations between two dates for each frequency letter.
#pragma once

#include <array>
#include <string_view>

namespace qorv::data {

/// Frequency letters of the data files: undated, annual, half-yearly, quarterly, monthly,
/// weekly, daily. A letter's position (from 1) is the engine's frequency code for U to M.
inline constexpr std::string_view kFrequencyLetters = "UAHQMWD";
/// Periods per year of each letter of `kFrequencyLetters`, in the same order.
inline constexpr std::array<int, 7> kLetterPeriods = {1, 1, 2, 4, 12, 52, 1};

/// The range of dates that have a day number: 1 January 1940 is day 14611 and
/// 31 December 2050 day 55153.
inline constexpr int kFirstDayNumber = 14611;
inline constexpr int kLastDayNumber = 55153;

/// Day number of the date day/month/(century + two-digit year): days since 30 December
/// 1899. Gives 0 for a date that does not exist (31 April, 29 February 1995) and for one
/// outside 1 January 1940 to 31 December 2050. Constant time.
int DATEDAYNUMBER(int day, int month, int year2, int century);

/// Day number of day/month/year with a full year; 0 as for `DATEDAYNUMBER`.
int day_number(int day, int month, int year);

/// True when day/month/year is a real calendar day (any year from 1 to 9999).
bool is_calendar_day(int day, int month, int year);

/// Weekday of a day number: 1 Sunday ... 7 Saturday (the number mod 7, 0 counted as 7).
int weekday(int day_number);

/// Observations from the start date to the end date inclusive for a frequency letter of
/// `kFrequencyLetters`. Every letter but "D": periods per year x (end year - start year)
/// + end period - start period + 1. "D": the days from start to end whose weekday is
/// flagged in `weekdays` (Sunday first); years are full years there. A daily date that has
/// no day number, or an end before the start, gives 0; an unknown letter gives 0.
int OBSBETWEENDATES(char letter, const std::array<int, 7>& weekdays, int start_year,
                    int start_period, int start_day, int end_year, int end_period,
                    int end_day);

}  // namespace qorv::data
