// Equation-box files: any bytes read to editor lines of at most 78 characters broken at
// blanks, no character of the first 40 records lost or added; the lines written back as
// the editor's text read to the same words in the same order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "shared/equation_box.h"

namespace {

// The characters of `text` other than blanks (a NUL or carriage return reads as a blank).
std::string without_blanks(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ' ' && c != '\0' && c != '\r') out.push_back(c);
  return out;
}

// `text` with every run of blanks made one blank: the editor's text up to where the lines
// break, which drops the run at a break.
std::string single_blanks(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != ' ' || out.empty() || out.back() != ' ') out.push_back(c);
  return out;
}

// The editor text of `lines`: one blank between lines.
std::string joined(const std::vector<std::string>& lines) {
  std::string block;
  for (const std::string& line : lines) {
    if (!block.empty()) block += ' ';
    block += line;
  }
  return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = equation_box::parse(bytes);
  for (const std::string& line : lines)
    if (line.empty() || line.size() > static_cast<std::size_t>(equation_box::kLineWidth) ||
        line.front() == ' ' || line.back() == ' ')
      std::abort();

  // The records the reader takes: the first 40, each cut at 78 characters.
  std::string records;
  std::size_t from = 0;
  for (int i = 0; i < equation_box::kLines && from < bytes.size(); ++i) {
    const std::size_t end = std::min(bytes.find('\n', from), bytes.size());
    records += bytes.substr(from, std::min(end - from, std::size_t{equation_box::kLineWidth}));
    from = end + 1;
    records += ' ';
  }
  const std::string block = joined(lines);
  if (without_blanks(block) != without_blanks(records)) std::abort();

  if (block.size() > static_cast<std::size_t>(equation_box::kBlockLength)) return 0;
  const std::string again = joined(equation_box::parse(equation_box::file_bytes(block)));
  if (single_blanks(again) != single_blanks(block)) std::abort();
  return 0;
}
