// Delimited text data files: field splitting of one line, and whole files.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/line_fields.h"
#include "engine/data/text_import.h"
#include "fuzz/fuzz_records.h"
#include "shared/exchange_slots.h"

namespace {

/// `fields` written back as a line of quoted fields ("" for each quote inside).
std::string quoted_line(const std::vector<std::string>& fields, char delimiter) {
  std::string line;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) line += delimiter;
    line += '"';
    for (char c : fields[k]) line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
  }
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string_view first_line = text.substr(0, text.find('\n'));
  for (char delimiter : {',', ';', '\t', qorv::data::kBlankDelimiter}) {
    const auto fields = qorv::data::split_fields(first_line, delimiter);
    if (!fields || delimiter == qorv::data::kBlankDelimiter) continue;
    // Quoting the fields and splitting again gives the same fields.
    const auto again = qorv::data::split_fields(quoted_line(*fields, delimiter), delimiter);
    if (!again || *again != *fields) std::abort();
  }

  const std::vector<std::string> records = zv_fuzz::records_of(text);
  const auto result = qorv::data::read_delimited_text(records);
  if (!result.ok) return 0;
  const auto& d = result.data;
  if (d.nobs < 1 || d.nobs > limits::kMaxObs || d.nvars() < 1 || d.nvars() > limits::kMaxVars ||
      d.values.size() != static_cast<std::size_t>(d.nobs) * d.nvars() ||
      d.descs.size() != d.names.size() || d.frequency < 1 || d.frequency > 5)
    std::abort();
  for (double v : d.values)
    if (!std::isfinite(v)) std::abort();
  for (const auto& desc : d.descs)
    if (desc.size() > limits::kDescWidth) std::abort();
  return 0;
}
