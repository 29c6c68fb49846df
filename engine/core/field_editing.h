// Output editing of one number in a field of a user's format: the F, E, D, G and I
// descriptors.
#pragma once

#include <optional>
#include <string>

namespace qorv::core {

/// `value` right-justified in `width` columns under the descriptor `letter` (F, E, D, G or
/// I) with `decimals`, or nothing when the field cannot hold it: too narrow, a value that
/// is not finite, or an E, D or G field with no decimals for a non-zero value (it would
/// keep no digit). Rounding is to nearest, an exact tie to the even digit; a value that
/// rounds to zero is written without a minus sign.
std::optional<std::string> edit_field(double value, char letter, int width, int decimals);

}  // namespace qorv::core
