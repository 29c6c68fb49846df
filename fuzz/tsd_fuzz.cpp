// TSD data files.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/data/tsd_import.h"
#include "fuzz/fuzz_records.h"
#include "shared/exchange_slots.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> records = zv_fuzz::records_of(text);
  const auto result = qorv::data::read_tsd(records, "fuzz.tsd");
  if (!result.ok) return 0;
  const auto& d = result.data;
  if (d.nobs < 1 || d.nobs > limits::kMaxObs || d.nvars() < 1 ||
      d.values.size() != static_cast<std::size_t>(d.nobs) * d.nvars())
    std::abort();
  for (double v : d.values)
    if (!std::isfinite(v)) std::abort();
  return 0;
}
