#include "engine/data/name_utilities.h"

#include <charconv>

#include "shared/digit_text.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::data {

int SIGNEDOFFSET(std::string_view text, std::string_view name) {
  const std::size_t open = text.find('(');
  if (open == std::string_view::npos) return 0;
  const std::string_view before = fixed_text::trim(text.substr(0, open));
  if (before.size() > static_cast<std::size_t>(limits::kNameWidth) || before != fixed_text::trim(name))
    return 0;
  text = fixed_text::trim_right(text);
  if (open + 2 >= text.size()) return 0;  // "Y(", "Y()", "Y(-"
  // The digits run from after the sign up to the character before the closing bracket.
  const std::string_view digits = text.substr(open + 2, text.size() - open - 3);
  const auto k = digit_text::DIGITSTOINT(digits);
  if (!k || digits.empty()) return 0;
  const int v = static_cast<int>(*k);
  return text[open + 1] == '+' ? v : -v;
}

double TEXTTOREAL(std::string_view text) {
  text = fixed_text::trim(text);
  double value = 0.0;
  if (!text.empty() && text != ".") std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

SignedNumbers READSIGNEDNUMBERS(std::string_view text, int expected) {
  SignedNumbers out;
  for (std::string_view word : fixed_text::blank_separated_words(text)) {
    double factor = 1.0;
    if (word.front() == '-' || word.front() == '+') {
      factor = word.front() == '-' ? -1.0 : 1.0;
      word.remove_prefix(1);
    }
    if (!digit_text::ISNUMBERSTRING(word) ||
        static_cast<int>(out.values.size()) >= expected) {
      out.error = true;
      return out;
    }
    out.values.push_back(factor * TEXTTOREAL(word));
  }
  out.error = static_cast<int>(out.values.size()) != expected;
  return out;
}

}  // namespace qorv::data
