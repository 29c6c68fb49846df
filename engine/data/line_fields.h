// Fields of a delimited data line: plain fields, and fields in double quotes in which a
// doubled quote stands for one quote and the delimiter may appear.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::data {

/// The delimiter that stands for runs of blanks (.PRN files).
inline constexpr char kBlankDelimiter = ' ';

/// Outcome of cutting one field off a line.
struct FieldCut {
  bool ok = true;         ///< false: a double quote opened the field and never closed
  bool delimited = false; ///< a delimiter followed the field (another field follows)
};

/// Cuts the first field off `line` (which then holds the text after the field and its
/// delimiter) into `field`. Blanks around a field are dropped. A field that starts with
/// a double quote runs to the closing quote; "" inside it is one quote, and text between
/// the closing quote and the next delimiter is dropped. With `kBlankDelimiter`, runs of
/// blanks and tabs separate fields. No length limit. Cost linear in the field.
FieldCut READQUOTEDFIELD(std::string_view& line, char delimiter, std::string& field);

/// All fields of `line`, or nothing when a quote is not closed. A trailing delimiter gives
/// a last empty field (except with `kBlankDelimiter`, where trailing blanks are ignored).
std::optional<std::vector<std::string>> split_fields(std::string_view line, char delimiter);

/// The delimiter of a file, chosen from its names row: a tab outside quotes, else a
/// comma, else a semicolon, else runs of blanks.
char choose_delimiter(std::string_view names_row);

/// The message of a quote that is not closed.
inline constexpr std::string_view kQuoteMissing = "Double quote missing! Data not read.";

}  // namespace qorv::data
