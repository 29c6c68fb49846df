// Delimited text data files (.CSV, .TXT, .PRN): a names row (names optionally followed by
// their descriptions), an optional descriptions row, then one row per observation whose
// first field is its date or observation number.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/data/data_set.h"

namespace qorv::data {

/// Texts the user sees.
namespace text_messages {
inline constexpr std::string_view kUnableToRead =
    "Unable to read the file! Check that it is not in use by another application.";
inline constexpr std::string_view kErrorReading = " Error in reading the file! ";
inline constexpr std::string_view kBlankName = "A blank name encountered! Data not read.";
inline constexpr std::string_view kBadName =
    " is either not a valid name or is a duplicate name!";
inline constexpr std::string_view kTooManyVariables =
    " Too many variables! A maximum number of 200 variables is allowed!";
inline constexpr std::string_view kTooManyObservations = " Too many observations/variables!";
inline constexpr std::string_view kImported =
    " Text file imported successfully. Please check the imported data carefully before "
    "using it!";
inline constexpr std::string_view kLongTime =
    "Reading text files into Zelvorin can take a long time. For example, reading a file "
    "with 50 variables and 1000 observations can take up to 3 minutes! Do you want to "
    "continue?";
}  // namespace text_messages

/// Reads the records of a delimited text file into a data set.
///
/// The delimiter is a tab when the names row holds one outside quotes, else a comma, else
/// a semicolon, else runs of blanks. Fields may be quoted ("" is a quote inside). Empty
/// trailing header columns are dropped. A cell that is empty, "NA", "#N/A" or "." is
/// missing; any other cell must be a number (read the same in every locale). The dates of
/// the first column settle the frequency and start; they must follow one another. Day
/// dates whose days of the month vary by more than 3 add the columns DAY, MONTH and YEAR
/// in front. On failure the message names the line (and the column) and the problem.
/// Cost linear in the file's size.
ImportResult read_delimited_text(const std::vector<std::string>& records);

}  // namespace qorv::data
