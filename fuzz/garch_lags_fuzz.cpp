// The GARCH lag-set text "AR set ; MA set": an accepted text holds two ascending sets of
// lags 1..99 (a "0" set is empty), and a refused one holds none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "engine/single/garch_estimate.h"

using namespace qorv::single;

namespace {

bool proper(const std::vector<int>& lags) {
  for (std::size_t i = 0; i < lags.size(); ++i)
    if (lags[i] < 1 || lags[i] > 99 || (i > 0 && lags[i] <= lags[i - 1])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const GarchLagSets sets = parse_garch_lags(text);
  if (!sets.valid && (!sets.ar.empty() || !sets.ma.empty())) std::abort();
  if (sets.valid && (text.find(';') == std::string_view::npos || !proper(sets.ar) || !proper(sets.ma))) std::abort();
  return 0;
}
