#include "engine/data/batch_file.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "shared/fixed_text.h"
#include "shared/names.h"

namespace qorv::data {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool equal_ignoring_case(std::string_view a, std::string_view b) {
  return names::upper(a) == names::upper(b);
}

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
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return BatchRecords(std::move(bytes));
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

std::filesystem::path batch_file_path(std::string_view typed) {
  namespace fs = std::filesystem;
  const fs::path path{std::string(fixed_text::trim(typed))};
  if (path.filename().string().find('.') != std::string::npos) return path;
  const fs::path upper_case = fs::path(path.string() + ".BAT");
  std::error_code ec;
  for (const fs::path& candidate : {upper_case, fs::path(path.string() + ".bat")})
    if (fs::is_regular_file(candidate, ec)) return candidate;
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string wanted = path.filename().string() + ".BAT";
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (equal_ignoring_case(it->path().filename().string(), wanted) && it->is_regular_file(ec))
      return path.has_parent_path() ? folder / it->path().filename() : it->path().filename();
  return upper_case;
}

}  // namespace qorv::data
