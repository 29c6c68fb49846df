// The size and start of a new data set: asked of the user (keyboard and ASCII data), or
// taken over from the data set the main program registered (a ZVD file it read).
#pragma once

#include <optional>
#include <string_view>

#include "shared/obs_calendar.h"

namespace qorv::data {

/// Texts the user sees.
namespace shape_messages {
inline constexpr std::string_view kObservationsPrompt = "Input the number of observations";
inline constexpr std::string_view kFinishBeforeStart = " Finish less than start!";
inline constexpr std::string_view kTooManyObservations = " Too many observations. A max of 3100 allowed!";
inline constexpr std::string_view kDatesPrompt = "Type the start and finish dates of your data";
inline constexpr std::string_view kDatesQuit = "(Q to cancel)";
inline constexpr std::string_view kBadNames =
    "There are invalid or duplicate names in your Zelvorin file! It cannot be read. This has "
    "arisen because you have used a converter which has incorrectly allowed invalid or duplicate "
    "names. The problem was encountered when ";
inline constexpr std::string_view kBadNamesEnd = " was read!";
inline constexpr std::string_view kBlankName = "Blank name";
}  // namespace shape_messages

/// Help context of the number-of-observations question.
inline constexpr int kObservationsHelp = 1017;

/// The size and start of a new data set.
struct NewDataShape {
  int nobs = 0;                  ///< observations, 1..3100
  obs_calendar::DataStart start; ///< frequency and start, in the workspace's convention
};

/// The observations of a new data set of `frequency` (1..5). Undated: the count is slot 8
/// when set (used once), else asked ("Input the number of observations", help 1017, no
/// Cancel button); a count below 1 beeps and asks again. Dated: the start and finish
/// labels are character setting 2 when it is not blank (used once, then blanked), else
/// asked; "Q" or a cancelled question cancels, an empty answer asks again, and anything
/// but two labels of the frequency beeps and asks again. A finish before the start, or
/// more than 3100 observations, gives its error box and asks again. Empty on cancel.
std::optional<NewDataShape> ASKOBSERVATIONS(int frequency);

/// Takes over the data set the main program registered: the shape from slots 8, 4, 7, 12,
/// 13 and 14 (slot 20 follows from the frequency), the names and descriptions and values
/// as registered. A shape beyond the workspace (no observations, more than 3100, more
/// than 200 variables or 124000 values, an unknown frequency) shows lines 52 to 54 of the
/// message file; an invalid name, or a name that occurs twice, shows the box naming it
/// ("Blank name" for a blank one). On refusal the engine's data set is left as it was and
/// the result is false; on success the names are stored left-justified in upper case and
/// the shape and MAXVARS are set for the new data set.
/// Cost O(NVARS^2) name comparisons.
bool CHECKVARNAMES();

}  // namespace qorv::data
