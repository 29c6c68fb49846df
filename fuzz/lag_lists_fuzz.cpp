// Lag lists and lag ranges typed by a user: no text may store more lags than allowed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/core/lag_lists.h"

using namespace qorv::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const int mode : {kAscendingLags, kAnyLags}) {
    const LagList r = PARSELAGS(mode, text, 30);
    if (r.lags.size() > (mode == kAscendingLags ? 12u : 30u)) std::abort();
    for (std::size_t i = 1; mode == kAscendingLags && i < r.lags.size(); ++i)
      if (r.lags[i] <= r.lags[i - 1]) std::abort();
  }
  const LagList range = PARSELAGRANGE(102, text);
  if (range.lags.size() > 102 || (range.error && !range.lags.empty())) std::abort();
  return 0;
}
