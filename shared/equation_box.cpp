#include "shared/equation_box.h"

#include <algorithm>

#include "shared/atomic_file.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"

namespace equation_box {

std::string file_bytes(std::string_view block) {
  const std::string text = fixed_text::pad(block, kBlockLength);
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(kLines) * (kLineWidth + 1));
  for (int i = 0; i < kLines; ++i) {
    bytes.append(text, static_cast<std::size_t>(i) * kLineWidth, kLineWidth);
    bytes += '\n';
  }
  return bytes;
}

bool write(const std::filesystem::path& path, std::string_view block) {
  return atomic_file::replace(path, file_bytes(block), atomic_file::Durability::kScratch).failure ==
         atomic_file::Failure::kNone;
}

std::vector<std::string> break_at_blanks(std::string_view stream, int width) {
  std::vector<std::string> lines;
  if (width < 1) width = 1;
  const std::size_t w = static_cast<std::size_t>(width);
  std::size_t at = 0;
  const auto skip_blanks = [&] {
    while (at < stream.size() && stream[at] == ' ') ++at;
  };
  skip_blanks();
  while (at < stream.size()) {
    std::size_t end = std::min(stream.size(), at + w);
    if (end < stream.size() && stream[end] != ' ') {
      // The line would end inside a word: end it at the last blank before that word.
      std::size_t blank = stream.rfind(' ', end);
      if (blank != std::string_view::npos && blank > at) end = blank;
    }
    lines.emplace_back(fixed_text::trim_right(stream.substr(at, end - at)));
    at = end;
    skip_blanks();
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

std::vector<std::string> parse(std::string_view bytes) {
  std::string stream;
  for (std::size_t from = 0, i = 0; i < kLines && from < bytes.size(); ++i) {
    const std::size_t end = std::min(bytes.find('\n', from), bytes.size());
    stream += fixed_text::pad(bytes.substr(from, end - from), kLineWidth);
    from = end + 1;
  }
  // The editor holds no control characters of a line end: a NUL or a carriage return
  // (of "\r\n" or a stray one) reads as a blank.
  std::replace_if(stream.begin(), stream.end(), [](char c) { return c == '\0' || c == '\r'; }, ' ');
  return break_at_blanks(stream);
}

std::vector<std::string> read_lines(const std::filesystem::path& path) {
  const file_reading::Contents file = file_reading::read_all(path);
  if (file.failure != file_reading::Failure::kNone) return {};
  return parse(file.bytes);
}

}  // namespace equation_box
