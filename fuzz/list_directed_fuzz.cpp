// The free-format reader of ASCII data files: one read statement of numbers over records.
// Targets the statement does not reach keep their value, every value read is finite, and
// what was read is written as a record that reads back to the same values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <variant>
#include <vector>

#include "engine/core/list_directed.h"
#include "shared/exchange_slots.h"

namespace core = qorv::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const auto n = in.ConsumeIntegralInRange<std::size_t>(1, 40);
  const std::string text = in.ConsumeRemainingBytesAsString();
  std::vector<double> values(n, limits::kMissing);
  const core::ListReadResult result = core::read_numbers(text, values);
  if (result.items < 0 || static_cast<std::size_t>(result.items) > n) std::abort();
  if (result.status != core::ListStatus::kOk && static_cast<std::size_t>(result.items) == n)
    std::abort();
  for (std::size_t i = 0; i < n; ++i) {
    if (!std::isfinite(values[i])) std::abort();
    if (i >= static_cast<std::size_t>(result.items) && values[i] != limits::kMissing) std::abort();
  }
  if (result.status != core::ListStatus::kOk) return 0;

  std::vector<core::ListValue> items(values.begin(), values.end());
  const std::string record = core::list_record(items);
  std::vector<double> again(n, 0.0);
  const core::ListReadResult back = core::read_numbers(record, again);
  if (back.status != core::ListStatus::kOk || static_cast<std::size_t>(back.items) != n ||
      std::memcmp(values.data(), again.data(), n * sizeof(double)) != 0)
    std::abort();
  return 0;
}
