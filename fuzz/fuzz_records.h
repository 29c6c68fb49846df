// The fuzzer's bytes as the records of a text file: split at every line feed, the last
// record what follows the last one (empty when the bytes end in a line feed).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zv_fuzz {

inline std::vector<std::string> records_of(std::string_view text) {
  std::vector<std::string> records;
  for (std::size_t from = 0; from <= text.size();) {
    const auto end = text.find('\n', from);
    records.emplace_back(text.substr(from, end == std::string_view::npos ? end : end - from));
    if (end == std::string_view::npos) break;
    from = end + 1;
  }
  return records;
}

}  // namespace zv_fuzz
