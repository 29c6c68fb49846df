// Restriction texts of all four kinds: whatever the text, it is refused or read into
// finite rows and constants whose count lies within the kind's bounds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/diagnostics/restriction_text.h"

using namespace qorv::diagnostics;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  RestrictionSizes sizes;
  sizes.kind = static_cast<RestrictionKind>(1 + data[0] % 4);
  sizes.m = 1 + (data[1] >> 4) % 5;
  sizes.r = 1 + (data[1] & 3);
  sizes.phase = 1 + ((data[0] >> 2) & 1);
  sizes.choice = (data[0] >> 3) % 7;
  sizes.regressors = {sizes.m, sizes.r, 1};
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
  const RestrictionParse p = parse_restrictions(text, sizes);
  if (p.outcome != RestrictionOutcome::kAccepted) return 0;
  const RestrictionBounds bounds = restriction_bounds(sizes);
  if (p.k < bounds.least || p.k > bounds.most || p.n != restriction_parameter_count(sizes)) std::abort();
  const bool numbers = sizes.kind == RestrictionKind::kFixedVectors;
  const std::size_t cells = static_cast<std::size_t>(p.k) * static_cast<std::size_t>(numbers ? sizes.m : p.n);
  if (p.matrix.size() != cells || p.constants.size() != (numbers ? 0u : static_cast<std::size_t>(p.k))) std::abort();
  for (const double x : p.matrix)
    if (!std::isfinite(x)) std::abort();
  for (const double x : p.constants)
    if (!std::isfinite(x)) std::abort();
  return 0;
}
