// Observation labels and the start-date convention of a data set, shared by the engine,
// the main program, the ZVD data file and the data readers.
//
// One convention holds everywhere a data set's start is kept in memory:
//   undated (1):        start year 1, start period 1, century base 0
//   annual (2):         start year = the full year (1960), start period 1, century base 0
//   half-yearly (3), quarterly (4), monthly (5):
//                       start year = the year within its century (60), start period
//                       1..periods per year, century base = 1900, 2000, ...
// Files keep period 0 for undated and annual data (`file_start_period`); readers map it
// back, and a century base of 0 above frequency 2 to 1900 (`start_from_fields`).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace obs_calendar {

enum Frequency : int {
  kUndated = 1,
  kAnnual = 2,
  kHalfYearly = 3,
  kQuarterly = 4,
  kMonthly = 5,
};

/// Periods per year of a frequency code (1, 1, 2, 4, 12); 0 for an unknown code.
int periods_per_year(int frequency);

/// The period letter of labels of frequencies 3 to 5 ("H", "Q", "M"); '\0' otherwise.
char period_letter(int frequency);

/// A parsed observation label. Undated and annual labels: `year` is the number (the
/// observation number or the full year), century and period 0.
struct LabelDate {
  int century = 0;  ///< 1900, 2000, ... (frequencies 3 to 5)
  int year = 0;     ///< within its century (frequencies 3 to 5), else the whole number
  int period = 0;   ///< 1..periods per year (frequencies 3 to 5), else 0
};

/// Reads an observation label of `frequency`. Frequencies 1 and 2: 1 to 4 digits, not 0.
/// Frequencies 3 to 5: a 4-digit year (century = 100 * (y div 100), year = y mod 100) or
/// a 2-digit year other than 00 (century 1900), the letter H, Q or M in either case, and
/// the period 1..2, 1..4 or 1..12. Empty result for anything else.
std::optional<LabelDate> PARSEOBSLABEL(std::string_view label, int frequency);

/// Where a data set starts, in the convention above.
struct DataStart {
  int frequency = kUndated;  ///< 1..5
  int start_year = 1;        ///< see the convention
  int start_period = 1;      ///< 1..periods per year
  int century_base = 0;      ///< 0 for undated and annual data
};

/// A start in the convention from stored fields: a period of 0 becomes 1, a century of 0
/// above frequency 2 becomes 1900, undated data start at year 1.
DataStart start_from_fields(int frequency, int start_year, int start_period, int century_base);

/// The start period a file records: 0 for undated and annual data, else the period.
int file_start_period(const DataStart& start);

/// Observation number (1 = the first observation; may be below 1 or beyond the data) of
/// a parsed label: undated and annual, value - (century base + start year) + 1; else
/// (period - start period) + ((century + year) - century base - start year) * periods per
/// year + 1.
long label_observation(const LabelDate& date, const DataStart& start);

/// `PARSEOBSLABEL` followed by `label_observation`; empty when the label is not valid.
std::optional<long> observation_of(std::string_view label, const DataStart& start);

/// The date of observation `obs` (from 1): the inverse of `label_observation`. For
/// frequencies 3 to 5 the year is within the century and the century carries.
LabelDate date_of(long obs, const DataStart& start);

/// The sample text of observations first..last as `GETSAMPLE` reads it: "5 10",
/// "1964 1970", "1975M10 1985M12" (four-digit years).
std::string sample_text(long first, long last, const DataStart& start);

}  // namespace obs_calendar
