// The engine's own fixed-width number formatters. Every number of every report table is
// written by these, never by printf widths: a zero integer part is left out when there
// are decimals (".2500", not "0.2500"), halves round up, and the missing value (or a
// value that is not finite) prints "*NONE*".
#pragma once

#include <string>

namespace qorv::core {

/// `value` with `decimals` digits after the point, right-justified in `width` columns:
/// "-" for a negative value, the integer digits (none when the integer part is 0 and
/// there are decimals), "." and the fraction, rounded half up on |value|. A value that
/// does not fit, or is not finite, fills the field with "*". An empty text for
/// width <= 0; decimals below 0 count as 0.
std::string FORMATFIXED(double value, int width, int decimals);

/// The 9-column table field. Its decimals follow the magnitude a = |value|:
///   missing or not finite "   *NONE*";  0 "     0.00";  a <= 1e-10: 4;
///   1e-10 < a < 0.001: the small exponent form " .1200E-3";  below 0.01: 7;
///   below 0.1: 6;  below 1: 5;  below 1000: 4;  below 1e6: 1;  up to 9999999.4: 0;
///   above: `FORMATEXP9`.
/// A negative value whose rounding carries it into the next range ("-1000.0000") is
/// written in that range ("  -1000.0"), so the field never overflows.
std::string FORMATREAL9(double value);

/// The 9-column exponent form of a large value: " 1.23E+07", "-1.23E+07", " 1.00+150"
/// (a mantissa of 9.995 or more keeps one decimal: " 10.0E+06"). Missing or not finite
/// values print "   *NONE*".
std::string FORMATEXP9(double value);

}  // namespace qorv::core
