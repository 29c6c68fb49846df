// The variable-name rule that the engine and the main program share, and the 48 reserved
// words (formula functions and command words) that no variable may be called.
#pragma once

#include <array>
#include <string>
#include <span>
#include <string_view>

namespace names {

/// The reserved words, in their fixed order: the 26 formula functions, then the 22
/// command words.
inline constexpr std::array<std::string_view, 48> kReservedWords = {
    "LOG",     "EXP",     "ABS",    "SQRT",   "SIN",     "COS",     "SUM",     "CSUM",
    "UNIFORM", "NORMAL",  "RANK",   "PHI",    "CPHI",    "SIGN",    "SORT",    "INVNORM",
    "MEAN",    "STD",     "RATE",   "MIN",    "MAX",     "ORDER",   "DIRACC",  "HPF",
    "MAV",     "GDL",
    "Q",       "SAMPLE",  "LIST",   "PLOT",   "XPLOT",   "EDIT",    "ADD",     "DELETE",
    "KEEP",    "TITLE",   "ENTITLE", "COR",   "ADF",     "SIM",     "SIMB",    "DOS",
    "BATCH",   "SPECTRUM", "HIST",  "SCATTER", "REORDER", "RESTORE"};

/// Number of formula function words at the head of `kReservedWords`.
inline constexpr int kFunctionWords = 26;

/// Character classes of the name rule and the formula scanner.
enum CharClass : int {
  kOther = 0,   ///< anything else: ends or refuses a name
  kLetter = 1,  ///< a letter of either case, or "_"
  kDigit = 2,   ///< a digit, or "."
};

/// The class of `c` (single-byte ASCII; no locale).
CharClass char_class(char c);

/// `c` upper-cased when it is an ASCII lower-case letter.
char to_upper(char c);

/// `text` with every ASCII lower-case letter upper-cased.
std::string upper(std::string_view text);

/// True when `upper_name` (already upper-cased, trailing blanks ignored) is reserved.
bool is_reserved(std::string_view upper_name);

/// The name rule: 1 to 9 characters, a letter or "_" first, then letters, digits, "_" or
/// "."; not a reserved word. On success `name` is upper-cased in place; on failure it is
/// left as it was. Blanks count as characters: callers pass the trimmed name.
bool VALIDNAME(std::string& name);

/// `name` upper-cased when it passes the rule, else empty.
std::string valid_name(std::string_view name);

/// True when `token`, trimmed, passes the name rule and equals one of `list` (entries
/// compared without trailing blanks). False for an empty list.
bool VALIDNAMEINLIST(std::string_view token, std::span<const std::string> list);

/// A name field and the rest of a text: the first word, cut to 9 characters and
/// upper-cased, and the text after it without leading or trailing blanks. Both are empty
/// for a blank text. (Header fields of data files: "NAME description".)
struct NameField {
  std::string name;  ///< the first word, at most 9 characters, upper case
  std::string rest;  ///< the remainder, trimmed
};
NameField SPLITFIELD(std::string_view text);

}  // namespace names
