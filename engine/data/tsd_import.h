// TSD files: a sequence of time series, each a name record (name in columns 1-16,
// description in 17-80), a header record (start and end dates in columns 45-60, the
// frequency letter in column 61, observation weekdays in 74-80) and its values, five to
// a record in 15-column fields.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/data_set.h"

namespace qorv::data {

/// Texts the user sees.
namespace tsd_messages {
inline constexpr std::string_view kBlankName =
    "Blank name encountered in TSD file! Data not read.";
inline constexpr std::string_view kNotValidName = " is not a valid name! Data not read.";
inline constexpr std::string_view kUnknownFrequency =
    "The frequency of data on TSD file not recognized!";
inline constexpr std::string_view kWeeklyOrDaily =
    "Weekly or daily data cannot be read into Zelvorin from TSD files!";
inline constexpr std::string_view kReadError = "Error in reading the TSD file! Data not read.";
inline constexpr std::string_view kTooManyVariables =
    " Too many variables! A maximum number of 200 variables is allowed!";
inline constexpr std::string_view kDuplicate = " is a duplicate name!";
inline constexpr std::string_view kMixedFrequencies =
    "The variables in the TSD file have different frequencies, data not read!";
inline constexpr std::string_view kTooManyObservations = "Too many observations/variables!";
}  // namespace tsd_messages

/// One series of a TSD file.
struct TsdSeries {
  std::string name;            ///< the checked name, upper case
  std::string desc;            ///< columns 17-80, trailing blanks removed
  char letter = 'U';           ///< frequency letter of "UAHQMWD", upper case
  int frequency = 1;           ///< the engine's frequency code 1..5
  int periods_per_year = 1;    ///< 1, 1, 2, 4, 12
  int start_year = 0, start_period = 0, start_day = 0;  ///< as in the header
  int end_year = 0, end_period = 0, end_day = 0;        ///< as in the header
  std::array<int, 7> weekdays{};  ///< observation weekdays, Sunday first
  std::vector<double> values;  ///< one per observation; a blank field is missing
};

/// Outcome of reading one series.
struct TsdSeriesRead {
  enum Status { kSeries, kEnd, kRefused } status = kEnd;
  TsdSeries series;       ///< with kSeries
  ImportMessage message;  ///< with kRefused: what is wrong, and the line
};

/// Reads the series whose name record is `records[at]` and moves `at` past its values.
/// Blank records followed only by blank records end the file (kEnd). The name field's
/// characters "!" to "/" (but ".") and ":" become the letters 32 places on, and so does a
/// leading digit; its first 9 characters must pass the name rule. W and D series are
/// refused. A value field of blanks is missing; a value record shorter than the fields it
/// must supply (five, fewer in a series' last record) is refused with its line.
TsdSeriesRead READTSDSERIES(const std::vector<std::string>& records, std::size_t& at);

/// Reads a whole TSD file: at most 200 series of one frequency with distinct names, laid
/// over the union of their date ranges (cells outside a series' range are missing).
/// `file_name` goes into the success notice. Cost linear in the file's size.
ImportResult read_tsd(const std::vector<std::string>& records, std::string_view file_name);

}  // namespace qorv::data
