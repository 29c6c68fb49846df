// The lines of the diagnostic tests table (79 columns):
//   label             columns 1-23, "*" in 1 and 23
//   LM version        "CHSQ(" df in 4 ")" 24-33, "=" 34, value 35-43, "[p]" 44-49
//   separator         "*" in 50
//   F version         "F(" df1 in 4 "," df2 in 4 ")" 51-62, "=" 63, value 64-72, "[p]" 73-78,
//                     or "Not applicable" in 58-71
//   closing           "*" in 79
// A missing or negative statistic prints "*NONE*" and no probability; the columns of the
// "*" stay where they are.
#pragma once

#include <string>
#include <string_view>

namespace qorv::diagnostics {

/// Width of the table's lines.
inline constexpr int kTableWidth = 79;

/// One statistic of a row: its value and degrees of freedom.
struct RowStatistic {
  double value = 0.0;  ///< the statistic, or the missing value
  int df1 = 0;         ///< degrees of freedom (numerator for F)
  int df2 = 0;         ///< denominator degrees of freedom (F only)
};

/// The row of a test: `label` (23 columns), the chi-squared form and the F form, or
/// "Not applicable" in the F column when `f_applicable` is false.
std::string diagnostic_row(std::string_view label, const RowStatistic& lm, const RowStatistic& f,
                           bool f_applicable);

/// The blank row between tests: "*" in columns 1, 23, 50 and 79.
std::string spacer_row();

/// Writes `text` over `line` from column `column` (from 1), cut at the line's end.
void put_text(std::string& line, int column, std::string_view text);

/// A statistic as printed: the missing value for a negative or non-finite one.
double printable(double statistic);

}  // namespace qorv::diagnostics
