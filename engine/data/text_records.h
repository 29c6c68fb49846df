// A user's text data file as a list of records: "\n", "\r\n" and a lone "\r" end a
// record, a UTF-8 byte-order mark is dropped, and UTF-16 text (with its byte-order mark)
// is turned into single bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::data {

class TextRecords {
 public:
  /// Files larger than this are refused as unreadable (no data set fits in them).
  static constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

  /// Reads the whole of `file`. False when it cannot be opened or read, or is too large.
  /// Cost linear in the file's size.
  bool load(const std::filesystem::path& file);
  /// Takes `text` as the file's contents (the same decoding as `load`).
  void assign(std::string text);

  /// Number of records; a last record without its line end counts.
  std::size_t size() const { return records_.size(); }
  /// Record `i` (from 0; line i + 1 of the file) without its line end.
  std::string_view operator[](std::size_t i) const { return records_[i]; }

 private:
  std::string text_;                        ///< the decoded contents
  std::vector<std::string_view> records_;   ///< views into `text_`, one per line
};

/// True when `record` holds only blanks and tabs.
bool is_blank_record(std::string_view record);

}  // namespace qorv::data
