// Text helpers of the report writer: justification inside fixed fields, centred table
// headings, and the 40 x 78 text block in which the engine keeps menus, editor texts
// and model equations. Columns count bytes.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::core {

inline constexpr int kBlockLines = 40;   ///< lines of a text block
inline constexpr int kBlockWidth = 78;   ///< columns of each line of a text block
inline constexpr int kBlockLength = kBlockLines * kBlockWidth;  ///< 3120

/// Moves `text` left over its leading blanks, in place (the freed columns become
/// blanks), and returns the length of what is left without trailing blanks; 0 for an
/// all-blank text, which is left unchanged.
int LEFTJUSTIFY(std::string& text);

/// The 3120-character block holding line k in the k-th 78-column slot (cut or
/// blank-filled); lines beyond 40 are ignored, missing ones are blank.
std::string PACKLINES(std::span<const std::string> lines);

/// The 40 lines of 78 columns of `block` (a short block reads as blank-filled).
std::vector<std::string> UNPACKLINES(std::string_view block);

/// Moves the non-blank part of the first `n` columns of `text` (from its first to its
/// last non-blank character) to the left edge (code 'L'/'l'), the right edge ('R'/'r')
/// or the middle (any other code) of those n columns; a centred text gets
/// (n - width) div 2 blanks in front. `text` is blank-filled to n columns first; an
/// all-blank field stays blank; columns after n are untouched.
void JUSTIFYTEXT(std::string& text, int n, char code);

/// A 14-column heading: `name` is left-justified in place first; a name of 1 to 8
/// characters is then centred in the first 9 columns (moved right by ceil((9 - L)/2)),
/// a longer or blank one stays left-justified.
std::string CENTRENAME(std::string& name);

/// Length of `text` without trailing blanks; 0 for an all-blank text.
int COPYTRIMLEN(std::string_view text);

/// Cuts `text` into pieces of `k` characters for the slots numbered from 1: slot i
/// (first <= i <= the last slot filled) receives characters (i-1)k+1 .. ik of `text`
/// (blanks past its end), cut or blank-filled to that slot's present length. The number
/// of pieces, n div k plus 1 for a remainder, is returned; it is the last slot filled
/// when n is not 0, else `last` is. Slots beyond `slots.size()` are never written;
/// k <= 0 fills nothing and gives 0.
int BLANKNAMES(std::string_view text, int n, int first, int last, int k,
               std::span<std::string> slots);

}  // namespace qorv::core
