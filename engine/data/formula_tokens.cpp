#include "engine/data/formula_tokens.h"

#include "engine/data/formula_functions.h"
#include "shared/digit_text.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::data {

CharInfo CHARCLASS(char c) {
  switch (names::char_class(c)) {
    case names::kLetter: return {1, names::to_upper(c)};
    case names::kDigit: return {2, c};
    case names::kOther: break;
  }
  switch (c) {
    case ' ': return {kBlankClass, c};
    case '^': return {kPowerClass, c};
    case '*':
    case '/': return {kProductClass, c};
    case '+':
    case '-': return {kSumClass, c};
    case ')': return {kCloseClass, c};
    case ',': return {kCommaClass, c};
    case '(': return {kOpenClass, c};
    default: return {kIllegalClass, c};
  }
}

ScanResult NEXTTOKEN(std::string_view line, std::size_t& position,
                     std::span<const std::string> names) {
  ScanResult r;
  if (position >= line.size()) {
    r.status = ScanStatus::kEnd;
    return r;
  }
  std::size_t i = position;
  std::size_t length = 0;
  for (; i < line.size(); ++i) {
    const CharInfo ch = CHARCLASS(line[i]);
    if (ch.cls == kIllegalClass) {
      position = i + 1;
      r.status = ScanStatus::kIllegal;
      r.text.assign(1, line[i]);
      return r;
    }
    if (ch.cls != 1 && ch.cls != 2) {
      if (length > 0) break;
      position = i + 1;
      r.status = ScanStatus::kToken;
      r.text.assign(1, ch.upper);
      r.cls = ch.cls;
      return r;
    }
    if (++length <= kMaxWordLength) r.text.push_back(ch.upper);
  }
  position = i;
  if (length > kMaxWordLength) {
    r.status = ScanStatus::kIllegal;
    return r;
  }
  r.status = ScanStatus::kToken;
  if (LOOKUPFUNCTION(r.text) > kLastOperatorCode) {
    r.cls = kFunctionClass;
  } else if (digit_text::ISNUMBERSTRING(r.text)) {
    r.cls = kNumberClass;
  } else {
    for (std::size_t k = 0; k < names.size(); ++k) {
      if (fixed_text::trim_right(names[k]) == r.text) {
        r.cls = kNameClass;
        r.name = static_cast<int>(k) + 1;
        return r;
      }
    }
    r.status = ScanStatus::kUnknownWord;
  }
  return r;
}

}  // namespace qorv::data
