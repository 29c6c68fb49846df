// The LIST command: the values of listed variables over the command sample, six
// variables to a block.
#pragma once

#include <span>

#include "engine/data/command_support.h"

namespace qorv::data {

/// Variables in one block of the listing and of the statistics table.
inline constexpr int kColumnsPerBlock = 6;

/// `LISTVALUES`: a new results page listing observations first..last of the workspace
/// variables numbered in `variables`. Each block of up to six variables has a heading line
/// ("OBS." and the names centred over their columns) and one line per observation: its
/// label in columns 2-8, then the values as 9-column fields in columns 11-19, 21-29, ...,
/// 61-69 ("*NONE*" for the missing value); a blank line separates the blocks. Returns
/// kCommandBadArguments (nothing written) when a variable or the sample lies outside the
/// data set. Cost: O(variables · observations).
CommandStatus LISTVALUES(std::span<const int> variables, int first, int last);

}  // namespace qorv::data
