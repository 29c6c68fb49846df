#include "engine/core/text_format.h"

#include <algorithm>

#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

constexpr std::string_view kBlanks = " ";

}  // namespace

int LEFTJUSTIFY(std::string& text) {
  const std::size_t last = text.find_last_not_of(kBlanks);
  if (last == std::string::npos) return 0;
  const std::size_t first = text.find_first_not_of(kBlanks);
  const std::size_t length = last - first + 1;
  if (first > 0) {
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(first),
              text.begin() + static_cast<std::ptrdiff_t>(last + 1), text.begin());
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(length), text.end(), ' ');
  }
  return static_cast<int>(length);
}

std::string PACKLINES(std::span<const std::string> lines) {
  return fixed_text::join_items(lines, kBlockWidth, kBlockLines);
}

std::vector<std::string> UNPACKLINES(std::string_view block) {
  const std::string padded = fixed_text::pad(block, kBlockLength);
  return fixed_text::split_items(padded.data(), kBlockWidth, kBlockLines);
}

void JUSTIFYTEXT(std::string& text, int n, char code) {
  if (n <= 0) return;
  const auto width = static_cast<std::size_t>(n);
  if (text.size() < width) text.resize(width, ' ');
  const std::string_view field(text.data(), width);
  const std::size_t f = field.find_first_not_of(kBlanks);
  if (f == std::string_view::npos) return;
  const std::size_t l = field.find_last_not_of(kBlanks);
  const std::size_t w = l - f + 1;
  std::size_t start = 0;  // 0-based column of the text's first character
  if (code == 'L' || code == 'l') {
    start = 0;
  } else if (code == 'R' || code == 'r') {
    start = width - w;
  } else {
    start = (width - w) / 2;
  }
  const std::string piece(field.substr(f, w));
  std::fill_n(text.begin(), width, ' ');
  std::copy(piece.begin(), piece.end(), text.begin() + static_cast<std::ptrdiff_t>(start));
}

std::string CENTRENAME(std::string& name) {
  const int length = LEFTJUSTIFY(name);
  std::string heading = fixed_text::pad(name, 14);
  if (length > 0 && length < 9) {
    const int shift = (9 - length + 1) / 2;
    heading = fixed_text::pad(std::string(static_cast<std::size_t>(shift), ' ') + name, 14);
  }
  return heading;
}

int COPYTRIMLEN(std::string_view text) {
  const std::size_t last = text.find_last_not_of(kBlanks);
  return last == std::string_view::npos ? 0 : static_cast<int>(last + 1);
}

int BLANKNAMES(std::string_view text, int n, int first, int last, int k,
               std::span<std::string> slots) {
  if (k <= 0) return 0;
  n = std::max(n, 0);
  const int pieces = n / k + (n % k != 0 ? 1 : 0);
  const int final_slot = std::min<long>(n != 0 ? pieces : last, static_cast<long>(slots.size()));
  for (int i = std::max(first, 1); i <= final_slot; ++i) {
    const std::size_t from = static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(k);
    const std::string_view piece =
        from < text.size() ? text.substr(from, static_cast<std::size_t>(k)) : std::string_view{};
    std::string& slot = slots[static_cast<std::size_t>(i - 1)];
    slot = fixed_text::pad(fixed_text::pad(piece, static_cast<std::size_t>(k)), slot.size());
  }
  return pieces;
}

}  // namespace qorv::core
