// ZVD data files: a file is refused with a message, or its data set is written and read
// back unchanged.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "shared/zvd_file.h"

namespace {

bool same_shape(const zvd::Shape& a, const zvd::Shape& b) {
  return a.nobs == b.nobs && a.nvars == b.nvars && a.frequency == b.frequency &&
         a.periods_per_year == b.periods_per_year && a.start_year == b.start_year &&
         a.start_period == b.start_period && a.century_base == b.century_base;
}

bool same(const zvd::DataSet& a, const zvd::DataSet& b) {
  return same_shape(a.shape, b.shape) && a.names == b.names && a.descriptions == b.descriptions &&
         a.data.size() == b.data.size() &&
         std::memcmp(a.data.data(), b.data.data(), a.data.size() * sizeof(double)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const zvd::ReadResult result = zvd::decode({data, size});
  const zvd::DataSet& set = result.data_set;
  if (result.error != zvd::ReadError::kNone) {
    if (zvd::read_error_message(result.error).empty() || !set.names.empty() || !set.data.empty())
      std::abort();
    return 0;
  }
  if (zvd::check(set) != zvd::ReadError::kNone) std::abort();
  // A start the program can date: a full year of at most four digits.
  const int64_t full_year = int64_t{set.shape.century_base} + set.shape.start_year;
  if (full_year < 0 || full_year > zvd::kLastYear) std::abort();
  for (const double v : set.data)
    if (!std::isfinite(v)) std::abort();
  const std::vector<unsigned char> bytes = zvd::encode(set);
  const zvd::ReadResult again = zvd::decode(bytes);
  if (again.error != zvd::ReadError::kNone || !again.long_descriptions || !same(set, again.data_set))
    std::abort();
  if (zvd::encode(again.data_set) != bytes) std::abort();
  return 0;
}
