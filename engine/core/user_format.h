// Formatted reading and writing with a user's format text, such as "(8F10.2)" or
// "(2(F6.1,1X),I4/E12.4)": the common edit-descriptor notation with F, E, D, G, I, X and "/"
// descriptors, repeat counts, nested groups and format reversion.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

/// One edit descriptor or group of a parsed format text.
struct FormatItem {
  enum class Kind {
    kReal,       ///< Fw.d, Ew.d, Dw.d, Gw.d: a real field of width w with d implied decimals
    kInteger,    ///< Iw
    kSkip,       ///< nX: skip n characters
    kNewRecord,  ///< "/": continue on the next record
    kGroup,      ///< n(...): a group repeated n times
  };
  Kind kind = Kind::kReal;
  char letter = 'F'; ///< of a field: the descriptor letter F, E, D, G or I
  int repeat = 1;    ///< repeat count (for kSkip: the number of characters)
  int width = 0;     ///< field width
  int decimals = 0;  ///< implied decimals of a real field without a decimal point
  std::vector<FormatItem> items;  ///< the group's contents
};

/// A parsed format text.
struct FormatProgram {
  std::vector<FormatItem> items;  ///< the outermost list
  std::size_t reversion = 0;      ///< index in `items` where reading resumes when the list runs out
};

/// Parses a format text in brackets. On failure gives nothing and, when `error` is given,
/// a short reason.
std::optional<FormatProgram> parse_user_format(std::string_view text, std::string* error = nullptr);

/// Supplies the next record; false at the end of the file.
using RecordSource = std::function<bool(std::string& record)>;

/// Outcome of one formatted read statement.
enum class FormatReadStatus { kOk, kEndOfFile, kBadField };

/// Reads `out.size()` values as one read statement: it starts on a new record, applies the
/// format (reverting to the last outermost group, or the whole list, on a new record when
/// the list runs out of descriptors) and drops the rest of its last record. Blanks inside a
/// field are ignored, an all-blank field (or one past the end of a short record) reads as
/// 0, and a real field without a decimal point has `d` implied decimals. Values not read
/// before a failure keep what `out` held.
FormatReadStatus read_formatted(const FormatProgram& format, const RecordSource& next_record,
                                std::span<double> out);

/// Outcome of one formatted write statement.
struct FormatWriteResult {
  std::vector<std::string> records;  ///< the records written
  /// The index of the first value its field cannot hold (too wide, not finite, or an E, D
  /// or G field without decimals for a non-zero value); `records` then stop short of it.
  std::optional<std::size_t> unfit;
};

/// Writes `values` as one write statement: it starts a new record, applies the format as
/// `read_formatted` reads it (reversion on a new record, "/" ends a record, nX writes n
/// blanks) and stops after the last value, so the records read back with the same format.
/// F gives the value rounded to d decimals with its point; E and D a fraction of d digits
/// and an exponent ("0.1235E+03", "0.1235+100" beyond two exponent digits); G the F form
/// and four blanks when the value rounded to d digits lies in [0.1, 10^d), else the E
/// form; I the nearest integer. A leading "0" is dropped when the field needs its column.
FormatWriteResult write_formatted(const FormatProgram& format, std::span<const double> values);

}  // namespace qorv::core
