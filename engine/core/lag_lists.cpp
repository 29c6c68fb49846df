#include "engine/core/lag_lists.h"

#include "shared/digit_text.h"
#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::core {

namespace {

constexpr std::string_view kAscendingMessage = " Please type the lags in ascending order! ";

LagList refused(std::string message = {}) {
  LagList out;
  out.error = true;
  out.message = std::move(message);
  return out;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

LagList PARSELAGS(int mode, std::string_view text, std::size_t capacity) {
  const bool ascending = mode != kAnyLags;
  const std::size_t limit = ascending ? std::min<std::size_t>(capacity, 12) : capacity;
  LagList out;
  for (const std::string_view word : fixed_text::blank_separated_words(text)) {
    if (word.size() > 3 || !digit_text::ISALLDIGITS(word)) return refused();
    const int lag = static_cast<int>(*digit_text::DIGITSTOINT(word));
    if (ascending && !out.lags.empty() && lag <= out.lags.back()) return refused();
    if (out.lags.size() >= limit) return refused();
    out.lags.push_back(lag);
  }
  return out;
}

LagList PARSELAGRANGE(std::size_t max_count, std::string_view text) {
  LagList out;
  bool joined = false;  // a joiner stands between the previous lag and the next number
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size()) break;
    const char c = text[i];
    if (c == '-' || c == ',') {
      if (out.lags.empty() || joined) return refused();
      joined = true;
      ++i;
      continue;
    }
    if (names::char_class(c) == names::kLetter) {
      std::size_t end = i;
      while (end < text.size() && names::char_class(text[end]) == names::kLetter) ++end;
      if (names::upper(text.substr(i, end - i)) != "TO" || out.lags.empty() || joined)
        return refused();
      joined = true;
      i = end;
      continue;
    }
    if (!is_digit(c)) return refused();
    std::size_t end = i;
    while (end < text.size() && is_digit(text[end])) ++end;
    if (end - i > 5) return refused();
    const int n = static_cast<int>(*digit_text::DIGITSTOINT(text.substr(i, end - i)));
    i = end;
    if (joined) {
      const int previous = out.lags.back();
      if (n < previous) return refused(std::string(kAscendingMessage));
      for (int lag = previous + 1; lag <= n; ++lag) {
        if (out.lags.size() >= max_count) return refused();
        out.lags.push_back(lag);
      }
      joined = false;
    } else {
      if (out.lags.size() >= max_count) return refused();
      out.lags.push_back(n);
    }
  }
  if (joined) return refused();
  return out;
}

}  // namespace qorv::core
