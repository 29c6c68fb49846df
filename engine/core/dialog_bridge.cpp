#include "engine/core/dialog_bridge.h"

#include <cstdint>
#include <string>

#include "shared/pravel_api.h"

namespace qorv::core {

void start_calc(std::string_view text) {
  const std::string buffer(text);
  const auto len = static_cast<int16_t>(buffer.size());
  StartCalcP(&len, buffer.data());
}

void stop_calc() { StopCalcP(); }

}  // namespace qorv::core
