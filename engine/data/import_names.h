// The name rule and the observation-label reader as the data importers use them.
#pragma once

#include <string>
#include <string_view>

namespace qorv::data {

/// Checks `name` (already trimmed) against the engine's variable-name rule and upper-cases
/// it in place when it passes: 1 to 9 characters, a letter or "_" first, then letters,
/// digits, "_" or "."; not a reserved word.
bool check_variable_name(std::string& name);

/// Reads an observation label of half-yearly (code 3), quarterly (4) or monthly (5) data:
/// a 2- or 4-digit year, the letter H, Q or M in either case, the period. A 2-digit year
/// is 19yy (not 00). True on success with the century base, two-digit year and period.
bool parse_period_label(std::string_view label, int code, int& century, int& year,
                        int& period);

}  // namespace qorv::data
