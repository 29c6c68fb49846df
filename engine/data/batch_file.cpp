#include "engine/data/batch_file.h"

#include "engine/core/file_names.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"

namespace qorv::data {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

BatchRecords::BatchRecords(std::string bytes) : bytes_(std::move(bytes)) {
  if (bytes_.starts_with(kByteOrderMark)) position_ = kByteOrderMark.size();
}

bool BatchRecords::next(std::string& record) {
  if (position_ >= bytes_.size()) return false;
  const std::size_t end = bytes_.find_first_of("\r\n", position_);
  const std::size_t stop = end == std::string::npos ? bytes_.size() : end;
  record.assign(bytes_, position_, stop - position_);
  position_ = stop;
  if (position_ < bytes_.size()) {
    if (bytes_[position_] == '\r' && position_ + 1 < bytes_.size() && bytes_[position_ + 1] == '\n') ++position_;
    ++position_;
  }
  return true;
}

std::optional<BatchRecords> open_batch_file(const std::filesystem::path& path) {
  file_reading::Contents file = file_reading::read_all(path);
  if (file.failure != file_reading::Failure::kNone) return std::nullopt;
  return BatchRecords(std::move(file.bytes));
}

CommandLineStatus READCOMMANDLINE(BatchRecords& records, std::string& statement, std::size_t capacity) {
  statement.clear();
  std::string record;
  while (records.next(record)) {
    std::string_view piece = fixed_text::trim(record);
    if (piece.empty() || piece.front() == '$') continue;
    const bool continues = piece.back() == '&';
    if (continues) piece = fixed_text::trim_right(piece.substr(0, piece.size() - 1));
    if (statement.size() + piece.size() > capacity) return CommandLineStatus::kTooLong;
    statement += piece;
    if (!continues) {
      // A record holding "&" alone leads with the joining blank.
      statement = std::string(fixed_text::trim(statement));
      return CommandLineStatus::kStatement;
    }
    if (statement.size() + 1 > capacity) return CommandLineStatus::kTooLong;
    statement += ' ';
  }
  // A file ending in a continued record delivers what it joined.
  statement = std::string(fixed_text::trim(statement));
  return statement.empty() ? CommandLineStatus::kEnd : CommandLineStatus::kStatement;
}

std::filesystem::path batch_file_path(std::string_view typed) { return core::with_extension(typed, "BAT"); }

}  // namespace qorv::data
