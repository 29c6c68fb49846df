// Building report lines piece by piece. A line is a blank-padded text whose size is its
// length (80 columns for reports, 79 for tables, 78 for menus and editors). Each
// appender places its piece a given number of columns (the gap) after the line's last
// non-blank character, or at column gap + 1 of an all-blank line. "#" is a hard blank:
// it holds its column while the line is built and becomes a blank when the next piece is
// placed after it, or when the line reaches the results page.
#pragma once

#include <string>
#include <string_view>

namespace qorv::core {

/// Places `text` `gap` columns after the last non-blank character of `line` (a trailing
/// "#" there becomes a blank but keeps its column), or from column gap + 1 when the line
/// is all blank. The text is cut at the end of the line and the rest of the line after it
/// is blanked; a piece that would start past the end leaves the line unchanged. A
/// negative gap never moves the piece before column 1.
void APPENDTEXT(std::string& line, int gap, std::string_view text);

/// "CHSQ(" + the degrees of freedom right-justified in 4 columns + ")": "CHSQ(   2)".
void APPENDCHISQ(std::string& line, int gap, int df);

/// "F(" + df1 in 4 columns + "," + df2 in 4 columns + ")": "F(   2,  30)".
void APPENDFDIST(std::string& line, int gap, int df1, int df2);

/// The integer without leading blanks.
void APPENDINTEGER(std::string& line, int gap, int value);

/// The integer right-justified in `width` columns, leading blanks kept.
void APPENDINTFIELD(std::string& line, int gap, int value, int width);

/// A 10-column piece: `lead` (a blank, "(" or "=") followed by the 9-column
/// `FORMATREAL9` field ("*NONE*" for the missing value).
void APPENDREAL(std::string& line, int gap, char lead, double value);

/// A 10-column piece for the terms of an equation: a value that is not negative is
/// written as "+" and its 9-column field, one column after the last non-blank character;
/// a negative one as a blank and its field (the minus inside it), directly after it.
void APPENDSIGNEDREAL(std::string& line, double value);

/// The distributions of `APPENDPROB`.
enum class ProbKind {
  kStudentT = 1,    ///< Student t, two-sided: 2·(1 - T(|t|)), df1 degrees of freedom
  kChiSquared = 2,  ///< chi-squared upper tail, df1 degrees of freedom
  kF = 3,           ///< F upper tail, df1 and df2 degrees of freedom
  kNormal = 4,      ///< standard normal, two-sided: twice the tail above |z|
};

/// The probability `APPENDPROB` prints for `statistic`, before rounding: NaN when the
/// statistic is missing or not finite or the degrees of freedom are below 1.
double tail_probability(ProbKind kind, double statistic, int df1, int df2 = 0);

/// The probability of `statistic` in brackets, "[" + 4 columns + "]" ("[.055]"; "[1.00]"
/// above 0.999; a negative result prints as 0), directly after the last non-blank
/// character. Nothing is placed, and false returned, for a statistic that is missing or
/// not finite, or degrees of freedom below 1 (no probability can be printed).
/// Cost: one distribution function (up to O(x) series terms for chi-squared).
bool APPENDPROB(std::string& line, ProbKind kind, double statistic, int df1, int df2 = 0);

/// The 7-column date label of observation `t` (`OBSLABEL`).
void APPENDOBSLABEL(std::string& line, int gap, int t);

/// The chi-squared probability of `statistic` with `df` degrees of freedom followed
/// directly by "*", or, when the statistic equals `reference` (callers pass the missing
/// value) or has no probability, "*" alone 6 columns after the last non-blank character:
/// the "*" stands in the same column either way.
void MARKPROBABILITY(std::string& line, double statistic, double reference, int df);

}  // namespace qorv::core
