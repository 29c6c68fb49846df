// Reading the date in the first column of a data line: observation labels, years,
// observation numbers, calendar dates with separators or month names, and digit strings.
#pragma once

#include <string>
#include <string_view>

namespace qorv::data {

/// What a date token says.
struct DateToken {
  int kind = 0;       ///< 0 not a date; 1 undated or a day-date form; 2 a year; 3, 4, 5 a
                      ///< half-yearly, quarterly or monthly label (the frequency code)
  int frequency = 0;  ///< periods per year (1, 2, 4, 12), or -1 for the day-date forms
  int year = 0;       ///< two-digit year; the full year for kind 2; 1 for plain numbers
  int century = 0;    ///< century base (1900, 2000, ...); 0 for kinds 1 and 2
  int period = 0;     ///< half, quarter or month; the month for the day-date forms
  int day = 0;        ///< day of the month, 0 when the form has no day
  /// True for the day-date forms: a calendar day or a month without a day.
  bool is_day_date() const { return kind == 1 && frequency == -1; }
};

/// Reads a date token (blanks around it are ignored; 1 to 11 characters):
/// - a label "1983Q2", "70H1", "76M12" (either case; a 2-digit year is 19yy);
/// - digits only: fewer than 4, 5, 7 or more than 8 digits an observation number (kind 1,
///   year 1); a 4-, 6- or 8-digit value below 3000 a year (kind 2); otherwise 4 digits
///   yymm, 6 digits yyyymm, 8 digits yyyymmdd when that is a real day, else ddmmyyyy;
/// - a calendar date with "-", "/" or ":" separators, or with a month name JAN..DEC:
///   day-month-year or year-month-day (three fields), month-year or year-month (two).
/// Months must be 1..12 and days real calendar days; anything else is kind 0.
DateToken PARSEDATE(std::string_view token);

/// Rewrites a date written with "-" separators as digits: year x 10000 + month x 100 +
/// day for three fields, year x 100 + month for two. A first field below 32 is the day
/// (three fields) or the month (two fields). A one- or two-digit year below 40 is 20yy,
/// else 19yy. A token that is no separated date, or whose month or day does not exist,
/// comes back unchanged.
std::string DATETODIGITS(std::string_view token);

}  // namespace qorv::data
