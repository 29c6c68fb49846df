#include "engine/data/statistics_commands.h"

#include <string>
#include <string_view>

#include "engine/core/dialog_bridge.h"

namespace qorv::data {

namespace {

void not_available(std::string_view command) {
  core::SHOWOK(core::kInformation, core::kNoHelp,
               "The " + std::string(command) + " command is not available in this version of Zelvorin.");
}

}  // namespace

void list_command(std::span<const int>, int, int) { not_available("LIST"); }

void cor_command(std::span<const int>, int, int, int) { not_available("COR"); }

void spectrum_command(int, int, int, int) { not_available("SPECTRUM"); }

void adf_command(int, int, int, int) { not_available("ADF"); }

}  // namespace qorv::data
