// Sample texts typed by the user ("1975M10 1985M12"), read for every frequency: an
// accepted pair always lies inside the range in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/core/sample_period.h"
#include "engine/data/name_utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (int frequency = 1; frequency <= 5; ++frequency) {
    const auto start = obs_calendar::start_from_fields(frequency, frequency == 2 ? 1960 : 60, 1, 1900);
    const auto pair = qorv::core::read_sample(text, 3, 200, start);
    if (pair && (pair->start < 3 || pair->start > pair->end || pair->end > 200)) std::abort();
  }
  // The signed shift after a name and a list of signed numbers read from the same text.
  const int k = qorv::data::SIGNEDOFFSET(text, "Y");
  if (k < -999999999 || k > 999999999) std::abort();
  const auto numbers = qorv::data::READSIGNEDNUMBERS(text, 4);
  if (numbers.values.size() > 4) std::abort();
  return 0;
}
