// Format texts typed by a user, applied to records that follow the text in the input; what
// was read is written back with the same format and must read again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/user_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first line is the format text, the rest are the records it reads.
  const std::size_t end = input.find('\n');
  const std::string_view text = input.substr(0, end);
  const auto format = qorv::core::parse_user_format(text);
  if (!format) return 0;
  if (format->reversion >= format->items.size()) std::abort();
  std::vector<std::string> records;
  if (end != std::string_view::npos) {
    std::string_view rest = input.substr(end + 1);
    while (!rest.empty()) {
      const std::size_t cut = rest.find('\n');
      records.emplace_back(rest.substr(0, cut));
      rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    }
  }
  std::size_t next = 0;
  const qorv::core::RecordSource source = [&](std::string& record) {
    if (next >= records.size()) return false;
    record = records[next++];
    return true;
  };
  std::vector<double> out(1 + size % 40, -1.0);
  const auto status = qorv::core::read_formatted(*format, source, out);
  // Every field read is a finite number: no text makes an infinity or a NaN.
  if (status != qorv::core::FormatReadStatus::kOk) return 0;
  for (const double v : out)
    if (!std::isfinite(v)) std::abort();
  const auto written = qorv::core::write_formatted(*format, out);
  if (written.unfit) return 0;
  records = written.records;
  next = 0;
  std::vector<double> again(out.size());
  if (qorv::core::read_formatted(*format, source, again) != qorv::core::FormatReadStatus::kOk) std::abort();
  return 0;
}
