// A user's text data file as a list of records, read whole from an open channel (line
// ends and the byte-order mark as the channel layer handles them).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::data {

/// Every record left on the open channel `unit`, in order; empty when a read fails. The
/// channel stays open. Cost linear in the file's size.
std::optional<std::vector<std::string>> read_all_records(int unit);

/// True when `record` holds only blanks and tabs.
bool is_blank_record(std::string_view record);

/// True when the file starts with a UTF-16 byte-order mark (text these readers refuse).
bool is_utf16(const std::vector<std::string>& records);

}  // namespace qorv::data
