// The engine's only door to the dialog library: every question, message, results page,
// graph and busy notice goes through these wrappers.
#pragma once

#include <string_view>

namespace qorv::core {

/// Shows the busy state (hourglass) with `text`.
void start_calc(std::string_view text);
/// Ends the busy state.
void stop_calc();

}  // namespace qorv::core
