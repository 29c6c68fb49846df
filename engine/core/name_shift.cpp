#include "engine/core/name_shift.h"

namespace qorv::core {

void SHIFTCHARS(std::span<char> text) {
  // Trailing blanks (code 32) lie outside the shifted range, so the whole text may be
  // walked.
  for (char& ch : text) {
    const auto code = static_cast<unsigned char>(ch);
    if (code >= 33 && code <= 58) ch = static_cast<char>(code + 32);
  }
}

}  // namespace qorv::core
