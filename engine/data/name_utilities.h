// Small readers shared by the specification parsers and the importers: the signed shift
// written after a name, and a list of signed numbers.
#pragma once

#include <string_view>
#include <vector>

namespace qorv::data {

/// The shift k of a text NAME(+k) or NAME(-k) whose part before "(" (left-justified, at
/// most 14 characters) is `name`: +k for "+", -k for any other sign character; 0 when the
/// text has no "(", names another variable, or holds no digits before its closing ")".
int SIGNEDOFFSET(std::string_view text, std::string_view name);

/// The value of an unsigned decimal number text (digits with at most one point, blanks
/// around it ignored), correctly rounded to the nearest double; "." and a blank text are 0.
/// The caller checks the text first (`ISNUMBERSTRING`); anything after the number is
/// ignored.
double TEXTTOREAL(std::string_view text);

/// Numbers read by `READSIGNEDNUMBERS`.
struct SignedNumbers {
  std::vector<double> values;  ///< the numbers read, in order
  bool error = false;          ///< a word was not a number, or the count differs
};

/// Reads blank-separated numbers, each an optional "+" or "-" and then digits with at
/// most one point; exactly `expected` of them. Stops at the first word that is not such a
/// number or when more than `expected` are found.
SignedNumbers READSIGNEDNUMBERS(std::string_view text, int expected);

}  // namespace qorv::data
