#include "engine/data/text_records.h"

#include <fstream>
#include <iterator>
#include <system_error>

namespace qorv::data {

namespace {

/// UTF-16 code units as single bytes: units above 255 become "?".
std::string from_utf16(std::string_view bytes, bool little_endian) {
  std::string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[little_endian ? i : i + 1]);
    const auto hi = static_cast<unsigned char>(bytes[little_endian ? i + 1 : i]);
    const unsigned unit = (hi << 8) | lo;
    if (unit >= 0xDC00 && unit <= 0xDFFF) continue;  // low half of a pair: one "?" is enough
    out.push_back(unit < 256 ? static_cast<char>(unit) : '?');
  }
  return out;
}

}  // namespace

bool TextRecords::load(const std::filesystem::path& file) {
  std::error_code ec;
  const auto bytes = std::filesystem::file_size(file, ec);
  if (ec || bytes > kMaxFileBytes) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return false;
  assign(std::move(text));
  return true;
}

void TextRecords::assign(std::string text) {
  const std::string_view raw = text;
  if (raw.starts_with("\xFF\xFE"))
    text_ = from_utf16(raw.substr(2), true);
  else if (raw.starts_with("\xFE\xFF"))
    text_ = from_utf16(raw.substr(2), false);
  else if (raw.starts_with("\xEF\xBB\xBF"))
    text_ = std::string(raw.substr(3));
  else
    text_ = std::move(text);

  records_.clear();
  const std::string_view all = text_;
  std::size_t start = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i] != '\n' && all[i] != '\r') continue;
    records_.push_back(all.substr(start, i - start));
    if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < all.size()) records_.push_back(all.substr(start));
}

bool is_blank_record(std::string_view record) {
  return record.find_first_not_of(" \t") == std::string_view::npos;
}

}  // namespace qorv::data
