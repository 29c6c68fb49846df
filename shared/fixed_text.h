// Blank-padded fixed-length texts, as they cross every export boundary: helpers to turn
// them into strings and back. Text is single bytes throughout.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fixed_text {

/// Length of `text` without trailing blanks (NUL counts as blank).
std::size_t trimmed_length(std::string_view text);

/// `text` without trailing blanks or NULs.
std::string_view trim_right(std::string_view text);

/// `text` without leading and trailing blanks.
std::string_view trim(std::string_view text);

/// The words of `text` that blanks separate, in order (views into `text`).
std::vector<std::string_view> blank_separated_words(std::string_view text);

/// `text` cut or blank-padded to exactly `width` characters.
std::string pad(std::string_view text, std::size_t width);

/// A view of the `len` characters at `text`; a negative length or a null pointer gives an
/// empty view. NUL bytes are kept (callers that want blanks use `from_fixed`).
std::string_view view(const char* text, int len);

/// The `len` characters at `text` with NUL read as blank and trailing blanks removed
/// (messages and titles: leading blanks kept).
std::string from_fixed(const char* text, int len);

/// Like `from_fixed`, but a first character that is a blank empties the whole text
/// (default answers and file names).
std::string from_fixed_answer(const char* text, int len);

/// Writes `value` into the `len` characters at `out`, blank-padded or cut.
void to_fixed(std::string_view value, char* out, int len);

/// Splits `count` items of `width` characters each (blanks kept) out of `items`.
std::vector<std::string> split_items(const char* items, int width, int count);

/// Joins `lines` into one block of `count` items of `width` characters each.
std::string join_items(std::span<const std::string> lines, int width, int count);

}  // namespace fixed_text
