#include "shared/names.h"

#include <algorithm>

#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace names {

CharClass char_class(char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_') return kLetter;
  if ((c >= '0' && c <= '9') || c == '.') return kDigit;
  return kOther;
}

char to_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), to_upper);
  return out;
}

bool is_reserved(std::string_view upper_name) {
  const std::string_view n = fixed_text::trim_right(upper_name);
  return std::find(kReservedWords.begin(), kReservedWords.end(), n) != kReservedWords.end();
}

bool VALIDNAME(std::string& name) {
  if (name.empty() || name.size() > static_cast<std::size_t>(limits::kNameMax)) return false;
  if (char_class(name.front()) != kLetter) return false;
  for (const char c : name)
    if (char_class(c) == kOther) return false;
  std::string up = upper(name);
  if (is_reserved(up)) return false;
  name = std::move(up);
  return true;
}

std::string valid_name(std::string_view name) {
  std::string n(name);
  return VALIDNAME(n) ? n : std::string{};
}

bool VALIDNAMEINLIST(std::string_view token, std::span<const std::string> list) {
  std::string name(fixed_text::trim(token));
  if (!VALIDNAME(name)) return false;
  return std::any_of(list.begin(), list.end(),
                     [&](const std::string& entry) { return fixed_text::trim_right(entry) == name; });
}

NameField SPLITFIELD(std::string_view text) {
  text = fixed_text::trim(text);
  if (text.empty()) return {};
  const std::size_t end = std::min(text.find(' '), text.size());
  NameField out;
  out.name = upper(text.substr(0, std::min<std::size_t>(end, limits::kNameMax)));
  out.rest = std::string(fixed_text::trim(text.substr(end)));
  return out;
}

}  // namespace names
