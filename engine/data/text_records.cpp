#include "engine/data/text_records.h"

#include "engine/core/channels.h"

namespace qorv::data {

std::optional<std::vector<std::string>> read_all_records(int unit) {
  std::vector<std::string> records;
  std::string record;
  while (true) {
    switch (core::read_record(unit, record)) {
      case core::ReadStatus::kOk: records.push_back(record); break;
      case core::ReadStatus::kEnd: return records;
      case core::ReadStatus::kError: return std::nullopt;
    }
  }
}

bool is_blank_record(std::string_view record) {
  return record.find_first_not_of(" \t") == std::string_view::npos;
}

bool is_utf16(const std::vector<std::string>& records) {
  if (records.empty()) return false;
  const std::string_view first = records.front();
  return first.starts_with("\xFF\xFE") || first.starts_with("\xFE\xFF");
}

}  // namespace qorv::data
