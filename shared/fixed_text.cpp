#include "shared/fixed_text.h"

#include <algorithm>
#include <cstring>

namespace fixed_text {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\0'; }
}  // namespace

std::size_t trimmed_length(std::string_view text) {
  std::size_t n = text.size();
  while (n > 0 && is_blank(text[n - 1])) --n;
  return n;
}

std::string_view trim_right(std::string_view text) { return text.substr(0, trimmed_length(text)); }

std::string_view trim(std::string_view text) {
  text = trim_right(text);
  std::size_t first = 0;
  while (first < text.size() && is_blank(text[first])) ++first;
  return text.substr(first);
}

std::string pad(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, std::min(text.size(), width)));
  out.resize(width, ' ');
  return out;
}

std::string_view view(const char* text, int len) {
  if (text == nullptr || len <= 0) return {};
  return {text, static_cast<std::size_t>(len)};
}

std::string from_fixed(const char* text, int len) {
  std::string out(view(text, len));
  std::replace(out.begin(), out.end(), '\0', ' ');
  out.resize(trimmed_length(out));
  return out;
}

std::string from_fixed_answer(const char* text, int len) {
  std::string out = from_fixed(text, len);
  if (!out.empty() && out.front() == ' ') out.clear();
  return out;
}

void to_fixed(std::string_view value, char* out, int len) {
  if (out == nullptr || len <= 0) return;
  const auto n = std::min<std::size_t>(value.size(), static_cast<std::size_t>(len));
  std::memcpy(out, value.data(), n);
  std::memset(out + n, ' ', static_cast<std::size_t>(len) - n);
}

std::vector<std::string_view> blank_separated_words(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) break;
    std::size_t end = i;
    while (end < text.size() && text[end] != ' ') ++end;
    words.push_back(text.substr(i, end - i));
    i = end;
  }
  return words;
}

std::vector<std::string> split_items(const char* items, int width, int count) {
  std::vector<std::string> out;
  if (items == nullptr || width <= 0 || count <= 0) return out;
  out.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    out.emplace_back(items + static_cast<std::size_t>(i) * static_cast<std::size_t>(width),
                     static_cast<std::size_t>(width));
  return out;
}

std::string join_items(std::span<const std::string> lines, int width, int count) {
  std::string out;
  if (width <= 0 || count <= 0) return out;
  out.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    out += pad(static_cast<std::size_t>(i) < lines.size() ? std::string_view(lines[static_cast<std::size_t>(i)]) : std::string_view{},
               static_cast<std::size_t>(width));
  return out;
}

}  // namespace fixed_text
