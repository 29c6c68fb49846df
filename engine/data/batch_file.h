// Batch files: plain text files of data-processing statements, read record by record and
// handed to the command interpreter one logical line at a time.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace qorv::data {

/// Longest statement, typed or read from a batch file.
inline constexpr std::size_t kStatementCapacity = 3120;

/// The records of a batch file. Records end at "\n", "\r\n" or a lone "\r"; a UTF-8
/// byte-order mark at the start of the file is dropped; records may be of any length.
class BatchRecords {
 public:
  explicit BatchRecords(std::string bytes);
  /// The next record without its line end; false at the end of the file.
  bool next(std::string& record);

 private:
  std::string bytes_;
  std::size_t position_ = 0;
};

/// Reads the whole file at `path`; empty when it cannot be read.
std::optional<BatchRecords> open_batch_file(const std::filesystem::path& path);

/// What `READCOMMANDLINE` delivered.
enum class CommandLineStatus {
  kStatement = 0,  ///< a logical line (possibly empty) is in the buffer
  kTooLong = 1,    ///< the logical line would exceed the capacity
  kEnd = 2,        ///< end of file: nothing new was read
};

/// Reads the next logical line into `statement` (cleared first). Leading blanks of each
/// record are dropped; blank records and records whose first character is "$" are
/// skipped; a record whose last non-blank character is "&" continues on the next record,
/// the "&" replaced by a blank and the pieces joined by one blank. A line of more than
/// `capacity` characters gives kTooLong. Cost: linear in the characters read.
CommandLineStatus READCOMMANDLINE(BatchRecords& records, std::string& statement,
                                  std::size_t capacity = kStatementCapacity);

/// The file a BATCH statement names: `typed` (trimmed) when its last path component holds
/// a "."; otherwise the first that exists of NAME.BAT, NAME.bat and a file of the same
/// folder whose name matches NAME.BAT ignoring case; NAME.BAT when none exists.
std::filesystem::path batch_file_path(std::string_view typed);

}  // namespace qorv::data
