#include "engine/core/num/packed_index.h"

#include "engine/core/num/num_detail.h"
#include "shared/fixed_text.h"

namespace qorv::core {

int NAMEPOS(std::string_view name, std::string_view names, int width, int n) {
  const std::string_view wanted = fixed_text::trim_right(name);
  if (wanted == "Z@Q@G@") return n + 1;
  if (n <= 0) return 0;
  num_detail::require(width > 0 && names.size() >= static_cast<std::size_t>(n) * width,
                      "NAMEPOS: the name list is shorter than n names");
  for (int i = 0; i < n; ++i) {
    const auto item = names.substr(static_cast<std::size_t>(i) * width, static_cast<std::size_t>(width));
    if (fixed_text::trim_right(item) == wanted) return i + 1;
  }
  return 0;
}

}  // namespace qorv::core
