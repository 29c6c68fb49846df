#include "engine/data/formula_functions.h"

#include <array>

#include "shared/fixed_text.h"

namespace qorv::data {

namespace {

constexpr std::array<std::string_view, kFormulaCodes> kWords = {
    "+",   "*",   "-",    "/",    "^",       "MIN",    "MAX",  "ORDER", "DIRACC", "HPF",
    "MAV", "GDL", "LOG",  "EXP",  "ABS",     "SQRT",   "SIN",  "COS",   "SUM",    "CSUM",
    "UNIFORM", "NORMAL", "RANK", "PHI", "CPHI", "SIGN", "SORT", "INVNORM", "MEAN", "STD",
    "RATE"};

}  // namespace

std::string_view formula_word(int code) {
  return code >= 1 && code <= kFormulaCodes ? kWords[static_cast<std::size_t>(code - 1)]
                                            : std::string_view{};
}

int LOOKUPFUNCTION(std::string_view word) {
  word = fixed_text::trim_right(word);
  for (int code = 1; code <= kFormulaCodes; ++code)
    if (kWords[static_cast<std::size_t>(code - 1)] == word) return code;
  return 0;
}

}  // namespace qorv::data
