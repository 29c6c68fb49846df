// The formula scanner: character classes and one token at a time, with an explicit end of
// text. The compiler and the other readers of formula-like text (lists, samples) share it.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace qorv::data {

/// Character and token classes of the formula language. A character's class and the class
/// of the single-character token it forms are the same number.
enum TokenClass : int {
  kIllegalClass = 0,   ///< a character outside every class below ("@", "$", quotes, tab, 0x80..)
  kNumberClass = 1,    ///< a number token; as a character class: a letter or "_"
  kNameClass = 2,      ///< a name token; as a character class: a digit or "."
  kBlankClass = 3,     ///< a blank; in a compiled token table: the lag "\" or lead "|"
  kFunctionClass = 4,  ///< a function word
  kPowerClass = 5,     ///< "^"
  kProductClass = 6,   ///< "*" or "/"
  kSumClass = 7,       ///< "+" or "-"
  kCloseClass = 8,     ///< ")"
  kCommaClass = 9,     ///< ","
  kOpenClass = 10,     ///< "("
};

/// A character's class and the character upper-cased.
struct CharInfo {
  int cls;   ///< 0..10 as above (1 = letter or "_", 2 = digit or ".")
  char upper;
};

/// Classifies one character (single-byte; no locale).
CharInfo CHARCLASS(char c);

/// Longest word: a name or a number has at most 9 characters.
inline constexpr std::size_t kMaxWordLength = 9;

/// What `NEXTTOKEN` read.
enum class ScanStatus {
  kToken,        ///< a token was read
  kEnd,          ///< the position is at or after the end of the text: nothing read
  kIllegal,      ///< an illegal character, or a word of more than 9 characters
  kUnknownWord,  ///< a word that is neither a number, a function word nor a listed name
};

struct ScanResult {
  ScanStatus status = ScanStatus::kEnd;
  std::string text;  ///< the token, upper-cased (at most 9 characters for a word)
  int cls = kIllegalClass;
  int name = 0;      ///< a name token: its position (from 1) in the name list
};

/// Reads the token that starts at `position` (0-based) of `line`; on return `position` is
/// the first character after it. Blanks, operators, brackets and commas are tokens of one
/// character; a word (letters, digits, "_", ".") is a function word (class 4), a number
/// (digits with at most one ".", class 1) or one of `names` (upper case, trailing blanks
/// ignored; class 2). An illegal character fails at once, also inside a word. A position at or past the end gives kEnd and reads
/// nothing. Cost: O(word length + names · 9).
ScanResult NEXTTOKEN(std::string_view line, std::size_t& position,
                     std::span<const std::string> names);

}  // namespace qorv::data
