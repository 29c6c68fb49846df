// Adding the variables of a second ZVD data file to the workspace's data set: the Data
// Processing Menu's "Add a special Zelvorin file saved previously to the current data set".
#pragma once

#include <optional>
#include <string_view>

#include "engine/data/data_set.h"

namespace qorv::data {

/// Texts the user sees.
namespace add_messages {
inline constexpr std::string_view kReading = "Reading data, please wait... ";
inline constexpr std::string_view kCommonPrefix = " Name";
inline constexpr std::string_view kCommonSuffix = "is common to both data sets, data not added!";
}  // namespace add_messages

/// The workspace's data set with the variables of `added` behind its own, over the union
/// of both spans (the earlier start, the later end; the missing code where a set has no
/// observation), or empty after telling the user why not: another frequency (message-file
/// lines 58 to 61), a joined set beyond 3100 observations, MAXVARS variables or 124000
/// values (lines 52 to 54), a name of `added` that is invalid or repeated within it (lines
/// 78 to 81), or a name of both sets (" Name NAME is common to both data sets, data not
/// added!"). The workspace is not touched. Cost O(joined values + names^2).
std::optional<DataSet> joined_data_set(const DataSet& added);

/// `ADDDATAFILE`: asks a ZVD file (character setting 1 when it is set, else the open dialog), reads it
/// through the shared codec (an unreadable or impossible file refused with its message),
/// and installs the joined data set: NOBS, NVARS, MAXVARS and the start follow it, slots
/// 4, 8, 7, 12, 13, 14 and the sample slots 21, 22 describe it, and the estimation sample
/// and the command range become the whole of it. Any refusal or cancel leaves the
/// workspace and the slots as they were.
void ADDDATAFILE();

}  // namespace qorv::data
